#include "startupprobe.h"

#include "mainwindow/frmmain.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webbrowser.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QTimer>

namespace {
void writeMoment(const QString& path, frmMain* window) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        f.write(QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
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
