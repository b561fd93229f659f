// How long a playout script line of 100 KiB takes from the link's call to shown in the script
// view: the engine's load ended and the script font applied (both come with LoadFinished).
#include "benchmain.h"

#include "core/profile/cocsettings.h"
#include "mainwindow/panes/scriptspane.h"
#include "platform/system/fontstyle.h"
#include "platform/web/webengineprelude.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidgetItem>

#include <benchmark/benchmark.h>

#include <memory>

namespace {
QString scriptLine(int variant) {
    QString text;
    int n = 0;
    while (text.size() < 100 * 1024) {
        text += QStringLiteral("Item %1.%2: and now, after the news at the top of the hour, the "
                               "weather for the region, read slowly.\r\n")
                    .arg(variant)
                    .arg(n++);
    }
    return text;
}

void BM_PlayoutScriptLineToShown(benchmark::State& state) {
    QTemporaryDir folder;
    cOCSettings settings;
    settings.SetScriptPath(folder.path());
    if (auto font = settings.ScriptFont()) {
        *font = FontStyle{QStringLiteral("DejaVu Sans"), 5, 0x000000, 1, 0, 0, 0};
    }
    QWidget host;
    host.resize(1000, 700);
    ScriptsPane::Services services;
    services.settings = [&] { return &settings; };
    auto* pane = new ScriptsPane(&host, services);
    pane->wbScripts->setGeometry(0, 0, 800, 600);
    auto* log = new QTreeWidgetItem(pane->treeScripts, QStringList{QStringLiteral("Log Scripts")});
    log->setData(0, Qt::UserRole, QStringLiteral("LOGSCRIPT"));
    pane->treeScripts->setCurrentItem(log);
    host.show();
    // Two texts in turn: the same text twice in a row is not shown again.
    const QString texts[2] = {scriptLine(1), scriptLine(2)};
    int turn = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        bool shown = false;
        const auto done =
            QObject::connect(pane->wbScripts, &ScriptView::LoadFinished, &loop, [&](bool ok) {
                shown = ok;
                loop.quit();
            });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        pane->ShowScript(texts[turn++ % 2], QString(), true);
        loop.exec();
        QObject::disconnect(done);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        if (!shown) {
            state.SkipWithError("the script was not shown");
            return;
        }
    }
}
BENCHMARK(BM_PlayoutScriptLineToShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PrepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
