#include "platform/directory/directorycontact.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/talkbackexchange.h"
#include "platform/ui/utalkback.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
TEST(TalkbackExchangeTest, FileNamesKeepOnlySafeCharacters) {
    const struct {
        const char* computer;
        const char* user;
        const char* file;
    } cases[] = {
        {"studio-a", "ann", "studio-a-ann.talkback"},
        {"../../etc", "x/y", "....etc-xy.talkback"},
        {"Stúdio 1", "a_b.c", "Stdio1-a_b.c.talkback"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            TalkbackExchange::FileNameFor(QString::fromUtf8(c.computer), QString::fromUtf8(c.user)),
            QString::fromUtf8(c.file))
            << c.computer;
    }
    EXPECT_EQ(TalkbackExchange::FileNameFor(QString(100, QLatin1Char('a')), QStringLiteral("u")),
              QString(64, QLatin1Char('a')) + QStringLiteral(".talkback"));
}

TEST(TalkbackExchangeTest, LinesRoundTripAndBadOnesAreSkipped) {
    TalkbackLine line;
    line.TimeMs = 1765000000123;
    line.Writer = QStringLiteral("w1");
    line.Sequence = 7;
    line.Name = QStringLiteral("Ann \"<b>\"");
    line.Login = QStringLiteral("ann");
    line.Text = QString(600, QLatin1Char('x'));
    const QByteArray encoded = TalkbackExchange::Encode(line);
    EXPECT_TRUE(encoded.endsWith('\n'));
    EXPECT_EQ(encoded.count('\n'), 1);
    const auto back = TalkbackExchange::Decode(encoded.trimmed());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->TimeMs, line.TimeMs);
    EXPECT_EQ(back->Writer, line.Writer);
    EXPECT_EQ(back->Sequence, 7);
    EXPECT_EQ(back->Name, line.Name);
    EXPECT_EQ(back->Text.size(), TalkbackExchange::kMaxText);
    // A time or sequence that is no whole number from 0 to 2^53 makes no talkback line.
    for (const char* bad :
         {"", "{", "[1]", "{\"t\":\"x\",\"w\":\"a\",\"x\":\"b\"}", "{\"t\":1,\"w\":2,\"x\":\"b\"}",
          "{\"t\":1e300,\"w\":\"a\",\"x\":\"b\"}", "{\"t\":-1,\"w\":\"a\",\"x\":\"b\"}",
          "{\"t\":1.5,\"w\":\"a\",\"x\":\"b\"}", "{\"t\":1,\"s\":1e300,\"w\":\"a\",\"x\":\"b\"}",
          "{\"t\":1,\"s\":\"7\",\"w\":\"a\",\"x\":\"b\"}",
          "{\"t\":9007199254740993e3,\"w\":\"a\",\"x\":\"b\"}"}) {
        EXPECT_FALSE(TalkbackExchange::Decode(QByteArray(bad))) << bad;
    }
}

TEST(TalkbackExchangeTest, LinesShowTimeNameAndTextLiterally) {
    const QDateTime at(QDate(2026, 3, 4), QTime(9, 5));
    TalkbackLine line;
    line.TimeMs = at.toMSecsSinceEpoch();
    line.Name = QStringLiteral("Ann\u202E");
    line.Text = QStringLiteral("<b>&amp;</b>\u0007 done\r\nnext");
    // Name and text each isolated; the line break a blank; the bell and the override gone.
    EXPECT_EQ(uTalkback::LineText(line, at.date()),
              QStringLiteral("09:05  \u2068Ann\u2069: \u2068<b>&amp;</b> done  next\u2069"));
    EXPECT_EQ(
        uTalkback::LineText(line, at.date().addDays(1)),
        QStringLiteral("2026-03-04 09:05  \u2068Ann\u2069: \u2068<b>&amp;</b> done  next\u2069"));
}

TEST(TalkbackExchangeTest, ALineTornByACrashDoesNotSwallowTheNextPost) {
    const QString folder = TestHome() + QStringLiteral("/torn");
    QDir().mkpath(folder);
    TalkbackExchange a(folder, QStringLiteral("studio-a"), QStringLiteral("ann"));
    TalkbackExchange b(folder, QStringLiteral("studio-b"), QStringLiteral("bob"));
    {
        QFile f(a.OwnFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\"t\":1765000000000,\"w\":\"old\",\"s\":3,\"x\":\"half a li");
    }
    EXPECT_TRUE(b.Start().isEmpty());
    QString why;
    ASSERT_TRUE(
        a.Post(QStringLiteral("Ann"), QStringLiteral("ann"), QStringLiteral("Mic check"), &why))
        << why.toStdString();
    const QList<TalkbackLine> seen = b.Look();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen.front().Text, QStringLiteral("Mic check"));
}

