#include "contacts/frmaddresslabels.h"
#include "contacts/labelsheetlayout.h"
#include "core/program.h"
#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/messagesdb/labelsheetsetup.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "support/pictures.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(LabelSheetLayoutTest, ThreeByEightInTheSheetsInnerArea) {
    const auto slots = LabelSheetLayout::Layout(QSize(8040, 8000), 360, 3, 8);
    ASSERT_EQ(slots.size(), 24U);
    EXPECT_EQ(slots[3].label, (TwipsRect{60, 1360, 2600, 880}));
    EXPECT_EQ(slots[3].caption, (TwipsRect{120, 1420, 2450, 730}));
    // Row by row: slot 2 is beside slot 1, slot 24 at the bottom right.
    EXPECT_EQ(slots[1].label.left, 60 + 2660);
    EXPECT_EQ(slots[23].label.top, 360 + 60 + 7 * 940);
    EXPECT_TRUE(LabelSheetLayout::Layout(QSize(8040, 8000), 360, 0, 8).empty());
}

TEST(LabelSheetLayoutTest, WherePaperLabelsPrint) {
    LabelSheetSettings s;
    s.SetLabelsAcross(3);
    s.SetHorizontalPitch(70);
    s.SetVerticalPitch(37);
    s.SetLeftMargin(5);
    s.SetTopMargin(10);
    EXPECT_EQ(LabelSheetLayout::PrintPosition(5, s), QPointF(75, 47));
    EXPECT_EQ(LabelSheetLayout::PrintPosition(1, s), QPointF(5, 10));
    EXPECT_EQ(
        LabelSheetLayout::PrintLines(QStringLiteral("Ann\r\nHigh St\nTown")),
        (QStringList{QStringLiteral("Ann"), QStringLiteral("High St"), QStringLiteral("Town")}));
    EXPECT_EQ(LabelSheetLayout::PrintLines(QStringLiteral("Ann\r\n")),
              (QStringList{QStringLiteral("Ann"), QString()}));
}

TEST(LabelSheetSetupTest, TheSheetMustFitThePaper) {
    const LabelPaper a4{QStringLiteral("A4"), 210, 297};
    const LabelPaper letter{QStringLiteral("Letter"), 215.9, 279.4};
    struct Case {
        const char* name;
        LabelPaper paper;
        LabelSheetValues values; // across, down, top, left, horizontal, vertical
        const char* refusal;     // "" = kept; else the start of the refusal
    };
    const Case cases[] = {
        {"exactly across A4", a4, {3, 8, 0, 0, 70, 37}, ""},
        {"exactly down A4", a4, {3, 9, 0, 0, 70, 33}, ""},
        {"one mm too wide",
         a4,
         {3, 8, 0, 1, 70, 37},
         "The labels do not fit across the paper: a margin of 1 mm and 3 labels of 70 mm need "
         "211 mm, and the paper is 210 mm wide."},
        {"the example",
         a4,
         {3, 8, 0, 5, 70, 37},
         "The labels do not fit across the paper: a margin of 5 mm and 3 labels of 70 mm need "
         "215 mm, and the paper is 210 mm wide."},
        {"one mm too long",
         a4,
         {3, 9, 1, 0, 70, 33},
         "The labels do not fit down the paper: a margin of 1 mm and 9 labels of 33 mm need "
         "298 mm, and the paper is 297 mm long."},
        {"Letter takes what A4 does not", letter, {3, 8, 0, 5, 70, 34}, ""},
        {"one mm past Letter",
         letter,
         {2, 8, 0, 0, 108, 34},
         "The labels do not fit across the paper: a margin of 0 mm and 2 labels of 108 mm need "
         "216 mm, and the paper is 215.9 mm wide."},
        {"Letter's length", letter, {3, 10, 0, 0, 70, 28}, "The labels do not fit down"},
        {"no labels across", a4, {0, 8, 0, 0, 70, 37}, "The number of labels across"},
        {"21 down", a4, {3, 21, 0, 0, 70, 1}, "The number of labels down"},
        {"a negative margin", a4, {3, 8, -1, 0, 70, 37}, "A margin cannot"},
        {"a pitch of 0", a4, {3, 8, 0, 0, 0, 37}, "The distance"},
    };
    for (const Case& c : cases) {
        const QString refusal = LabelSheetRefusal(c.values, c.paper);
        if (*c.refusal == '\0') {
            EXPECT_EQ(refusal, QString()) << c.name;
        } else {
            EXPECT_TRUE(refusal.startsWith(QString::fromUtf8(c.refusal)))
                << c.name << ": " << refusal.toStdString();
        }
    }
    EXPECT_EQ(LabelPaperText(a4), QStringLiteral("Paper: A4, 210 × 297 mm"));
}

