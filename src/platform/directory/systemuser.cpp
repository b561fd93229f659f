#include "platform/directory/systemuser.h"

#include <pwd.h>
#include <unistd.h>

namespace {
QString& overrideName() {
    static QString name;
    return name;
}
} // namespace

QString SystemUserName() {
    if (!overrideName().isEmpty()) {
        return overrideName();
    }
    // The account database, not $USER, which any caller of the program can set.
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name) {
        return QString::fromLocal8Bit(pw->pw_name);
    }
    return QString();
}

void SetSystemUserNameOverride(const QString& name) {
    overrideName() = name;
}
