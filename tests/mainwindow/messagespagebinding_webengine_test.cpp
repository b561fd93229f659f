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
#include <QLabel>
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
        listTemplate = db.TemplatesPath() + QStringLiteral("/Messages-List.htm");
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

    // A message stored by another computer, 30 minutes old; its reference joins stored.
    void storeElsewhere() {
        OrlixDatabase db;
        db.SetChangeWatch(0, 0);
        ASSERT_EQ(db.OpenDatabase(folder("db")), 0);
        auto m = std::make_shared<OrlixMessage>();
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("Bob Listener <bob@example.org>"),
                                            QStringLiteral("studio@station.example"),
                                            QStringLiteral("Half an hour ago"),
                                            QStringLiteral("Hello"), QDateTime()));
        m->SetKind(OrlixMessage::KindEmail);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime::currentDateTimeUtc().addSecs(-1800));
        bool ok = false;
        db.StoreMessage(*m, ok);
        ASSERT_TRUE(ok);
        stored << m->Reference();
        std::sort(stored.begin(), stored.end());
    }
    // What stands in the page's place, when anything does.
    QString notice() const {
        return window->lblMessageListNotice->isVisible() ? window->lblMessageListNotice->text()
                                                         : QString();
    }

    QList<qint32> stored;
    QString listTemplate;
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

// A page that cannot be made says why in its place, and each build tries again.
TEST_F(WebEngineMessagesPageBinding, APageThatCannotBeMadeSaysWhyInItsPlaceUntilItCanBe) {
    QFile original(listTemplate);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();
    const QString temp = Program::Instance().DataFolder() + QStringLiteral("/Temp");
    const QString noTemplate = QStringLiteral("The message list cannot be shown: the template '") +
                               listTemplate +
                               QStringLiteral("' is missing, empty or cannot be read.");
    const auto putBack = [&] {
        QDir().rmdir(listTemplate);
        QFile f(listTemplate);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    struct Case {
        const char* name;
        std::function<void()> spoil;
        QString notice;
        QString logged;
        std::function<void()> mend;
    };
    const Case cases[] = {
        {"removed", [&] { QFile::remove(listTemplate); }, noTemplate,
         QStringLiteral("The message list template '") + listTemplate +
             QStringLiteral("' is missing"),
         putBack},
        {"0 bytes", [&] { QFile(listTemplate).resize(0); }, noTemplate,
         QStringLiteral("The message list template '") + listTemplate +
             QStringLiteral("' is empty"),
         putBack},
        {"a folder in its place",
         [&] {
             QFile::remove(listTemplate);
             QDir().mkpath(listTemplate);
         },
         noTemplate,
         QStringLiteral("The message list template '") + listTemplate +
             QStringLiteral("' cannot be read"),
         putBack},
        {"Temp a regular file",
         [&] {
             QDir(temp).removeRecursively();
             QFile f(temp);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         QStringLiteral("The message list cannot be shown: its page cannot be written in the "
                        "folder '") +
             temp + QStringLiteral("'."),
         QStringLiteral("The message list could not be written to '") + temp +
             QStringLiteral("/Messages-List.htm'"),
         [&] { QFile::remove(temp); }},
    };
    storeUserSetting(QStringLiteral("admin"), QStringLiteral("SelectedTab"),
                     QStringLiteral("Messages"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin /DEBUG=NORMAL")));
        showWindow();
        EXPECT_TRUE(WaitFor([&] { return notice() == c.notice; }, 5000)) << notice().toStdString();
        EXPECT_FALSE(window->ctlMessageBrowser->isVisible());
        // Each build tries again, and tells its cause once.
        storeElsewhere();
        EXPECT_FALSE(WaitFor([&] { return notice() != c.notice; }, 2500));
        EXPECT_EQ(logTexts().count(c.logged), 1)
            << logTexts().join(QLatin1Char('\n')).toStdString();

        c.mend();
        storeElsewhere();
        EXPECT_TRUE(listsBoth()) << "listed: " << listed().size();
        EXPECT_TRUE(notice().isEmpty());
        EXPECT_TRUE(window->ctlMessageBrowser->isVisible());
        restart();
    }
}