// The sheet over a messages database of the test's own, its settings 3 x 8.
class LabelSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TestHome() + QStringLiteral("/Messages");
        QDir().mkpath(folder_);
        auto db = std::make_unique<OrlixDatabase>();
        db->SetChangeWatch(0, 0);
        ASSERT_EQ(db->OpenDatabase(folder_, QString()), 0);
        Program::Instance().SetDatabase(std::move(db));
        LabelSheetSettings& s = settings();
        s.SetLabelsAcross(3);
        s.SetLabelsDown(8);
        // Within A4 and Letter alike, so that the set-up dialog keeps what the tests give it.
        s.SetHorizontalPitch(68);
        s.SetVerticalPitch(33);
        s.SetLeftMargin(5);
        s.SetTopMargin(10);
        TestMessageBoxes().clear();
        sheet_ = std::make_unique<frmAddressLabels>();
        sheet_->SetAddress(QStringLiteral("Ann Winner\r\n1 High Street\r\nTown"));
    }
    void TearDown() override {
        sheet_.reset();
        Program::Instance().SetDatabase(nullptr);
    }
    static LabelSheetSettings& settings() {
        return Program::Instance().Database()->LabelSheetSettings();
    }
    void press(const char* key) { sheet_->Button(QString::fromUtf8(key))->trigger(); }
    // "printsetup" answered with the counts given; Cancel when across is 0.
    void setUp(int across, int down) {
        TestDialogs().queue([across, down](QDialog& d) {
            auto& setup = dynamic_cast<LabelSheetSetupDialog&>(d);
            if (across == 0) {
                setup.reject();
                return;
            }
            setup.AcrossBox()->setValue(across);
            setup.DownBox()->setValue(down);
            setup.accept();
        });
        press("printsetup");
    }
    static QString lastBox() {
        return TestMessageBoxes().shown().empty() ? QString()
                                                  : TestMessageBoxes().shown().back().text;
    }

    QString folder_;
    std::unique_ptr<frmAddressLabels> sheet_;
};

TEST_F(LabelSheetTest, EveryLabelStartsWithTheAddress) {
    ASSERT_EQ(sheet_->SlotCount(), 24);
    for (int n = 1; n <= 24; ++n) {
        EXPECT_EQ(sheet_->Caption(n), QStringLiteral("Ann Winner\r\n1 High Street\r\nTown"));
        EXPECT_FALSE(sheet_->Selected(n));
    }
    EXPECT_EQ(sheet_->LabelPanel(4)->geometry(), (TwipsRect{60, 1360, 2600, 880}.toPixels()));
    EXPECT_EQ(sheet_->CaptionPanel(4)->geometry(), (TwipsRect{120, 1420, 2450, 730}.toPixels()));
}

TEST_F(LabelSheetTest, AClickTogglesALabelAndTheAllButtonsSelectTheGrid) {
    sheet_->ClickLabel(2);
    EXPECT_TRUE(sheet_->Selected(2));
    EXPECT_NE(sheet_->CaptionPanel(2)->styleSheet().indexOf(QStringLiteral("#cce4ff")), -1);
    sheet_->ClickLabel(2);
    EXPECT_FALSE(sheet_->Selected(2));
    // Shrunk to 3 x 7, the last row is kept out of sight and out of "selectall".
    setUp(3, 7);
    EXPECT_FALSE(sheet_->LabelPanel(22)->isVisibleTo(sheet_.get()));
    press("selectall");
    EXPECT_TRUE(sheet_->Selected(21));
    EXPECT_FALSE(sheet_->Selected(22));
    setUp(3, 8);
    sheet_->ClickLabel(24);
    setUp(3, 7);
    press("deselectall");
    EXPECT_FALSE(sheet_->Selected(1));
    EXPECT_FALSE(sheet_->Selected(24));
}

