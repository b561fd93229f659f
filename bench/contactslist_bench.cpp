// The contacts list over a station's directory, offscreen: each key of a typed search until the
// list is painted, End and the scroll bar taken anywhere, and the chooser's list opened and
// reactivated (a Refresh and a paint each).
// Sizes: --contacts=N (100,000 when not given). --keep=DIR keeps the directory file in DIR/N and
// reuses it on later runs.
#include "benchcontacts.h"
#include "benchmain.h"
#include "benchsizes.h"

#include "platform/directory/controls/contactlistmodel.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/kvdirectory.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {
long long gContacts = 100000;
QString gKeep;

QString takeText(int& argc, char** argv, const char* name) {
    const QByteArray prefix = QByteArray("--") + name + '=';
    QString value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (QByteArray(argv[i]).startsWith(prefix)) {
            value = QString::fromLocal8Bit(argv[i] + prefix.size());
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}

class Directory {
public:
    static Directory& Get() {
        static Directory d;
        return d;
    }
    KVDirectory* Client() { return directory_.get(); }

private:
    Directory() {
        const QString home =
            gKeep.isEmpty() ? home_.path() : gKeep + QStringLiteral("/%1").arg(gContacts);
        QDir().mkpath(home);
        qputenv("ORLIX_HOME", QFile::encodeName(home));
        if (!BenchContacts::Fill(KVDirectory::DefaultFilePath(), gContacts)) {
            std::abort();
        }
        directory_ = std::make_unique<KVDirectory>();
        bool failed = true;
        directory_->OpenDefault(false, failed);
        if (failed) {
            std::abort();
        }
    }
    QTemporaryDir home_;
    std::unique_ptr<KVDirectory> directory_;
};

// A list as the contacts pane shows it, 600 pixels tall, painted.
std::unique_ptr<uContactsList> shownList() {
    auto list = std::make_unique<uContactsList>();
    list->resize(400, 600);
    list->SetDirectory(Directory::Get().Client());
    list->show();
    QApplication::processEvents();
    list->lstContacts()->viewport()->repaint();
    return list;
}

// Until what the list shows is painted: the queued reload, then the paint.
void paint(uContactsList& list) {
    QApplication::processEvents();
    list.lstContacts()->viewport()->repaint();
}

// Each key of a term typed into the search box, timed one by one to the list painted. With
// selected, the contact the whole list shows last is selected first, as a presenter's list
// usually has one: each key then finds it again in the new list.
void typedSearch(benchmark::State& state, const QString& term, bool selected = false) {
    auto list = shownList();
    if (selected) {
        const int last = list->Model()->rowCount() - 1;
        list->SetSelectedReference(list->Model()->ReferenceAt(last));
        paint(*list);
    }
    list->txtSearch()->setFocus();
    // Each iteration is the term's slowest key: every key has the same goal.
    for (auto _ : state) {
        list->txtSearch()->clear();
        paint(*list);
        qint64 slowest = 0;
        for (const QChar c : term) {
            QElapsedTimer t;
            t.start();
            QTest::keyClicks(list->txtSearch(), QString(c));
            paint(*list);
            slowest = std::max(slowest, t.nsecsElapsed());
        }
        state.SetIterationTime(double(slowest) / 1e9);
    }
    state.counters["rows"] = list->Model()->rowCount();
}

void BM_TypedSearchNameAndSurname(benchmark::State& state) {
    typedSearch(state, QStringLiteral("9 Wright"));
}
BENCHMARK(BM_TypedSearchNameAndSurname)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TypedSearchThreeLetters(benchmark::State& state) {
    typedSearch(state, QStringLiteral("ene"));
}
BENCHMARK(BM_TypedSearchThreeLetters)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TypedSearchOneAndTwoLetters(benchmark::State& state) {
    typedSearch(state, QStringLiteral("99"));
}
BENCHMARK(BM_TypedSearchOneAndTwoLetters)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TypedSearchWithTheLastContactSelected(benchmark::State& state) {
    typedSearch(state, QStringLiteral("99 Wri"), true);
}
BENCHMARK(BM_TypedSearchWithTheLastContactSelected)->UseManualTime()->Unit(benchmark::kMillisecond);

// End in the list, from the top, to the last contact painted.
void BM_EndKey(benchmark::State& state) {
    auto list = shownList();
    QListView* view = list->lstContacts();
    view->setFocus();
    for (auto _ : state) {
        view->setCurrentIndex(list->Model()->index(0));
        view->scrollToTop();
        list->Refresh(); // nothing kept from the last round
        paint(*list);
        QElapsedTimer t;
        t.start();
        QTest::keyClick(view, Qt::Key_End);
        paint(*list);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_EndKey)->UseManualTime()->Unit(benchmark::kMillisecond);

// The scroll bar taken to a tenth, a half, nine tenths of the list, to the rows painted.
void BM_ScrollBarAnywhere(benchmark::State& state) {
    auto list = shownList();
    QScrollBar* bar = list->lstContacts()->verticalScrollBar();
    int i = 0;
    for (auto _ : state) {
        list->Refresh();
        paint(*list);
        const int to = int(qint64(bar->maximum()) * (1 + 4 * (i++ % 3)) / 10);
        QElapsedTimer t;
        t.start();
        bar->setValue(to);
        paint(*list);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ScrollBarAnywhere)->UseManualTime()->Unit(benchmark::kMillisecond);

// The chooser's list: made, bound without AutoUpdate and shown (its opening), then a Refresh
// and a paint (each activation).
void BM_ChooserOpened(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        uContactsList list;
        list.resize(385, 509);
        list.SetAutoUpdate(false);
        list.SetDirectory(Directory::Get().Client());
        list.Refresh();
        list.show();
        paint(list);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ChooserOpened)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ChooserReactivated(benchmark::State& state) {
    uContactsList list;
    list.resize(385, 509);
    list.SetAutoUpdate(false);
    list.SetDirectory(Directory::Get().Client());
    list.Refresh();
    list.show();
    paint(list);
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        list.Refresh();
        paint(list);
        state.SetIterationTime(double(t.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_ChooserReactivated)->UseManualTime()->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv) {
    gContacts = TakeBenchSize(argc, argv, "contacts", gContacts);
    gKeep = takeText(argc, argv, "keep");
    benchmark::AddCustomContext("contacts", std::to_string(gContacts));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
