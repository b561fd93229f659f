#include "startupprobe.h"

#include "mainwindow/frmmain.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webbrowser.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace {
// The process's resident memory in KiB, 0 where the system does not tell it.
qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

void writeMoment(const QString& path, frmMain* window) {
    const qint64 moment = QDateTime::currentMSecsSinceEpoch();
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(QByteArray::number(moment) + ' ' + QByteArray::number(residentKiB()));
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