// Editing two labels leaves a third as it was; a shrunk grid keeps the hidden labels' text,
// and enlarging it again gives the address back to a selected one only.
TEST_F(LabelSheetTest, EditingShrinkingAndEnlarging) {
    const QString address = sheet_->Caption(1);
    sheet_->ClickLabel(23);
    sheet_->ClickLabel(24);
    press("edit");
    ASSERT_TRUE(sheet_->Editing());
    EXPECT_TRUE(sheet_->EditMarked(23));
    EXPECT_FALSE(sheet_->EditMarked(22));
    EXPECT_EQ(sheet_->EditBox()->toPlainText(),
              QString(address).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    sheet_->EditBox()->setPlainText(QStringLiteral("Edited"));
    EXPECT_EQ(sheet_->Caption(23), QStringLiteral("Edited"));
    EXPECT_EQ(sheet_->Caption(24), QStringLiteral("Edited"));
    EXPECT_EQ(sheet_->Caption(22), address);
    // A label click ends the editing, once.
    sheet_->ClickLabel(23);
    EXPECT_FALSE(sheet_->Editing());
    EXPECT_FALSE(sheet_->Button(QStringLiteral("edit"))->isChecked());
    EXPECT_FALSE(sheet_->EditMarked(24));
    EXPECT_FALSE(sheet_->EditBox()->isVisibleTo(sheet_.get()));

    setUp(3, 7);
    EXPECT_FALSE(sheet_->CaptionPanel(23)->isVisibleTo(sheet_.get()));
    EXPECT_EQ(sheet_->Caption(23), QStringLiteral("Edited"));
    setUp(3, 8);
    EXPECT_TRUE(sheet_->CaptionPanel(23)->isVisibleTo(sheet_.get()));
    EXPECT_EQ(sheet_->Caption(23), QStringLiteral("Edited"));
    EXPECT_EQ(sheet_->Caption(24), address);
    EXPECT_TRUE(sheet_->Selected(24));

    // "clear" empties every label and keeps the selection.
    press("clear");
    EXPECT_EQ(sheet_->Caption(1), QString());
    EXPECT_TRUE(sheet_->Selected(24));
}

TEST_F(LabelSheetTest, NothingSelectedIsRefused) {
    press("edit");
    EXPECT_EQ(lastBox(), QStringLiteral("You must select at least one label"));
    EXPECT_FALSE(sheet_->Button(QStringLiteral("edit"))->isChecked());
    EXPECT_FALSE(sheet_->Editing());
    press("print");
    EXPECT_EQ(lastBox(), QStringLiteral("You must select at least one label to print!"));
    EXPECT_TRUE(TestCommonDialogs().printRequests().empty());
    // A cancelled print does nothing.
    sheet_->ClickLabel(1);
    TestMessageBoxes().clear();
    TestCommonDialogs().queuePrint({false, false, QString()});
    press("print");
    EXPECT_EQ(TestCommonDialogs().printRequests().size(), 1U);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(TestCommonDialogs().printedFiles().empty());
}

// OK keeps the values in the database (a second database object on the file reads them), a
// sheet too large for the paper is refused with the values kept, Cancel changes nothing.
TEST_F(LabelSheetTest, TheSetUpDialogStoresWhatFits) {
    setUp(2, 5);
    const auto reread = [this] {
        OrlixDatabase other;
        other.SetChangeWatch(0, 0);
        EXPECT_EQ(other.OpenDatabase(folder_, QString()), 0);
        return std::make_pair(other.LabelSheetSettings().LabelsAcross(),
                              other.LabelSheetSettings().LabelsDown());
    };
    EXPECT_EQ(reread(), std::make_pair(2, 5));
    EXPECT_EQ(sheet_->GridSlots(), 10);
    setUp(0, 0);
    EXPECT_EQ(reread(), std::make_pair(2, 5));
    TestDialogs().queue([](QDialog& d) {
        auto& setup = dynamic_cast<LabelSheetSetupDialog&>(d);
        EXPECT_EQ(setup.windowTitle(), QStringLiteral("Label Sheet Settings"));
        EXPECT_TRUE(setup.PaperLabel()->text().startsWith(QStringLiteral("Paper: ")));
        setup.LeftMarginBox()->setValue(500);
        setup.accept();
        EXPECT_TRUE(setup.isVisible());
        EXPECT_EQ(setup.LeftMarginBox()->value(), 500);
        setup.reject();
    });
    press("printsetup");
    EXPECT_TRUE(lastBox().startsWith(QStringLiteral("The labels do not fit across the paper")));
    EXPECT_EQ(settings().LeftMargin(), 5);
}

// What tools/screenshots shows: the sheet with two labels selected while they are edited, and
// the set-up dialog. The edited lines show in the two selected labels alone, the others keep
// the address, and the set-up boxes show the stored sheet.
TEST_F(LabelSheetTest, TheSheetShowsTheEditedLabelsAndItsSetUpTheStoredSheet) {
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    const QString address = QStringLiteral("Ann Winner\n1 High Street\nTown");
    const QString edited = QStringLiteral("Bart Prizewinner\n22 Long Avenue\nSpringfield");
    sheet_->show();
    sheet_->ClickLabel(2);
    sheet_->ClickLabel(5);
    press("edit");
    sheet_->EditBox()->setPlainText(edited);
    QApplication::processEvents();
    const QImage image = sheet_->grab().toImage();
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(sheet_->GridSlots(), 24);
    for (int n = 1; n <= 24; ++n) {
        QLabel* caption = sheet_->CaptionPanel(n);
        const bool chosen = n == 2 || n == 5;
        EXPECT_EQ(sheet_->Caption(n).remove(QLatin1Char('\r')), chosen ? edited : address) << n;
        if (n == 2) {
            continue; // under the edit box, checked below
        }
        // Inside the border a marked label is drawn with.
        const QRect area = Pictures::RectIn(sheet_.get(), caption).adjusted(2, 2, -2, -2);
        EXPECT_TRUE(Pictures::ShowsWholeText(image, area, image.pixelColor(area.topLeft()),
                                             caption->font(), chosen ? edited : address))
            << n;
    }
    QPlainTextEdit* box = sheet_->EditBox();
    ASSERT_TRUE(box->isVisible());
    EXPECT_TRUE(Pictures::RectIn(sheet_.get(), box)
                    .intersects(Pictures::RectIn(sheet_.get(), sheet_->LabelPanel(2))));
    EXPECT_TRUE(Pictures::ShowsWholeText(
        image, Pictures::RectIn(sheet_.get(), box->viewport()).adjusted(1, 1, -1, -1),
        box->palette().color(QPalette::Base), box->font(), edited));

    LabelSheetSetupDialog setup(settings(), LabelPaper{QStringLiteral("A4"), 210, 297});
    setup.show();
    QApplication::processEvents();
    const QImage dialog = setup.grab().toImage();
    ASSERT_FALSE(dialog.isNull());
    const std::pair<QSpinBox*, int> boxes[] = {
        {setup.AcrossBox(), 3},           {setup.DownBox(), 8},
        {setup.TopMarginBox(), 10},       {setup.LeftMarginBox(), 5},
        {setup.HorizontalPitchBox(), 68}, {setup.VerticalPitchBox(), 33},
    };
    for (const auto& [spin, value] : boxes) {
        EXPECT_EQ(spin->value(), value);
        QLineEdit* text = spin->findChild<QLineEdit*>();
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(Pictures::ShowsWholeText(
            dialog, Pictures::RectIn(&setup, text).adjusted(2, 2, -2, -2),
            text->palette().color(QPalette::Base), text->font(), spin->text()))
            << value;
    }
    if (!shots.isEmpty()) {
        EXPECT_TRUE(image.save(shots + QStringLiteral("/address-labels.png")));
        EXPECT_TRUE(dialog.save(shots + QStringLiteral("/label-sheet-settings.png")));
    }
}

// The words pdftotext finds on the first page, with their top left corners in millimetres.
struct Word {
    QString text;
    double left = 0;
    double top = 0;
};
std::vector<Word> wordsOf(const QString& pdf) {
    std::vector<Word> words;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000)) {
        return words;
    }
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(3), m.captured(1).toDouble() * 25.4 / 72,
                         m.captured(2).toDouble() * 25.4 / 72});
    }
    return words;
}

