#include "platform/messagesdb/messagesdbfixture.h"

#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/system/displaytext.h"
#include "platform/ui/paneframe.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include <vector>

namespace {
class MessagePanesTest : public MessagesDbTest {
protected:
    static std::shared_ptr<StdFont> courier() {
        auto f = std::make_shared<StdFont>();
        f->Name = QStringLiteral("Courier New");
        f->Size = 13.5;
        f->Italic = true;
        return f;
    }
    // The font of a control given courier(), and the inherited one back once the font is gone.
    template <typename Pane> static void expectFontFollowed(Pane& pane) {
        const auto font = courier();
        pane.SetFont(font);
        EXPECT_EQ(pane.Font(), font);
        EXPECT_EQ(pane.font().family(), QStringLiteral("Courier New"));
        EXPECT_DOUBLE_EQ(pane.font().pointSizeF(), 13.5);
        EXPECT_TRUE(pane.font().italic());
        EXPECT_FALSE(pane.font().bold());
        // Its users change the font object in place; the next Refresh shows the change.
        font->Bold = true;
        pane.Refresh();
        EXPECT_TRUE(pane.font().bold());
        pane.SetFont(nullptr);
        EXPECT_EQ(pane.font(), QApplication::font());
    }
    template <typename Pane> static void expectBackColourShown(Pane& pane) {
        pane.SetBackColour(QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(pane.BackColour(), QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(pane.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        EXPECT_TRUE(pane.autoFillBackground());
    }
    // Stores a message as given; its Reference.
    qint32 store(const QString& subject, qint32 folder, qint32 flags, qint32 owner,
                 const QDateTime& receivedUtc) {
        auto m = email(subject, QStringLiteral("Ann <ann@example.org>"));
        m->SetFolder(folder);
        m->SetFlags(flags);
        m->SetPersonalOwner(owner);
        m->SetReceivedDate(receivedUtc);
        bool ok = false;
        db_->StoreMessage(*m, ok);
        EXPECT_TRUE(ok) << log_.join('\n').toStdString();
        return m->Reference();
    }
    struct Row {
        QString from;
        QString subject;
        bool bold = false;
        bool operator==(const Row&) const = default;
        friend std::ostream& operator<<(std::ostream& os, const Row& r) {
            return os << r.from.toStdString() << " | " << r.subject.toStdString()
                      << (r.bold ? " (bold)" : "");
        }
    };
    static std::vector<Row> rows(const uMessagesList& list) {
        std::vector<Row> out;
        QTreeWidget* tree = list.lstMessages();
        for (int i = 0; i < tree->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = tree->topLevelItem(i);
            const bool bold = item->font(0).bold();
            // Every column of a line is bold or none.
            EXPECT_EQ(item->font(1).bold(), bold);
            EXPECT_EQ(item->font(2).bold(), bold);
            out.push_back({item->text(0), item->text(1), bold});
        }
        return out;
    }
};
} // namespace

TEST_F(MessagePanesTest, TheMessagesListHoldsItsSettingsAndForgetsADestroyedDatabase) {
    open(); // the frame names the folder from the database's tree
    uMessagesList list;
    EXPECT_EQ(list.CurrentFolder(), OrlixDatabase::kInboxFolder);
    EXPECT_EQ(list.Database(), nullptr);
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No messages database"));

    list.SetDatabase(db_.get());
    list.SetCurrentFolder(OrlixMessage::kNewMessagesFolder);
    for (const bool on : {true, false}) {
        list.SetDisplayNewMessage(on);
        list.SetAutoUpdate(on);
        list.SetDisplayMessageList(on);
        EXPECT_EQ(list.DisplayNewMessage(), on);
        EXPECT_EQ(list.AutoUpdate(), on);
        EXPECT_EQ(list.DisplayMessageList(), on);
    }
    EXPECT_EQ(list.Database(), db_.get());
    EXPECT_EQ(list.CurrentFolder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("Drafts"));
    expectFontFollowed(list);
    expectBackColourShown(list);

    db_.reset();
    EXPECT_EQ(list.Database(), nullptr);
    list.Refresh();
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No messages database"));
}

TEST_F(MessagePanesTest, RefreshRaisesBuildListAndAHandlersFilterServesOnlyThatBuild) {
    uMessagesList list;
    std::vector<QString> seen;
    QObject::connect(&list, &uMessagesList::BuildList, &list, [&](QString& filter) {
        seen.push_back(filter);
        filter = QStringLiteral("Subject LIKE '%win%'");
    });
    list.Refresh();
    list.Refresh();
    EXPECT_EQ(seen, (std::vector<QString>{QString(), QString()}));
    EXPECT_EQ(list.FilterText(), QString());
    EXPECT_EQ(list.RefreshCount(), 2);
}

TEST_F(MessagePanesTest, TheMessagePaneShowsListenerTextLiterally) {
    uMessageBasic pane;
    const QString subjects[] = {
        QStringLiteral("<b>x</b><script>"),
        QStringLiteral("<img src=x onerror=alert(1)>&amp;"),
        QStringLiteral("<a href='orlix:delete'>click</a>"),
    };
    for (const QString& subject : subjects) {
        const std::shared_ptr<OrlixMessage> m =
            email(subject, QLatin1Char('"') + subject + QStringLiteral("\" <ann@example.org>"));
        ASSERT_EQ(m->Subject(), subject);
        pane.SetMessage(m);
        EXPECT_EQ(pane.Message(), m);
        for (QLabel* label : {pane.lblSubject(), pane.lblFrom()}) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_FALSE(label->openExternalLinks());
        }
        // Each field isolated as the display rule has it: the name and the address apart.
        EXPECT_EQ(pane.lblSubject()->text(), DisplayText::Field(subject));
        EXPECT_EQ(pane.lblFrom()->text(), DisplayText::AddressEntry(m->FromText()));
        EXPECT_TRUE(m->FromText().contains(subject)) << m->FromText().toStdString();
    }
    pane.SetMessage(nullptr);
    EXPECT_EQ(pane.lblSubject()->text(), QString());
    EXPECT_EQ(pane.lblFrom()->text(), QString());
    expectBackColourShown(pane);
}

TEST_F(MessagePanesTest, ThePrizesListHoldsItsSettingsUnderBothColourNames) {
    uPrizesList list;
    EXPECT_EQ(list.RefreshCount(), 0);
    list.SetDatabase(db_.get());
    list.SetAutoUpdate(false);
    EXPECT_EQ(list.Database(), db_.get());
    EXPECT_FALSE(list.AutoUpdate());
    expectFontFollowed(list);
    EXPECT_EQ(list.RefreshCount(), 1);
    expectBackColourShown(list);

    list.SetBackColor(QColor(Qt::yellow));
    EXPECT_EQ(list.BackColour(), QColor(Qt::yellow));
    EXPECT_EQ(list.palette().color(QPalette::Window), QColor(Qt::yellow));
    db_.reset();
    EXPECT_EQ(list.Database(), nullptr);
}

TEST_F(MessagePanesTest, ThePrizePaneShowsAnEditedTitleOnRefresh) {
    auto directory = std::make_unique<KVDirectory>();
    uPrizeBasic pane;
    pane.SetDirectory(directory.get());
    EXPECT_EQ(pane.Directory(), directory.get());

    auto prize = std::make_shared<OrlixPrize>();
    prize->SetTitle(QStringLiteral("<i>Two</i> concert tickets"));
    pane.SetPrize(prize);
    EXPECT_EQ(pane.Prize(), prize);
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QStringLiteral("<i>Two</i> concert tickets"));
    EXPECT_EQ(pane.lblPrizeTitle()->textFormat(), Qt::PlainText);

