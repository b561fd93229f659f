#include "platform/system/appinfo.h"

#include "platform/system/appinfo_config.h"

#include <QCoreApplication>

namespace {
QString& pathOverride() {
    static QString path;
    return path;
}
} // namespace

QString AppInfo::Title() {
    return QStringLiteral(ORLIX_APP_TITLE);
}
QString AppInfo::ProductName() {
    return QStringLiteral(ORLIX_PRODUCT_NAME);
}
QString AppInfo::EXEName() {
    return QStringLiteral(ORLIX_EXE_NAME);
}
QString AppInfo::LegalCopyright() {
    return QStringLiteral(ORLIX_LEGAL_COPYRIGHT);
}
QString AppInfo::MakerWebsite() {
    return QStringLiteral(ORLIX_MAKER_WEBSITE);
}
QString AppInfo::SupportEmail() {
    return QStringLiteral(ORLIX_SUPPORT_EMAIL);
}

int AppInfo::Major() {
    return ORLIX_VERSION_MAJOR;
}
int AppInfo::Minor() {
    return ORLIX_VERSION_MINOR;
}
int AppInfo::Revision() {
    return ORLIX_VERSION_REVISION;
}

QString AppInfo::Path() {
    if (!pathOverride().isEmpty()) {
        return pathOverride();
    }
    if (QCoreApplication::instance() != nullptr) {
        return QCoreApplication::applicationDirPath();
    }
    return {};
}

void AppInfo::SetPath(const QString& folder) {
    pathOverride() = folder;
}
