#include "contacts/frmprize.h"
#include "core/printing/templateprintingfixture.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/folders.h"
#include "support/displaymarks.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>

namespace {

// The prize window's Print button over a directory that knows the winners by name.
class WebEnginePrizeWinnersList : public TemplatePrintingTest {
protected:
    void SetUp() override {
        TemplatePrintingTest::SetUp();
        auto directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        QString refusal;
        auto user = directory->CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"),
                                               QString(), &refusal);
        ASSERT_TRUE(user) << refusal.toStdString();
        bool ok = false;
        directory->LoginContact(user, 1, AppInfo::ProductName(), ok);
        Program::Instance().SetDirectory(std::move(directory));
    }
    void TearDown() override {
        TemplatePrintingTest::TearDown();
        Program::Instance().SetDirectory(nullptr);
    }
    static qint32 contact(const QString& name, const QString& address) {
        KVDirectory* dir = Program::Instance().Directory();
        auto c = dir->CreateContact();
        c->SetName(name);
        c->SetAddress(address);
        bool ok = false;
        dir->SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c->Reference();
    }
    // Two winners stored for a new prize, the list printed through the template `name`; the
    // page the preview was given.
    QString printTwoWinners(const QString& name) {
        auto prize = db_->NewPrize();
        prize->SetTitle(QStringLiteral("Concert tickets"));
        prize->SetNumberSupplied(2);
        bool ok = false;
        db_->StorePrize(*prize, ok);
        EXPECT_TRUE(ok);
        const std::pair<QString, QString> winners[] = {
            {QStringLiteral("Zoe Winner"),
             QStringLiteral("12 High Street\r\nSpringfield\r\nAB1 2CD")},
            {QStringLiteral("Adam Second"), QString()}};
        for (const auto& [winner, address] : winners) {
            auto w = db_->NewPrizeWinner(*prize);
            w->SetWinnerReference(contact(winner, address));
            db_->StorePrizeWinner(*w, ok);
            EXPECT_TRUE(ok);
        }
        answer_ = name;
        frmPrize window;
        window.LoadPrize(db_->GetPrize(prize->Reference(), true));
        EXPECT_TRUE(window.PrintWinnersButton()->isEnabled());
        window.PrintWinnersButton()->click();
        EXPECT_EQ(questions_.size(), 1U);
        if (questions_.size() == 1U) {
            EXPECT_EQ(questions_[0].title, QStringLiteral("Print Winners List"));
        }
        EXPECT_EQ(previews().size(), 1);
        const QString file = db_->GetTemplatePath(QStringLiteral("PrintPrizeWinners"), name);
        QFile out(Folders::PrivateTemp() + QLatin1Char('/') + QFileInfo(file).fileName());
        EXPECT_TRUE(out.open(QIODevice::ReadOnly));
        return QString::fromUtf8(out.readAll());
    }
};

TEST_F(WebEnginePrizeWinnersList, BothWinnersReachThePreviewInOrder) {
    addTemplate(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners"),
                QStringLiteral("Winners.htm"),
                "<h1><OCP_PRIZE_TITLE></h1><OCP_PRIZEWINNERS_REPEAT>"
                "<p><OCP_PRIZEWINNER_WINNER_NAME></p></OCP_PRIZEWINNERS_REPEAT>");
    const QString text = printTwoWinners(QStringLiteral("Winners"));
    EXPECT_TRUE(text.contains(
        Marked(QStringLiteral("<h1>\u00abConcert tickets\u00bb</h1><p>\u00abZoe Winner\u00bb</p>"
                              "<p>\u00abAdam Second\u00bb</p>"))))
        << text.toStdString();
}

// The list a new database starts with names who won and where they live: a list of dates alone
// is no use to the producer sending the prizes out.
TEST_F(WebEnginePrizeWinnersList, TheStartingTemplateNamesEachWinnerInOrder) {
    ASSERT_TRUE(
        QFileInfo::exists(db_->TemplatesPath() + QStringLiteral("/Print-PrizeWinners.htm")));
    bool ok = false;
    db_->AddTemplate(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners List"),
                     QStringLiteral("Print-PrizeWinners.htm"), ok);
    ASSERT_TRUE(ok);
    const QString text = printTwoWinners(QStringLiteral("Winners List"));
    const auto zoe = text.indexOf(QStringLiteral("Zoe Winner"));
    const auto adam = text.indexOf(QStringLiteral("Adam Second"));
    EXPECT_GE(zoe, 0) << text.toStdString();
    EXPECT_GT(adam, zoe) << text.toStdString();
    EXPECT_TRUE(text.contains(Marked(QStringLiteral(
        "<td>\u00abZoe Winner\u00bb</td><td>\u00ab12 High Street\u00bb<br>\u00abSpringfield\u00bb"
        "<br>\u00abAB1 2CD\u00bb</td>"))))
        << text.toStdString();
}

} // namespace
