#include "mainwindow/messagebatch.h"
#include "mainwindow/messagelistcommand.h"
#include "mainwindow/messagelistfilter.h"
#include "mainwindow/messagetickboxes.h"
#include "mainwindow/messagetoolbar.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

TEST(MessageTickBoxes, ReferenceFromTheBoxName) {
    struct Case {
        const char* name;
        std::optional<qint32> reference;
    };
    const Case cases[] = {
        {"msgMessageSelected[42]", 42},
        {"MessageSelected(7)", 7},
        {"MESSAGESELECTED12", 12},
        {"messageselected<\\/13>", 13},
        {"MessageSelected  88 tail", 88},
        {"MessageSelected0", std::nullopt},
        {"MessageSelectedabc", std::nullopt},
        {"MessageSelected", std::nullopt},
        {"MessageSelected   ", std::nullopt},
        {"MessageSelected-5", std::nullopt},
        {"MessageSelected2.5", 2},
        {"MessageSelected3.5", 4},
        {"MessageSelected1e12", std::nullopt},
        {"MessageSelected2147483647", 2147483647},
        {"Selected42", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TickBoxReference(QString::fromLatin1(c.name)), c.reference) << c.name;
    }
}

TEST(MessageTickBoxes, TickedInDocumentOrderWithDuplicates) {
    const QList<MessageTickBox> boxes{
        {QStringLiteral("MessageSelected9"), true},
        {QStringLiteral("MessageSelected3"), false},
        {QStringLiteral("other"), true},
        {QStringLiteral("MessageSelected4"), true},
        {QStringLiteral("MessageSelected9"), true},
        {QStringLiteral("MessageSelected0"), true},
    };
    EXPECT_EQ(TickedMessageReferences(boxes), (QList<qint32>{9, 4, 9}));
    EXPECT_TRUE(TickedMessageReferences({}).isEmpty());
}

TEST(MessageTickBoxes, EveryBoxNamedForTheListIsUnticked) {
    EXPECT_TRUE(IsMessageTickBoxName(u"xMESSAGEselected"));
    EXPECT_TRUE(IsMessageTickBoxName(u"MessageSelected0"));
    EXPECT_FALSE(IsMessageTickBoxName(u"Message Selected1"));
}

TEST(MessageListCommand, OnlyTheOrlixSchemeInAnyCaseIsACommand) {
    EXPECT_EQ(OrlixCommandOf(u"orlix://DeleteMessages"), QStringLiteral("DeleteMessages"));
    EXPECT_EQ(OrlixCommandOf(u"ORLIX://openmessage(1)"), QStringLiteral("openmessage(1)"));
    EXPECT_EQ(OrlixCommandOf(u"orlix://"), QString());
    EXPECT_EQ(OrlixCommandOf(u"orlix:/x"), std::nullopt);
    EXPECT_EQ(OrlixCommandOf(u"https://example.org/"), std::nullopt);
    EXPECT_EQ(OrlixCommandOf(u"xorlix://deletemessages"), std::nullopt);
}

TEST(MessageListCommand, WordsInOrderPluralsFirst) {
    using W = MessageListWord;
    struct Case {
        const char* command;
        W word;
        qint32 reference;
    };
    const Case cases[] = {
        {"openmessage(1234)", W::OpenMessage, 1234},
        {"openmessage1234", W::OpenMessage, 1234},
        {"OpenMessage[55]/", W::OpenMessage, 55},
        {"openmessages", W::OpenMessage, 0},
        {"copymessages", W::CopyMessages, 0},
        {"CopyMessages(3)", W::CopyMessages, 0},
        {"copymessage0", W::CopyMessage, 0},
        {"copymessage17", W::CopyMessage, 17},
        {"movemessages", W::MoveMessages, 0},
        {"movemessage<8>", W::MoveMessage, 8},
        {"DeleteMessages", W::DeleteMessages, 0},
        {"deletemessage", W::DeleteMessage, 0},
        {"deletemessage9", W::DeleteMessage, 9},
        {"printmessages", W::PrintMessages, 0},
        {"printmessage55", W::PrintMessage, 55},
        {"printmessage99999999999", W::PrintMessage, 0},
        {"print", W::None, 0},
        {"erasemessages", W::None, 0},
        {"", W::None, 0},
    };
    for (const Case& c : cases) {
        const MessageListCommand got = ParseMessageListCommand(QString::fromLatin1(c.command));
        EXPECT_EQ(got.word, c.word) << c.command;
        EXPECT_EQ(got.reference, c.reference) << c.command;
    }
}

