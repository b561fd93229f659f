#pragma once

#include <QString>

// The name of the operating-system user running the program (the account an automatic
// login and the "/User" switch trust). Tests set an override; "" clears it.
QString SystemUserName();
void SetSystemUserNameOverride(const QString& name);
