#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The bytes of a fixture message in tests/fixtures/mime.
QByteArray FixtureBytes(const QString& name);

// Collects what the platform layer logs while it lives.
class CapturedPlatformLog {
public:
    CapturedPlatformLog();
    ~CapturedPlatformLog();
    const QStringList& Lines() const { return m_lines; }
    bool Contains(const QString& part) const;

private:
    QStringList m_lines;
};
