#include "templateprintingfixture.h"

#include "core/program.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/folders.h"
#include "support/displaymarks.h"
#include "support/scriptedcommondialogs.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

using WithoutPreview = TemplatePrintingTest;

TEST_F(WithoutPreview, NoWinnersIsToldBeforeAnyTemplateQuestion) {
    addTemplate(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners"),
                QStringLiteral("Winners.htm"), "<h1><OCP_PRIZE_TITLE></h1>");
    auto prize = prizeWithWinners(0);
    answer_ = QStringLiteral("Winners");
    PrintPrizeWinnersFromTemplate(prize.get(), nullptr);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("You cannot print the winners list becuase there are no Winners!"));
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(questions_.empty());
    EXPECT_TRUE(previews().isEmpty());
}

TEST_F(WithoutPreview, NothingToPrintIsSilent) {
    // No templates at all, a null input, and a cancelled choice among two.
    auto prize = prizeWithWinners(1);
    PrintPrizeWinnersFromTemplate(prize.get(), nullptr);
    PrintMessageFromTemplate(nullptr, nullptr);
    PrintPrizeWinnersFromTemplate(nullptr, nullptr);
    auto m = message(QStringLiteral("Hello"));
    PrintMessageFromTemplate(m.get(), nullptr);
    EXPECT_TRUE(questions_.empty());
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("A"), QStringLiteral("A.htm"), "a");
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("B"), QStringLiteral("B.htm"), "b");
    answer_.reset();
    PrintMessageFromTemplate(m.get(), nullptr);
    EXPECT_EQ(questions_.size(), 1U);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(previews().isEmpty());
}

struct MissingCase {
    const char* category;
    const char* text;
};

class MissingTemplate : public TemplatePrintingTest,
                        public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingTemplate, AnEmptyFileCountsAsMissing) {
    const QString category = QLatin1String(GetParam().category);
    addTemplate(category, QStringLiteral("Empty"), QStringLiteral("Empty.htm"), QByteArray());
    answer_ = QStringLiteral("Empty");
    auto prize = prizeWithWinners(1);
    auto m = message(QStringLiteral("Hello"));
    if (category == QLatin1String("PrintPrizeWinners")) {
        PrintPrizeWinnersFromTemplate(prize.get(), nullptr);
    } else {
        PrintMessageFromTemplate(m.get(), nullptr);
    }
    const QString path = db_->GetTemplatePath(category, QStringLiteral("Empty"));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text, QLatin1String(GetParam().text) + path);
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(previews().isEmpty());
    EXPECT_FALSE(QFile::exists(Folders::PrivateTemp() + QStringLiteral("/Empty.htm")));
}

INSTANTIATE_TEST_SUITE_P(
    BothCategories, MissingTemplate,
    ::testing::Values(MissingCase{"PrintMessage",
                                  "The Message Template file could not be found in "},
                      MissingCase{"PrintPrizeWinners",
                                  "The Prize Winners List Template file could not be found in "}),
    [](const ::testing::TestParamInfo<MissingCase>& info) {
        return std::string(info.param.category);
    });

TEST_F(WithoutPreview, WinnersTemplateFillsFromTheDatabaseAndEscapesNotesKeepingBlanks) {
    bool ok = false;
    StationDetails station;
    station.Name = QStringLiteral("Radio <Test>");
    db_->SetStationDetails(station, ok);
    ASSERT_TRUE(ok);
    auto prize = prizeWithWinners(2);
    ASSERT_EQ(prize->NumberWinners(), 2);
    const QString path = TestHome() + QStringLiteral("/W.htm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<OCP_STATION_NAME>|<ocp_prizewinners_repeat>[<OCP_PRIZEWINNER_REFERENCE>:"
            "<OCP_PRIZEWINNER_NOTES>]</OCP_PRIZEWINNERS_REPEAT>|<OCP_PRIZE_TITLE>");
    f.close();
    const QString filled = FillPrizeWinnersTemplate(*prize, path);
    const QString one = QString::number(prize->Winner(1)->Reference());
    const QString two = QString::number(prize->Winner(2)->Reference());
    const QString notes =
        FillPrizeWinnerFields(QStringLiteral("<OCP_PRIZEWINNER_NOTES>"), *prize->Winner(1));
    EXPECT_TRUE(notes.contains(QStringLiteral("<br>"))) << notes.toStdString();
    EXPECT_TRUE(notes.contains(QStringLiteral("&nbsp;"))) << notes.toStdString();
    EXPECT_EQ(filled, Marked(QStringLiteral("\u00abRadio &lt;Test&gt;\u00bb|[")) + one +
                          QLatin1Char(':') + notes + QStringLiteral("][") + two + QLatin1Char(':') +
                          notes + Marked(QStringLiteral("]|\u00abConcert tickets\u00bb")));
    EXPECT_EQ(FillPrizeWinnersTemplate(*prize, QString()), QString());
}