class MessageListFilterTest : public ::testing::Test {
protected:
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
    // 2000-01-01 is day 36526 of the date numbers.
    const QDateTime now_ = QDateTime(QDate(2000, 1, 1), QTime(18, 0), Qt::UTC);
};

TEST_F(MessageListFilterTest, EachWindow) {
    struct Case {
        int minutes;
        const char* own;
        const char* expected;
    };
    const Case cases[] = {
        {240, "", " [Received]>36526.5833333333"},
        {720, "", " [Received]>36526.2500000000"},
        {1440, "", " [Received]>36525.7500000000"},
        {240, "   ", " [Received]>36526.5833333333"},
        {720, "([Folder]=1)", " [Received]>36526.2500000000 AND ([Folder]=1)"},
        {-1, "([Folder]=1)", "([Folder]=1)"},
        {-1, "", ""},
        {0, " x ", " x "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageListFilterText(QString::fromLatin1(c.own), c.minutes, now_),
                  QString::fromLatin1(c.expected))
            << c.minutes << " " << c.own;
    }
}

TEST_F(MessageListFilterTest, PointInACommaLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(MessageListFilterText(QString(), 720, now_),
              QStringLiteral(" [Received]>36526.2500000000"));
}

// Records the calls a batch makes; the references in fail are refused.
class RecordingTarget : public MessageBatchTarget {
public:
    QStringList calls;
    qint32 folder = 5;
    QList<qint32> fail;
    bool throwOnCall = false;

    qint32 ChooseFolder(const QString& caption) override {
        calls << QStringLiteral("choose ") + caption;
        return folder;
    }
    void Begin() override { calls << QStringLiteral("begin"); }
    void Finish() override { calls << QStringLiteral("finish"); }
    bool Delete(qint32 r) override { return call(QStringLiteral("delete"), r); }
    bool Move(qint32 r, qint32 f) override { return call(QStringLiteral("move>%1").arg(f), r); }
    bool Copy(qint32 r, qint32 f) override { return call(QStringLiteral("copy>%1").arg(f), r); }
    bool Gather(qint32 r) override { return call(QStringLiteral("gather"), r); }
    void AnnounceDeleted() override { calls << QStringLiteral("announce deleted"); }
    void AnnounceChanged() override { calls << QStringLiteral("announce changed"); }
    void PrintGathered() override { calls << QStringLiteral("print"); }

private:
    bool call(const QString& what, qint32 r) {
        calls << QStringLiteral("%1 %2").arg(what).arg(r);
        if (throwOnCall) {
            throw std::runtime_error("storage gone");
        }
        return !fail.contains(r);
    }
};

TEST(MessageBatch, ModesOnTheTicks) {
    struct Case {
        qint32 mode;
        QList<qint32> refs;
        qint32 folder;
        QList<qint32> fail;
        qint32 count;
        QStringList calls;
    };
    const QString b = QStringLiteral("begin");
    const QString f = QStringLiteral("finish");
    const Case cases[] = {
        {kBatchDelete, {}, 5, {}, 0, {}},
        {kBatchDelete, {4, 7}, 5, {}, 2, {b, "delete 4", "delete 7", f, "announce deleted"}},
        {kBatchDelete, {4, 4}, 5, {}, 2, {b, "delete 4", "delete 4", f, "announce deleted"}},
        {kBatchDelete, {4, 7}, 5, {4}, 1, {b, "delete 4", "delete 7", f, "announce deleted"}},
        {kBatchDelete, {4}, 5, {4}, 0, {b, "delete 4", f}},
        {kBatchMove,
         {3},
         6,
         {},
         1,
         {"choose Move messages to", b, "move>6 3", f, "announce changed"}},
        {kBatchCopy,
         {3, 8},
         2,
         {},
         2,
         {"choose Copy messages to", b, "copy>2 3", "copy>2 8", f, "announce changed"}},
        {kBatchCopy, {3}, 0, {}, 0, {"choose Copy messages to"}},
        {kBatchMove, {3}, -1, {}, 0, {"choose Move messages to"}},
        {kBatchCopy, {}, 2, {}, 0, {}},
        {kBatchPrint, {1, 2}, 5, {}, 2, {b, "gather 1", "gather 2", f, "print"}},
        {kBatchPrint, {1}, 5, {1}, 0, {b, "gather 1", f}},
        {4, {1}, 5, {}, 0, {}},
        {-1, {1}, 5, {}, 0, {}},
    };
    for (const Case& c : cases) {
        RecordingTarget target;
        target.folder = c.folder;
        target.fail = c.fail;
        EXPECT_EQ(ActOnSelectedMessages(c.mode, c.refs, target), c.count) << c.mode;
        EXPECT_EQ(target.calls, c.calls) << c.mode << " " << target.calls.join('|').toStdString();
    }
}

