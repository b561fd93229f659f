#include "startupprobe.h"

#include "mainwindow/frmmain.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webbrowser.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace {
struct Resident {
    qint64 total = 0;  // KiB
    qint64 engine = 0; // KiB of it in the web engine's own libraries
};

// The process's resident memory, 0 where the system does not tell it. The web engine's
// libraries are counted apart: once the engine has started, its code alone is about half of
// the process, and what the program itself holds would be lost in it.
Resident resident() {
    Resident r;
    QFile maps(QStringLiteral("/proc/self/smaps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return r;
    }
    bool inEngine = false;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        if (line.startsWith("Rss:")) {
            const qint64 kib = line.mid(4).trimmed().split(' ').value(0).toLongLong();
            r.total += kib;
            if (inEngine) {
                r.engine += kib;
            }
        } else if (!line.isEmpty() && line.indexOf(':') > line.indexOf(' ')) {
            // A mapping's own line: "start-end perms offset dev inode [path]".
            inEngine = line.contains("libQt6WebEngine");
        }
    }
    return r;
}

void writeMoment(const QString& path, frmMain* window) {
    const qint64 moment = QDateTime::currentMSecsSinceEpoch();
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const Resident r = resident();
        f.write(QByteArray::number(moment) + ' ' + QByteArray::number(r.total) + ' ' +
                QByteArray::number(r.engine));
    }
    if (window != nullptr) {
        window->close();
    }
}
} // namespace

void ArmStartupProbe(frmMain& window) {
    const QString path = qEnvironmentVariable("ORLIX_STARTUP_PROBE");
    if (path.isEmpty()) {
        return;
    }
    QPointer<frmMain> w(&window);
    const bool browser = qEnvironmentVariableIsSet("ORLIX_STARTUP_PROBE_BROWSER");
    // Queued, so the window's first paint has been handled.
    QTimer::singleShot(0, &window, [w, path, browser] {
        if (w == nullptr) {
            return;
        }
        if (!browser) {
            writeMoment(path, w);
            return;
        }
        w->ctlMessageBrowser->Navigate(QStringLiteral("about:blank"));
        WebBrowser* view = w->ctlMessageBrowser->Browser();
        if (view == nullptr) {
            writeMoment(path, w);
            return;
        }
        QObject::connect(view, &WebBrowser::LoadFinished, w,
                         [w, path](bool) { writeMoment(path, w); });
    });
}
