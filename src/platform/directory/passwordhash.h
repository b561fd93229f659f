#pragma once

#include "platform/directory/contactstore.h"

#include <QString>

// Passwords are kept only as salted PBKDF2-SHA256 hashes. An empty password means "no
// password": the stored hash is empty.
namespace PasswordHash {
inline constexpr int kIterations = 100000;

StoredPassword Make(const QString& password);
// True when the password is the stored one; an unset stored password accepts only "".
bool Verify(const QString& password, const StoredPassword& stored);
} // namespace PasswordHash