TEST(TalkbackExchangeTest, AShortWriteLeavesTheFileAsItWasAndThePostFails) {
    const QString folder = TestHome() + QStringLiteral("/full");
    QDir().mkpath(folder);
    TalkbackExchange a(folder, QStringLiteral("studio-a"), QStringLiteral("ann"));
    QString why;
    ASSERT_TRUE(
        a.Post(QStringLiteral("Ann"), QStringLiteral("ann"), QStringLiteral("first"), &why));
    QFile f(a.OwnFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    // The child may write only a few bytes past the file's end: the line is cut by the system
    // part way, as on a full disk.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlim_t most = static_cast<rlim_t>(before.size() + 10);
        const rlimit limit{most, most};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(3);
        }
        QString childWhy;
        const bool posted = a.Post(QStringLiteral("Ann"), QStringLiteral("ann"),
                                   QString(200, QLatin1Char('x')), &childWhy);
        ::_exit(posted ? 1 : (childWhy.isEmpty() ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

// Two studio computers on one talkback folder.
class TalkbackPanesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = TestHome() + QStringLiteral("/talkback");
        QDir().mkpath(folder);
        ann = user(QStringLiteral("Ann"), QStringLiteral("ann"));
        bob = user(QStringLiteral("Bob"), QStringLiteral("bob"));
    }

    static std::shared_ptr<DirectoryContact> user(const QString& name, const QString& login) {
        auto u = std::make_shared<DirectoryContact>();
        u->SetName(name);
        u->SetLoginName(login);
        return u;
    }

    std::unique_ptr<uTalkback> pane(const QString& computer,
                                    const std::shared_ptr<DirectoryContact>& who) {
        auto p = std::make_unique<uTalkback>();
        p->SetComputerName(computer);
        p->SetTalkbackUser(who);
        p->SetSimpleTalkbackPath(folder);
        return p;
    }

    static void type(uTalkback& p, const QString& text) {
        p.txtInput()->setText(text);
        QTest::keyClick(p.txtInput(), Qt::Key_Return);
    }

    static QStringList shownTexts(const uTalkback& p) {
        QStringList out;
        for (const TalkbackLine& l : p.Shown()) {
            out << l.Name + QStringLiteral(": ") + l.Text;
        }
        return out;
    }

    // A file of another computer with n lines written long ago today.
    void foreignFile(const QString& name, int n, int textLength = 20) {
        QFile f(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray all;
        for (int i = 1; i <= n; ++i) {
            TalkbackLine l;
            l.TimeMs = QDateTime::currentMSecsSinceEpoch() - 100000 + i;
            l.Writer = name;
            l.Sequence = i;
            l.Name = QStringLiteral("Far");
            l.Text = QString::number(i).rightJustified(textLength, QLatin1Char('.'));
            all += TalkbackExchange::Encode(l);
        }
        f.write(all);
    }

    QString folder;
    std::shared_ptr<DirectoryContact> ann;
    std::shared_ptr<DirectoryContact> bob;
};

TEST_F(TalkbackPanesTest, ALinePostedOnOneComputerIsShownOnTheOtherNewestLast) {
    auto a = pane(QStringLiteral("studio-a"), ann);
    auto b = pane(QStringLiteral("studio-b"), bob);
    a->StartTalkback();
    b->StartTalkback();
    EXPECT_EQ(a->findChild<PaneFrame*>()->Text(), QString());
    type(*a, QStringLiteral("Mic check"));
    EXPECT_EQ(a->txtInput()->text(), QString());
    ASSERT_TRUE(WaitFor([&] { return b->Shown().size() == 1; }, 2000));
    type(*b, QStringLiteral("Loud and clear"));
    ASSERT_TRUE(WaitFor([&] { return a->Shown().size() == 2; }, 2000));
    EXPECT_EQ(shownTexts(*a), (QStringList{QStringLiteral("Ann: Mic check"),
                                           QStringLiteral("Bob: Loud and clear")}));
    const QString conversation = b->txtConversation()->toPlainText();
    EXPECT_TRUE(
        conversation.endsWith(QStringLiteral("  \u2068Bob\u2069: \u2068Loud and clear\u2069")))
        << conversation.toStdString();
    EXPECT_TRUE(conversation.contains(QDateTime::currentDateTime().toString(QStringLiteral("HH:"))))
        << conversation.toStdString();

    // A second start reads again from scratch and shows each line once; a stop keeps them.
    a->StartTalkback();
    a->StartTalkback();
    EXPECT_EQ(a->Shown().size(), 2);
    a->StopTalkback();
    EXPECT_EQ(a->Shown().size(), 2);
    EXPECT_EQ(a->findChild<PaneFrame*>()->Text(), QStringLiteral("Talkback is not running"));
    type(*b, QStringLiteral("Anyone?"));
    EXPECT_FALSE(WaitFor([&] { return a->Shown().size() == 3; }, 1500));
}

TEST_F(TalkbackPanesTest, AMissingFolderIsWaitedForAndAReadOnlyOneTakesNoLines) {
    const QString later = TestHome() + QStringLiteral("/later");
    auto a = pane(QStringLiteral("studio-a"), ann);
    a->SetSimpleTalkbackPath(later);
    a->StartTalkback();
    EXPECT_EQ(a->findChild<PaneFrame*>()->Text(),
              QStringLiteral("The talkback folder '%1' cannot be found").arg(later));
    type(*a, QStringLiteral("kept"));
    EXPECT_EQ(a->txtInput()->text(), QStringLiteral("kept"));
    QDir().mkpath(later);
    ASSERT_TRUE(WaitFor([&] { return a->findChild<PaneFrame*>()->Text().isEmpty(); }, 3000));
    QTest::keyClick(a->txtInput(), Qt::Key_Return);
    EXPECT_EQ(a->txtInput()->text(), QString());
    EXPECT_TRUE(WaitFor([&] { return a->Shown().size() == 1; }, 2000));

    // Read-only (told by the file layer: root writes past permissions): shown, no typing.
    foreignFile(QStringLiteral("far-away.talkback"), 3);
    auto b = pane(QStringLiteral("studio-b"), bob);
    TalkbackExchange::FileLayer readOnly = TalkbackExchange::RealFiles();
    readOnly.folderWritable = [](const QString&) { return false; };
    b->SetFileLayer(readOnly);
    b->StartTalkback();
    EXPECT_EQ(b->Shown().size(), 3);
    EXPECT_FALSE(b->txtInput()->isEnabled());
    EXPECT_EQ(b->findChild<PaneFrame*>()->Text(),
              QStringLiteral("The talkback folder '%1' is read-only").arg(folder));
}

TEST_F(TalkbackPanesTest, AFailedWriteKeepsTheLineAndSaysWhy) {
    auto a = pane(QStringLiteral("studio-a"), ann);
    TalkbackExchange::FileLayer failing = TalkbackExchange::RealFiles();
    failing.append = [](const QString&, const QByteArray&, QString* why) {
        *why = QStringLiteral("No space left on device");
        return false;
    };
    a->SetFileLayer(failing);
    a->StartTalkback();
    type(*a, QStringLiteral("Going to news"));
    EXPECT_EQ(a->txtInput()->text(), QStringLiteral("Going to news"));
    EXPECT_EQ(a->findChild<PaneFrame*>()->Text(),
              QStringLiteral("The line was not sent: No space left on device"));

    // Nobody to talk as: kept as well.
    auto b = pane(QStringLiteral("studio-b"), nullptr);
    b->StartTalkback();
    type(*b, QStringLiteral("Hello"));
    EXPECT_EQ(b->txtInput()->text(), QStringLiteral("Hello"));
    EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("*.talkback")}).isEmpty());
}

