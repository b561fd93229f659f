#include "mainwindow/panes/messagelistpage.h"

#include "mainwindow/messagelistfilter.h"
#include "platform/messagesdb/messagesdbfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

class MessageListPageTest : public MessagesDbTest {
protected:
    void SetUp() override {
        MessagesDbTest::SetUp();
        open();
    }
    QString render(int minutes) {
        const QString filter = MessageListFilterText(QString(), minutes, now_);
        return MessageListPage::Render(*db_, filter).value_or(QStringLiteral("<none>"));
    }
    const QDateTime now_ = QDateTime::currentDateTimeUtc();
};

TEST_F(MessageListPageTest, EachWindowListsWhatArrivedInIt) {
    storeReceived(QStringLiteral("Three hours old"), now_.addSecs(-3 * 3600));
    storeReceived(QStringLiteral("Five hours old"), now_.addSecs(-5 * 3600));
    struct Case {
        int minutes;
        bool three;
        bool five;
    };
    for (const Case& c : {Case{240, true, false}, Case{720, true, true}, Case{1440, true, true},
                          Case{-1, true, true}}) {
        const QString page = render(c.minutes);
        EXPECT_EQ(page.contains(QStringLiteral("Three hours old")), c.three) << c.minutes;
        EXPECT_EQ(page.contains(QStringLiteral("Five hours old")), c.five) << c.minutes;
    }
}

TEST_F(MessageListPageTest, ListenerTextCannotAddLinksOrTicks) {
    storeReceived(QStringLiteral("\"><a href=\"orlix://deletemessages\">x</a><input "
                                 "name=\"MessageSelected99\" checked><script>bad()</script>"),
                  now_.addSecs(-60));
    const QString page = render(240);
    EXPECT_FALSE(page.contains(QStringLiteral("<script>bad")));
    EXPECT_FALSE(page.contains(QStringLiteral("<input name=\"MessageSelected99\"")));
    EXPECT_FALSE(page.contains(QStringLiteral("href=\"orlix://deletemessages\"")));
}

// One row past the limit tells a cut list from a whole one; the page lists the newest only.
TEST_F(MessageListPageTest, APageOfMoreThanItListsSaysItIsCut) {
    const qint32 first = storeReceived(QStringLiteral("The newest"), now_.addSecs(-60));
    int stored = 1;
    for (const int held : {MessageListPage::kMaxListed, MessageListPage::kMaxListed + 1}) {
        SCOPED_TRACE(held);
        storeCopies(first, held - stored);
        stored = held;
        MessageListPage::RenderNotes notes;
        const std::optional<QString> page = MessageListPage::Render(*db_, QString(), &notes);
        ASSERT_TRUE(page.has_value());
        EXPECT_EQ(notes.cut, held > MessageListPage::kMaxListed);
        QSet<QString> ticks;
        for (const QRegularExpressionMatch& m :
             QRegularExpression(QStringLiteral("MessageSelected\\W*(\\d+)")).globalMatch(*page)) {
            ticks.insert(m.captured(1));
        }
        EXPECT_EQ(ticks.size(), MessageListPage::kMaxListed);
    }
}

TEST_F(MessageListPageTest, NoTemplateGivesNoPage) {
    QFile::remove(db_->TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    EXPECT_EQ(MessageListPage::Render(*db_, QString()), std::nullopt);
}

TEST_F(MessageListPageTest, WrittenWithAByteOrderMarkAndReplacedWhole) {
    const QString path = MessageListPage::RenderedPath(folder_ + QStringLiteral("/Data"));
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Data/Temp/Messages-List.htm")));
    ASSERT_TRUE(MessageListPage::Write(path, QStringLiteral("<p>first, longer page</p>")));
    ASSERT_TRUE(MessageListPage::Write(path, QStringLiteral("<p>\u00e9</p>")));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF<p>\xC3\xA9</p>\r\n"));
    // Each page is written beside the old one and takes its place: nothing else is left.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Messages-List.htm")});
}

TEST_F(MessageListPageTest, AnUnwritablePlaceLeavesNothingHalfWritten) {
    const QString blocker = folder_ + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(MessageListPage::Write(blocker + QStringLiteral("/Temp/Messages-List.htm"),
                                        QStringLiteral("x")));
}

} // namespace
