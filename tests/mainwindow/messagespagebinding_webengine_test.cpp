#include "mainwindowfixture.h"

#include "mainwindow/messagetickboxes.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/ui/upanel3.h"
#include "platform/web/documentwalk.h"
#include "platform/web/uwebbrowser.h"
#include "support/scriptedwindow.h"
#include "support/waitfor.h"

#include <QDialog>
#include <QMetaObject>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <algorithm>
#include <functional>
#include <optional>

namespace {
// The program settings dialog left with Cancel.
class CancelledSettings : public QDialog {
public:
    explicit CancelledSettings(QWidget* owner) : QDialog(owner) {}

protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        QMetaObject::invokeMethod(
            this, [this] { reject(); }, Qt::QueuedConnection);
    }
};

// The Inbox holds two messages within the shortest time window, 1 and 3 hours old; the user's
// stored tab is "Messages". Whatever road binds the page, it must list both.
class WebEngineMessagesPageBinding : public MainWindowFixture {
public:
    void SetUp() override {
        MainWindowFixture::SetUp();
        seedProfile();
        addUser(QStringLiteral("admin"));
        QDir().mkpath(folder("db"));
        OrlixDatabase db;
        db.SetChangeWatch(0, 0);
        ASSERT_EQ(db.OpenDatabase(folder("db")), 0);
        for (const qint64 hours : {1, 3}) {
            auto m = std::make_shared<OrlixMessage>();
            m->SetMessageBytes(BuildTextMessage(QStringLiteral("Ann Listener <ann@example.org>"),
                                                QStringLiteral("studio@station.example"),
                                                QStringLiteral("%1 hours ago").arg(hours),
                                                QStringLiteral("Hello"), QDateTime()));
            m->SetKind(OrlixMessage::KindEmail);
            m->SetFolder(OrlixDatabase::kInboxFolder);
            m->SetReceivedDate(QDateTime::currentDateTimeUtc().addSecs(-hours * 3600 + 60));
            bool ok = false;
            db.StoreMessage(*m, ok);
            ASSERT_TRUE(ok);
            stored << m->Reference();
        }
        std::sort(stored.begin(), stored.end());
    }

    // The references the shown page's tick boxes name, in order.
    QList<qint32> listed() {
        std::optional<QList<DocumentInput>> got;
        QObject scope;
        window->ctlMessageBrowser->ReadInputs(&scope,
                                              [&](const QList<DocumentInput>& in) { got = in; });
        WaitFor([&] { return got.has_value(); }, 2000);
        QList<qint32> out;
        for (const DocumentInput& in : got.value_or(QList<DocumentInput>())) {
            if (const std::optional<qint32> reference = TickBoxReference(in.name)) {
                out << *reference;
            }
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    bool listsBoth() {
        return WaitFor([&] { return listed() == stored; }, 10000);
    }
    void showWindow() {
        window->resize(1000, 700);
        window->show();
    }
    void loginByDialog() {
        loginAnswer = QStringLiteral("admin");
        window->mnuLogin->trigger();
    }
    void restart() {
        MainWindowFixture::TearDown();
        loginDialogs = 0;
    }

    QList<qint32> stored;
};

struct Road {
    const char* name;
    QString tab;
    qint32 filter; // minutes, as stored for the user
    bool byUserOption;
    // What the user does once the window is up; the page must list both after it.
    std::function<void(WebEngineMessagesPageBinding&, frmMain&)> then;
};
} // namespace

TEST_F(WebEngineMessagesPageBinding, EveryRoadThatBindsThePageListsTheMessages) {
    const auto settings = [](bool ok) {
        return [ok](WebEngineMessagesPageBinding&, frmMain& w) {
            if (ok) {
                Program::Instance().Windows().Register(WindowKind::Settings, ScriptedWindowMaker());
            } else {
                Program::Instance().Windows().Register(WindowKind::Settings, [](QWidget* owner) {
                    return new CancelledSettings(owner);
                });
            }
            w.mnuProgramSettings->trigger();
            w.optMessages->SetValue(1);
            w.optMessages_Click();
        };
    };
    const Road roads[] = {
        {"the /User option", QStringLiteral("Messages"), 240, true, {}},
        {"the login dialog", QStringLiteral("Messages"), 240, false, {}},
        {"all messages", QStringLiteral("Messages"), -1, true, {}},
        {"logout, then login", QStringLiteral("Messages"), 240, true,
         [](WebEngineMessagesPageBinding& t, frmMain& w) {
             w.mnuLogout->trigger();
             t.loginByDialog();
         }},
        {"program settings, OK", QStringLiteral("Messages"), 240, true, settings(true)},
        {"program settings, Cancel", QStringLiteral("Messages"), 240, true, settings(false)},
        {"program settings from the contacts tab", QStringLiteral("CONTACTS"), 240, true,
         settings(true)},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        storeUserSetting(QStringLiteral("admin"), QStringLiteral("SelectedTab"), road.tab);
        storeUserSetting(QStringLiteral("admin"), QStringLiteral("MessageListFilter"), road.filter);
        loginAnswer = road.byUserOption ? QString() : QStringLiteral("admin");
        ASSERT_TRUE(start(road.byUserOption
                              ? QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")
                              : QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        showWindow();
        if (road.then) {
            if (road.tab == QLatin1String("Messages")) {
                ASSERT_TRUE(listsBoth()) << "before";
            }
            road.then(*this, *window);
        }
        EXPECT_TRUE(listsBoth()) << "listed: " << listed().size();
        restart();
    }
}

// Another computer holds the file locked all through the start-up: the window says so once,
// and once the lock ends it opens the database itself and shows what it holds.
TEST_F(WebEngineMessagesPageBinding, ADatabaseLockedAtStartUpIsOpenedOnceTheLockEnds) {
    qint32 prize = 0;
    {
        OrlixDatabase db;
        db.SetChangeWatch(0, 0);
        ASSERT_EQ(db.OpenDatabase(folder("db")), 0);
        auto p = db.NewPrize();
        p->SetTitle(QStringLiteral("Concert tickets"));
        p->SetNumberSupplied(2);
        bool ok = false;
        db.StorePrize(*p, ok);
        ASSERT_TRUE(ok);
        prize = p->Reference();
    }
    storeUserSetting(QStringLiteral("admin"), QStringLiteral("SelectedTab"),
                     QStringLiteral("Messages"));
    {
        QSqlDatabase locker =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(folder("db") + QLatin1Char('/') +
                               QLatin1String(MessagesStorage::kFileName));
        ASSERT_TRUE(locker.open());
        QSqlQuery hold(locker);
        ASSERT_TRUE(hold.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        beforeLoad = [](frmMain& w) { w.SetDatabaseTiming(100, 200); };
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        showWindow();
        // A few retries meet the lock, and say nothing.
        EXPECT_FALSE(WaitFor(
            [&] { return TestMessageBoxes().shown().size() > 1 || window->Database() != nullptr; },
            700));
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
        EXPECT_EQ(TestMessageBoxes().shown().front().text,
                  QStringLiteral("The messages database in '") + folder("db") +
                      QStringLiteral("' could not be opened: another computer kept it locked "
                                     "for longer than the program waits. The program tries "
                                     "again every 10 seconds."));
        EXPECT_EQ(window->Database(), nullptr);
        ASSERT_TRUE(hold.exec(QStringLiteral("ROLLBACK")));
        locker.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    EXPECT_TRUE(listsBoth()) << "listed: " << listed().size();
    EXPECT_TRUE(WaitFor([&] { return window->ctlPrizes->ItemOf(prize) != nullptr; }, 5000));
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1u);
}