TEST_F(TalkbackPanesTest, LinesFilesAndTheConversationAreBounded) {
    // Typed: at most 500 characters. Read: a longer text is cut to 500.
    auto a = pane(QStringLiteral("studio-a"), ann);
    a->StartTalkback();
    a->txtInput()->setText(QString(600, QLatin1Char('y')));
    EXPECT_EQ(a->txtInput()->text().size(), 500);
    foreignFile(QStringLiteral("long.talkback"), 1, 600);

    // 2,000 lines of another computer: the last 500 shown.
    foreignFile(QStringLiteral("chatty.talkback"), 2000);
    a->LookNow();
    EXPECT_EQ(a->Shown().size(), uTalkback::kMaxShown);
    EXPECT_TRUE(a->Shown().back().Text.endsWith(QStringLiteral("2000")));

    // A 10 MB foreign file: a start reads its end only.
    foreignFile(QStringLiteral("huge.talkback"), 100000, 80);
    ASSERT_GT(QFileInfo(folder + QStringLiteral("/huge.talkback")).size(), 10 * 1000 * 1000);
    auto b = pane(QStringLiteral("studio-b"), bob);
    b->StartTalkback();
    EXPECT_EQ(b->Shown().size(), uTalkback::kMaxShown);
    EXPECT_TRUE(b->Shown().back().Text.endsWith(QStringLiteral("100000")));
    for (const TalkbackLine& l : b->Shown()) {
        EXPECT_LE(l.Text.size(), 500);
    }

    // This computer's file passing 256 KiB is rewritten with its newest part; the other
    // computer reads it again without showing a line twice.
    const QString own = a->Exchange()->OwnFile();
    int posts = 0;
    while (QFileInfo(own).size() <= TalkbackExchange::kRewriteAbove) {
        QString why;
        ASSERT_TRUE(a->Exchange()->Post(QStringLiteral("Ann"), QStringLiteral("ann"),
                                        QString(400, QLatin1Char('z')), &why))
            << why.toStdString();
        if (++posts % 50 == 0) {
            b->LookNow();
        }
        if (QFileInfo(own).size() < TalkbackExchange::kRewriteKeep + 1000) {
            break;
        }
    }
    EXPECT_LE(QFileInfo(own).size(), TalkbackExchange::kRewriteKeep + 1000);
    b->LookNow();
    type(*a, QStringLiteral("after the rewrite"));
    ASSERT_TRUE(WaitFor([&] { return b->Shown().back().Text == "after the rewrite"; }, 2000));
    QSet<QString> keys;
    for (const TalkbackLine& l : b->Shown()) {
        const QString key = l.Writer + QString::number(l.Sequence);
        EXPECT_FALSE(keys.contains(key)) << key.toStdString();
        keys.insert(key);
    }
}
} // namespace
