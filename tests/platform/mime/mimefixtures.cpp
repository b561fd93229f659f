#include "mimefixtures.h"

#include "platform/system/platformlog.h"

#include <QFile>

QByteArray FixtureBytes(const QString& name) {
    QFile file(QStringLiteral(ORLIX_FIXTURES "/mime/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray("missing fixture");
    }
    return file.readAll();
}

CapturedPlatformLog::CapturedPlatformLog() {
    SetPlatformLogHandler([this](const QString& text, int) { m_lines += text; });
}

CapturedPlatformLog::~CapturedPlatformLog() {
    SetPlatformLogHandler(nullptr);
}

bool CapturedPlatformLog::Contains(const QString& part) const {
    for (const QString& line : m_lines) {
        if (line.contains(part)) {
            return true;
        }
    }
    return false;
}
