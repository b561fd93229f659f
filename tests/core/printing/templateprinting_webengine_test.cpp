#include "templateprintingfixture.h"

#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/folders.h"
#include "platform/web/webbrowser.h"
#include "support/waitfor.h"

#include <QFileInfo>

namespace {

using WebEngineTemplatePrinting = TemplatePrintingTest;

QString readOutput(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

TEST_F(WebEngineTemplatePrinting, OneMessageTemplateGoesStraightToThePreview) {
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Plain"),
                QStringLiteral("Plain-Print.htm"), "<p><OCP_MESSAGE_SUBJECT></p>");
    auto m = message(QStringLiteral("Song <request>"));
    QWidget owner;
    PrintMessageFromTemplate(m.get(), &owner);
    EXPECT_TRUE(questions_.empty());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    ASSERT_EQ(previews().size(), 1);
    EXPECT_EQ(previews().first()->parentWidget(), &owner);
    const QString out = Folders::PrivateTemp() + QStringLiteral("/Plain-Print.htm");
    const QString text = readOutput(out);
    EXPECT_TRUE(text.contains(QStringLiteral("Song &lt;request&gt;"))) << text.toStdString();
}

TEST_F(WebEngineTemplatePrinting, TwoTemplatesAreOfferedWithTheFirstPreselected) {
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Short"), QStringLiteral("S.htm"),
                "short <OCP_MESSAGE_SUBJECT>");
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Long"), QStringLiteral("L.htm"),
                "long <OCP_MESSAGE_SUBJECT>");
    answer_ = QStringLiteral("Long");
    OrlixMessageList list;
    bool ok = false;
    list.AddMessage(std::shared_ptr<OrlixMessage>(message(QStringLiteral("One"))), ok);
    ASSERT_TRUE(ok);
    PrintMessagesFromTemplate(&list, nullptr);
    ASSERT_EQ(questions_.size(), 1U);
    EXPECT_EQ(questions_[0].title, QStringLiteral("Print Messages"));
    EXPECT_EQ(questions_[0].names, QStringList({QStringLiteral("Short"), QStringLiteral("Long")}));
    EXPECT_EQ(questions_[0].preselected, QStringLiteral("Short"));
    EXPECT_EQ(previews().size(), 1);
    EXPECT_TRUE(readOutput(Folders::PrivateTemp() + QStringLiteral("/L.htm")).contains("long"));
}

TEST_F(WebEngineTemplatePrinting, TheWinnersTemplateIsChosenEvenWhenItIsTheOnlyOne) {
    addTemplate(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners"),
                QStringLiteral("Winners.htm"),
                "<h1><OCP_PRIZE_TITLE></h1><OCP_PRIZEWINNERS_REPEAT>"
                "<p><OCP_PRIZEWINNER_REFERENCE></p></OCP_PRIZEWINNERS_REPEAT>");
    auto prize = prizeWithWinners(1);
    answer_ = QStringLiteral("Winners");
    PrintPrizeWinnersFromTemplate(prize.get(), nullptr);
    ASSERT_EQ(questions_.size(), 1U);
    EXPECT_EQ(questions_[0].title, QStringLiteral("Print Winners List"));
    EXPECT_EQ(questions_[0].names, QStringList(QStringLiteral("Winners")));
    ASSERT_EQ(previews().size(), 1);
    const QString text = readOutput(Folders::PrivateTemp() + QStringLiteral("/Winners.htm"));
    EXPECT_TRUE(text.contains(QStringLiteral("<h1>\u2068Concert tickets\u2069</h1><p>") +
                              QString::number(prize->Winner(1)->Reference()) +
                              QStringLiteral("</p>")))
        << text.toStdString();
}

TEST_F(WebEngineTemplatePrinting, TheOutputLivesInThePrivateTempFolderWhileThePreviewIsOpen) {
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Message"),
                QStringLiteral("Message-Print.htm"), "<p><OCP_MESSAGE_SUBJECT></p>");
    auto m = message(QStringLiteral("Hello"));
    PrintMessageFromTemplate(m.get(), nullptr);
    ASSERT_EQ(previews().size(), 1);
    QPointer<frmHTMLPrintPreview> form = previews().first();
    const QString out = Folders::PrivateTemp() + QStringLiteral("/Message-Print.htm");
    EXPECT_TRUE(QFileInfo::exists(out));
    // The template itself is never touched.
    EXPECT_EQ(
        readOutput(db_->GetTemplatePath(QStringLiteral("PrintMessage"), QStringLiteral("Message"))),
        QStringLiteral("<p><OCP_MESSAGE_SUBJECT></p>"));
    form->close();
    EXPECT_TRUE(WaitFor([&] { return !QFileInfo::exists(out); }));
}

} // namespace