TEST_F(WithoutPreview, ContactBlocksWithoutAKnownContactAreFilledEmpty) {
    // With nobody logged in (and no directory open) the current user's tags still go.
    ASSERT_EQ(Program::Instance().Directory(), nullptr);
    const QString text = QStringLiteral("<OCP_CURRENTUSER_NAME>");
    const QString filled = ReplaceTemplateTags(text);
    EXPECT_EQ(filled, ReplaceContactTags(text, 4711, QStringLiteral("CURRENTUSER")));
    EXPECT_FALSE(filled.contains(QStringLiteral("OCP_CURRENTUSER"))) << filled.toStdString();
}

} // namespace

namespace {
TEST_F(WithoutPreview, StationDetailsSetInTheDatabaseSettingsFillTheStationTags) {
    TestDialogs().queue([](QDialog& d) {
        const std::pair<const char*, const char*> fields[] = {
            {"txtStationName", " Radio Kestova "},
            {"txtStationPhone", "01234 567890"},
            {"txtStationSmsPhone", "+44 7700 900123"},
            {"txtStationCompany", "C123"},
            {"txtStationVat", "GB 1"}};
        for (const auto& [name, text] : fields) {
            d.findChild<QLineEdit*>(QLatin1String(name))->setText(QString::fromUtf8(text));
        }
        d.findChild<QPlainTextEdit*>(QStringLiteral("txtStationAddress"))
            ->setPlainText(QStringLiteral("1 High Street\nTown"));
        d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    db_->ShowDatabaseSettings(nullptr);
    auto prize = prizeWithWinners(0);
    const QString path = TestHome() + QStringLiteral("/S.htm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<OCP_STATION_NAME>|<OCP_STATION_ADDRESSSTRING>|<OCP_STATION_PHONENUMBER>|"
            "<OCP_STATION_SMSPHONENUMBER>|<OCP_STATION_COMPANYNUMBER>|<OCP_STATION_VATNUMBER>|"
            "<OCP_STATION_ADDRESS>");
    f.close();
    const QString filled = FillPrizeWinnersTemplate(*prize, path);
    EXPECT_TRUE(filled.startsWith(Marked(
        QStringLiteral("\u00abRadio Kestova\u00bb|\u00ab1 High Street,Town\u00bb|\u00ab01234 "
                       "567890\u00bb|\u00ab+44 7700 900123\u00bb|"
                       "\u00abC123\u00bb|\u00abGB 1\u00bb|\u00ab1 High Street\u00bb"))))
        << filled.toStdString();
}
} // namespace

namespace {
TEST_F(WithoutPreview, ATemplateAddedInTheDatabaseSettingsIsOffered) {
    addTemplate(QStringLiteral("PrintMessage"), QStringLiteral("A"), QStringLiteral("A.htm"), "a");
    const QString chosen = TestHome() + QStringLiteral("/Request-Slip.htm");
    {
        QFile f(chosen);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<OCP_STATION_NAME>");
    }
    TestCommonDialogs().queueOpenFileName(chosen);
    TestDialogs().queue([](QDialog& d) {
        d.findChild<QLineEdit*>(QStringLiteral("txtTemplateName"))
            ->setText(QStringLiteral("Request slip"));
        d.findChild<QPushButton*>(QStringLiteral("cmdAddTemplate"))->click();
        d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    db_->ShowDatabaseSettings(nullptr);
    answer_.reset(); // the choice is cancelled: only what is offered counts
    auto m = message(QStringLiteral("Hello"));
    PrintMessageFromTemplate(m.get(), nullptr);
    ASSERT_EQ(questions_.size(), 1U);
    EXPECT_EQ(questions_[0].names, (QStringList{"A", "Request slip"}));
}
} // namespace

namespace {
// A directory of the test's own as the program's, with the user Ann logged in.
class WithADirectory : public TemplatePrintingTest {
protected:
    void SetUp() override {
        TemplatePrintingTest::SetUp();
        auto directory = std::make_unique<KVDirectory>();
        bool failed = true;
        directory->OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        QString refusal;
        user_ = directory->CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"), QString(),
                                           &refusal);
        ASSERT_TRUE(user_) << refusal.toStdString();
        bool ok = false;
        directory->LoginContact(user_, 1, AppInfo::ProductName(), ok);
        ASSERT_TRUE(ok);
        Program::Instance().SetDirectory(std::move(directory));
    }
    void TearDown() override {
        TemplatePrintingTest::TearDown();
        Program::Instance().SetDirectory(nullptr);
    }
    static void save(const std::shared_ptr<DirectoryContact>& contact) {
        bool ok = false;
        Program::Instance().Directory()->SaveContact(contact->Reference(), contact, true, true, ok);
        ASSERT_TRUE(ok);
    }
    static qint32 contact(const QString& name, const QString& address) {
        auto c = Program::Instance().Directory()->CreateContact();
        c->SetName(name);
        c->SetAddress(address);
        save(c);
        return c->Reference();
    }

    std::shared_ptr<DirectoryContact> user_;
};

// The address tags of the winner, the supplier and the user printing show the stored
// address: the short record that names a contact leaves it out.
TEST_F(WithADirectory, EveryContactBlockShowsTheAddress) {
    user_->SetAddress(QStringLiteral("1 Studio Lane\r\nKestova"));
    save(user_);
    auto prize = db_->NewPrize();
    prize->SetTitle(QStringLiteral("Concert tickets"));
    prize->SetNumberSupplied(1);
    prize->SetSupplierReference(
        contact(QStringLiteral("Tickets Ltd"), QStringLiteral("9 Box Office Row\r\nTown")));
    bool ok = false;
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    auto winner = db_->NewPrizeWinner(*prize);
    winner->SetWinnerReference(contact(QStringLiteral("Zoe Winner"),
                                       QStringLiteral("12 High Street\r\nSpringfield\r\nAB1 2CD")));
    db_->StorePrizeWinner(*winner, ok);
    ASSERT_TRUE(ok);
    prize = db_->GetPrize(prize->Reference(), true);
    const struct {
        const char* tag;
        const char* filled;
    } cases[] = {
        // Each line of an address, and the one-line address, isolated (written « »).
        {"<OCP_PRIZEWINNER_WINNER_ADDRESS>", "«12 High Street»<br>«Springfield»<br>«AB1 2CD»"},
        {"<OCP_PRIZEWINNER_WINNER_ADDRESSSTRING>", "«12 High Street, Springfield, AB1 2CD»"},
        {"<OCP_PRIZE_SUPPLIER_ADDRESS>", "«9 Box Office Row»<br>«Town»"},
        {"<OCP_PRIZE_SUPPLIER_ADDRESSSTRING>", "«9 Box Office Row, Town»"},
        {"<OCP_CURRENTUSER_ADDRESS>", "«1 Studio Lane»<br>«Kestova»"},
        {"<OCP_CURRENTUSER_ADDRESSSTRING>", "«1 Studio Lane, Kestova»"},
    };
    for (const auto& c : cases) {
        const QString path = TestHome() + QStringLiteral("/Address.htm");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        // Winner tags are filled inside the repeat block only.
        f.write(QByteArray("<OCP_PRIZEWINNERS_REPEAT>") + c.tag + "</OCP_PRIZEWINNERS_REPEAT>");
        f.close();
        EXPECT_EQ(FillPrizeWinnersTemplate(*prize, path), Marked(QString::fromUtf8(c.filled)))
            << c.tag;
    }
}
} // namespace