TEST_F(LabelSheetTest, TheSelectedLabelsPrintWhereTheSheetSays) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    // The example sheet, which does not fit A4 across: the settings are the station's.
    settings().SetHorizontalPitch(70);
    settings().SetVerticalPitch(37);
    // Slot 24 selected, then left below the grid: it must not print.
    sheet_->ClickLabel(24);
    settings().SetLabelsDown(7);
    sheet_->LayoutLabelSheet(false);
    sheet_->ClickLabel(5);
    press("edit");
    sheet_->EditBox()->setPlainText(QStringLiteral("Zed\nYork"));
    press("edit");
    const QString pdf = TestHome() + QStringLiteral("/labels.pdf");
    TestCommonDialogs().queuePrint({true, false, pdf});
    TestMessageBoxes().clear();
    press("print");
    EXPECT_EQ(lastBox(), QStringLiteral("Your address labels have been printed on: ") + pdf);
    const auto words = wordsOf(pdf);
    ASSERT_EQ(words.size(), 2U) << "only slot 5 prints";
    EXPECT_EQ(words[0].text, QStringLiteral("Zed"));
    EXPECT_NEAR(words[0].left, 75, 0.5);
    EXPECT_NEAR(words[0].top, 47, 1);
    EXPECT_EQ(words[1].text, QStringLiteral("York"));
    EXPECT_NEAR(words[1].left, 75, 0.5);
    // One line of 12 point text lower: about 1.15 x 12 pt.
    EXPECT_NEAR(words[1].top - words[0].top, 1.15 * 12 * 25.4 / 72, 1);
}

TEST_F(LabelSheetTest, AnOutputFileThatCannotBeWrittenIsReported) {
    sheet_->ClickLabel(1);
    TestCommonDialogs().queuePrint(
        {true, false, TestHome() + QStringLiteral("/no such folder/labels.pdf")});
    press("print");
    EXPECT_EQ(lastBox(), QStringLiteral("There was a problem printing your labels and the error's "
                                        "description was reported as : \n\n\"the printer could "
                                        "not start the document\""));
}

} // namespace