    prize->SetTitle(QStringLiteral("Signed album"));
    pane.Refresh();
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QStringLiteral("Signed album"));
    EXPECT_EQ(pane.RefreshCount(), 1);
    pane.SetPrize(nullptr);
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QString());

    expectFontFollowed(pane);
    expectBackColourShown(pane);
    directory.reset();
    EXPECT_EQ(pane.Directory(), nullptr);
}

TEST_F(MessagePanesTest, TheMessagePaneShowsTheDateAndTheBodyAsText) {
    uMessageBasic pane;
    const QString body = QStringLiteral(
        "<b>bold</b>\n<script>alert(1)</script>\n<a href=\"orlix://deletemessages\">x</a> &amp;");
    std::shared_ptr<OrlixMessage> m =
        email(QStringLiteral("s"), QStringLiteral("ann@example.org"), body);
    const QDateTime received(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    const QDateTime sent(QDate(2026, 2, 1), QTime(8, 0), Qt::UTC);
    m->SetReceivedDate(received);
    m->SetSentDate(sent);
    pane.SetMessage(m);
    EXPECT_TRUE(pane.txtBody()->isReadOnly());
    EXPECT_EQ(pane.txtBody()->toPlainText(), DisplayText::Lines(body))
        << "markup shown as the characters it is, each line isolated";
    EXPECT_EQ(pane.lblDate()->textFormat(), Qt::PlainText);
    EXPECT_EQ(pane.lblDate()->text(), m->ReceivedDateText());
    EXPECT_FALSE(pane.lblDate()->text().isEmpty());

    // One of ours not received: when it went out.
    m->SetReceivedDate(QDateTime());
    pane.SetMessage(m);
    EXPECT_EQ(pane.lblDate()->text(), m->SentDateText());
    EXPECT_NE(m->SentDateText(), QString());

    // An HTML body shows its text, never its page.
    auto html = std::make_shared<OrlixMessage>();
    html->SetMessageBytes("From: ann@example.org\r\nSubject: h\r\nMIME-Version: 1.0\r\n"
                          "Content-Type: text/html; charset=utf-8\r\n\r\n"
                          "<html><body><p>Hello <img src=\"http://127.0.0.1:9/x.png\">"
                          "<b>there</b></p></body></html>\r\n");
    pane.SetMessage(html);
    EXPECT_EQ(pane.txtBody()->toPlainText(), DisplayText::Lines(html->BodyText()));
    EXPECT_TRUE(pane.txtBody()->toPlainText().contains(QStringLiteral("there")));
    EXPECT_FALSE(pane.txtBody()->toPlainText().contains(QLatin1Char('<')));
    EXPECT_EQ(pane.lblDate()->text(), QString());

    pane.SetMessage(nullptr);
    EXPECT_EQ(pane.txtBody()->toPlainText(), QString());
    EXPECT_EQ(pane.lblDate()->text(), QString());
}

TEST_F(MessagePanesTest, TheCompactListShowsItsFolderNewestFirstWithUnreadInBold) {
    open();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint32 inbox = OrlixDatabase::kInboxFolder;
    store(QStringLiteral("old read"), inbox, OrlixMessage::FlagRead, 0, now.addSecs(-300));
    store(QStringLiteral("<b>new</b> win"), inbox, 0, 0, now.addSecs(-60));
    store(QStringLiteral("elsewhere"), OrlixMessage::kNewMessagesFolder, 0, 0, now);
    store(QStringLiteral("someone else's"), inbox, 0, 99, now);
    const QString ann = email(QString(), QStringLiteral("Ann <ann@example.org>"))->FromText();

    uMessagesList list;
    list.SetDisplayMessageList(false);
    list.SetDatabase(db_.get());
    list.Refresh();
    EXPECT_TRUE(list.lstMessages()->isHidden());
    EXPECT_EQ(list.lstMessages()->topLevelItemCount(), 0) << "no list of its own when off";

    list.SetDisplayMessageList(true);
    EXPECT_FALSE(list.lstMessages()->isHidden());
    EXPECT_EQ(rows(list), (std::vector<Row>{{ann, QStringLiteral("<b>new</b> win"), true},
                                            {ann, QStringLiteral("old read"), false}}))
        << "shown at once, and listener markup as its characters";
    EXPECT_FALSE(list.lstMessages()->topLevelItem(0)->text(2).isEmpty());

    // A host's narrowing serves the list it builds.
    QObject::connect(&list, &uMessagesList::BuildList, &list, [](QString& filter) {
        filter += QStringLiteral(" AND [Subject] LIKE '*win*'");
    });
    list.Refresh();
    EXPECT_EQ(rows(list), (std::vector<Row>{{ann, QStringLiteral("<b>new</b> win"), true}}));

    list.SetCurrentFolder(OrlixMessage::kNewMessagesFolder);
    list.SetDisplayNewMessage(true);
    list.Refresh();
    EXPECT_EQ(rows(list), (std::vector<Row>{{QStringLiteral("<New Message>"), QString(), false}}))
        << "the new-message line, and no message of the folder matches";

    list.SetDisplayMessageList(false);
    EXPECT_TRUE(list.lstMessages()->isHidden());
    EXPECT_EQ(list.lstMessages()->topLevelItemCount(), 0);
}

TEST_F(MessagePanesTest, TheCompactListsLinesRaiseItsThreeEvents) {
    open();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint32 older =
        store(QStringLiteral("older"), OrlixDatabase::kInboxFolder, 0, 0, now.addSecs(-60));
    store(QStringLiteral("newer"), OrlixDatabase::kInboxFolder, 0, 0, now);

    uMessagesList list;
    list.SetDatabase(db_.get());
    list.SetDisplayNewMessage(true);
    std::vector<qint32> current; // -1: no message
    std::vector<std::shared_ptr<OrlixMessage>> added;
    std::vector<qint32> chosen;
    QObject::connect(&list, &uMessagesList::CurrentMessageChanged, &list,
                     [&](const std::shared_ptr<OrlixMessage>& m) {
                         current.push_back(m ? m->Reference() : -1);
                     });
    QObject::connect(&list, &uMessagesList::AddNewMessage, &list,
                     [&](const std::shared_ptr<OrlixMessage>& m) { added.push_back(m); });
    QObject::connect(
        &list, &uMessagesList::MessageChosen, &list,
        [&](const std::shared_ptr<OrlixMessage>& m) { chosen.push_back(m ? m->Reference() : -1); });
    list.SetDisplayMessageList(true);
    list.show();
    QTreeWidget* tree = list.lstMessages();
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_TRUE(current.empty()) << "nothing picked yet";

    tree->setFocus();
    tree->setCurrentItem(tree->topLevelItem(0));
    QTest::keyClick(tree, Qt::Key_Return);
    ASSERT_EQ(added.size(), 1u);
    ASSERT_NE(added[0], nullptr);
    EXPECT_EQ(added[0]->Kind(), OrlixMessage::KindEmail);
    EXPECT_EQ(added[0]->Reference(), 0) << "a new message, not a stored one";
    EXPECT_TRUE(chosen.empty());

    tree->setCurrentItem(tree->topLevelItem(2));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(chosen, (std::vector<qint32>{older}));
    EXPECT_EQ(added.size(), 1u);
    EXPECT_EQ(current, (std::vector<qint32>{-1, older}));

    // A rebuild keeps the picked line and hands its message over afresh.
    current.clear();
    list.Refresh();
    ASSERT_NE(tree->currentItem(), nullptr);
    EXPECT_EQ(tree->currentItem()->text(1), QStringLiteral("older"));
    EXPECT_EQ(current, (std::vector<qint32>{older}));

    // Gone from the list: nothing is picked any more.
    bool ok = false;
    db_->DeleteMessage(older, false, ok);
    ASSERT_TRUE(ok);
    current.clear();
    list.Refresh();
    EXPECT_EQ(current, (std::vector<qint32>{-1}));
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(1), QStringLiteral("newer"));
    EXPECT_EQ(chosen, (std::vector<qint32>{older})) << "a rebuild opens nothing";
}