TEST(MessageBatch, FinishRunsWhenACallThrows) {
    RecordingTarget target;
    target.throwOnCall = true;
    EXPECT_THROW(ActOnSelectedMessages(kBatchDelete, {1}, target), std::runtime_error);
    EXPECT_EQ(target.calls, (QStringList{"begin", "delete 1", "finish"}));
}

TEST(MessageToolbar, KeysInOrderWithTheirTexts) {
    QStringList keys;
    for (const MessageToolbarButton& b : MessageToolbarButtons()) {
        keys << b.key;
        if (b.separator) {
            EXPECT_TRUE(b.caption.isEmpty() && b.toolTip.isEmpty() && b.image.isEmpty())
                << b.key.toStdString();
        }
    }
    EXPECT_EQ(keys.join(','), QStringLiteral("initsep,filter,sendsep,email,sms,opensep,open,"
                                             "replysep,reply,replyall,forward,savesep,save,"
                                             "printsep,print,delete,foldersep,copymessage,"
                                             "movemessage,editsep,helpsep,help"));
    const auto find = [](const char* key) {
        for (const MessageToolbarButton& b : MessageToolbarButtons()) {
            if (b.key == QLatin1String(key)) {
                return b;
            }
        }
        return MessageToolbarButton{};
    };
    EXPECT_EQ(find("movemessage").toolTip, QStringLiteral("Move to Folder"));
    EXPECT_EQ(find("movemessage").image, QStringLiteral("folderexport"));
    EXPECT_EQ(find("help").toolTip, QStringLiteral("Help!"));
    EXPECT_EQ(find("save").caption, QStringLiteral("Save"));
    EXPECT_EQ(find("email").toolTip, QStringLiteral("New email"));
}

TEST(MessageToolbar, WhatEachKeyDoes) {
    struct Case {
        const char* key;
        qint32 kind;
        std::optional<qint32> mode;
        HoverCommand hover;
    };
    const Case cases[] = {
        {"email", 1, std::nullopt, HoverCommand::None},
        {"SMS", 2, std::nullopt, HoverCommand::None},
        {"Delete", 0, kBatchDelete, HoverCommand::None},
        {"print", 0, kBatchPrint, HoverCommand::None},
        {"copymessage", 0, kBatchCopy, HoverCommand::None},
        {"MoveMessage", 0, kBatchMove, HoverCommand::None},
        {"save", 0, std::nullopt, HoverCommand::None},
        {"help", 0, std::nullopt, HoverCommand::None},
        {"filter", 0, std::nullopt, HoverCommand::None},
        {"open", 0, std::nullopt, HoverCommand::Open},
        {"reply", 0, std::nullopt, HoverCommand::Reply},
        {"ReplyAll", 0, std::nullopt, HoverCommand::ReplyAll},
        {"forward", 0, std::nullopt, HoverCommand::Forward},
    };
    for (const Case& c : cases) {
        const MessageToolbarAction a = MessageToolbarActionFor(QString::fromLatin1(c.key));
        EXPECT_EQ(a.newMessageKind, c.kind) << c.key;
        EXPECT_EQ(a.batchMode, c.mode) << c.key;
        EXPECT_EQ(HoverCommandFor(QString::fromLatin1(c.key)), c.hover) << c.key;
    }
}

TEST(MessageToolbar, ReplyAndForwardTakeExactlyOne) {
    using H = HoverCommand;
    struct Case {
        H command;
        qsizetype ticked;
        const char* refusal;
    };
    const Case cases[] = {
        {H::Reply, 0, "You must select a message to 'Reply' to"},
        {H::ReplyAll, 0, "You must select a message to 'Reply' to"},
        {H::Forward, 0, "You must select a message to 'Forward'"},
        {H::Reply, 2, "You can only 'Reply' to one message at a time"},
        {H::ReplyAll, 3, "You can only 'Reply' to one message at a time"},
        {H::Forward, 2, "You can only 'Forward' one message at a time"},
        {H::Reply, 1, nullptr},
        {H::ReplyAll, 1, nullptr},
        {H::Forward, 1, nullptr},
    };
    for (const Case& c : cases) {
        const auto got = ReplyRefusal(c.command, c.ticked);
        if (c.refusal == nullptr) {
            EXPECT_EQ(got, std::nullopt) << c.ticked;
        } else {
            EXPECT_EQ(got, QString::fromLatin1(c.refusal)) << c.ticked;
        }
    }
}

} // namespace
