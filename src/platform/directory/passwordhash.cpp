#include "platform/directory/passwordhash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace {
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kHashBytes);
}

// Compares in time that does not depend on where the first difference is.
bool sameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        diff |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    }
    return diff == 0;
}
} // namespace

namespace PasswordHash {
StoredPassword Make(const QString& password) {
    StoredPassword p;
    if (password.isEmpty()) {
        return p;
    }
    p.salt.resize(kSaltBytes);
    QRandomGenerator::system()->generate(p.salt.begin(), p.salt.end());
    p.iterations = kIterations;
    p.hash = derive(password, p.salt, p.iterations);
    return p;
}

bool Verify(const QString& password, const StoredPassword& stored) {
    if (!stored.IsSet()) {
        return password.isEmpty();
    }
    if (stored.iterations <= 0 || stored.salt.isEmpty()) {
        return false; // a damaged entry admits nobody
    }
    return sameBytes(derive(password, stored.salt, stored.iterations), stored.hash);
}
} // namespace PasswordHash
