#include "platform/system/processmemory.h"

#include <QByteArray>
#include <QFile>

namespace {
qint64 kilobytesOf(const QByteArray& line) {
    // "VmRSS:	   12345 kB"
    const QByteArray value = line.mid(line.indexOf(':') + 1).trimmed();
    const qsizetype space = value.indexOf(' ');
    bool ok = false;
    const qint64 kb = value.left(space < 0 ? value.size() : space).toLongLong(&ok);
    return ok ? kb : 0;
}
} // namespace

bool ReadProcessMemory(qint64& workingSet, qint64& privateBytes) {
    workingSet = privateBytes = 0;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    bool seen = false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            workingSet = kilobytesOf(line) * 1024;
            seen = true;
        } else if (line.startsWith("RssAnon:") || line.startsWith("VmSwap:")) {
            // Private memory, in memory or swapped out: what the process itself asked for.
            privateBytes += kilobytesOf(line) * 1024;
        }
    }
    return seen;
}
