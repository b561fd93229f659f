#include "contacts/frmprize.h"
#include "core/printing/templateprintingfixture.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/folders.h"

#include <QFile>
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
    static qint32 contact(const QString& name) {
        KVDirectory* dir = Program::Instance().Directory();
        auto c = dir->CreateContact();
        c->SetName(name);
        bool ok = false;
        dir->SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c->Reference();
    }
};

TEST_F(WebEnginePrizeWinnersList, BothWinnersReachThePreviewInOrder) {
    addTemplate(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners"),
                QStringLiteral("Winners.htm"),
                "<h1><OCP_PRIZE_TITLE></h1><OCP_PRIZEWINNERS_REPEAT>"
                "<p><OCP_PRIZEWINNER_WINNER_NAME></p></OCP_PRIZEWINNERS_REPEAT>");
    auto prize = db_->NewPrize();
    prize->SetTitle(QStringLiteral("Concert tickets"));
    prize->SetNumberSupplied(2);
    bool ok = false;
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    for (const QString& name : {QStringLiteral("Zoe Winner"), QStringLiteral("Adam Second")}) {
        auto w = db_->NewPrizeWinner(*prize);
        w->SetWinnerReference(contact(name));
        db_->StorePrizeWinner(*w, ok);
        ASSERT_TRUE(ok);
    }
    answer_ = QStringLiteral("Winners");
    frmPrize window;
    window.LoadPrize(db_->GetPrize(prize->Reference(), true));
    ASSERT_TRUE(window.PrintWinnersButton()->isEnabled());
    window.PrintWinnersButton()->click();
    ASSERT_EQ(questions_.size(), 1U);
    EXPECT_EQ(questions_[0].title, QStringLiteral("Print Winners List"));
    ASSERT_EQ(previews().size(), 1);
    QFile out(Folders::PrivateTemp() + QStringLiteral("/Winners.htm"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(out.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("<h1>Concert tickets</h1><p>Zoe Winner</p>"
                                             "<p>Adam Second</p>")))
        << text.toStdString();
}

} // namespace
