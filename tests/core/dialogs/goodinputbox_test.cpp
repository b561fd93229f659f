#include "core/dialogs/frmgoodinputbox.h"
#include "core/dialogs/goodinputbox.h"
#include "core/dialogs/inputboxlayout.h"
#include "dialogtestkit.h"
#include "platform/ui/mousepointer.h"
#include "platform/ui/textbox.h"
#include "platform/ui/twips.h"
#include "support/enterbox.h"
#include "support/scripteddialogs.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleOptionFrame>

#include <gtest/gtest.h>

#include <functional>

namespace {
frmGoodInputBox& Box(QDialog& d) {
    return *qobject_cast<frmGoodInputBox*>(&d);
}

const QStringList kFive = {QStringLiteral("Ann"), QStringLiteral("Bob"), QStringLiteral("Cat"),
                           QStringLiteral("Dan"), QStringLiteral("Eve")};

struct Outcome {
    bool cancelled = false;
    QString result;
};

Outcome AskText(const QString& defaultText, qint32 maxLength, ScriptedDialogs::Action action,
                const QString& password = QString()) {
    TestDialogs().queue(std::move(action));
    Outcome o;
    o.result = QStringLiteral("unchanged");
    o.cancelled = GoodInputBox(QStringLiteral("  Script name:  "), QStringLiteral("  Save As  "),
                               defaultText, maxLength, o.result, nullptr, password);
    return o;
}

Outcome AskList(const QString& defaultValue, const QVariant& items, bool multiple,
                ScriptedDialogs::Action action) {
    TestDialogs().queue(std::move(action));
    Outcome o;
    o.result = QStringLiteral("unchanged");
    o.cancelled = GoodInputBoxList(QStringLiteral("Choose:"), defaultValue, o.result,
                                   QStringLiteral("Select"), nullptr, true, items, multiple);
    return o;
}

QStringList Ticked(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked) {
            out << QString::number(i + 1);
        }
    }
    return out;
}
} // namespace

TEST(GoodInputBox, TypedTextConfirmedWithOkOrEnter) {
    struct Case {
        const char* name;
        std::function<void(QDialog&)> confirm;
    };
    const Case cases[] = {
        {"OK button", [](QDialog& d) { Click(Box(d).cmdOk()); }},
        {"Enter in the text box", [](QDialog&) { Press(Qt::Key_Return); }},
    };
    for (const Case& c : cases) {
        const Outcome o = AskText(QStringLiteral("Old name"), 0, [&c](QDialog& d) {
            ASSERT_EQ(Focused(), Box(d).Text1());
            // The default is selected as the box gets the focus: typing replaces it.
            EXPECT_EQ(Box(d).Text1()->selectedText(), QStringLiteral("Old name"));
            Type(QStringLiteral("Breakfast show"));
            c.confirm(d);
        });
        EXPECT_FALSE(o.cancelled) << c.name;
        EXPECT_EQ(o.result, QStringLiteral("Breakfast show")) << c.name;
    }
}

TEST(GoodInputBox, CancelEscAndTheCloseBoxAllReportACancel) {
    struct Case {
        const char* name;
        std::function<void(QDialog&)> leave;
    };
    const Case cases[] = {
        {"Cancel button", [](QDialog& d) { Click(Box(d).cmdCancel()); }},
        {"Esc", [](QDialog&) { Press(Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
        {"no answer at all", [](QDialog&) {}},
    };
    for (const Case& c : cases) {
        const Outcome o = AskText(QStringLiteral("Old"), 0, [&c](QDialog& d) {
            Type(QStringLiteral("typed"));
            c.leave(d);
            EXPECT_FALSE(d.isVisible() && std::string(c.name) != "no answer at all") << c.name;
        });
        EXPECT_TRUE(o.cancelled) << c.name;
        EXPECT_EQ(o.result, QString()) << c.name;
    }
}

TEST(GoodInputBox, ShowsTrimmedTitleAndPromptModallyAndTopmost) {
    AskText(QString(), 0, [](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Save As"));
        EXPECT_EQ(Box(d).lblCaption()->text(), QStringLiteral("Script name:"));
        EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(Box(d).Text1()->isVisible());
        EXPECT_FALSE(Box(d).comboList()->isVisible());
        EXPECT_FALSE(Box(d).listMulti()->isVisible());
        // The back colour every caller passes is the desktop's button face.
        EXPECT_EQ(d.palette().color(QPalette::Window),
                  QApplication::palette().color(QPalette::Button));
    });
    ASSERT_EQ(TestDialogs().shown().size(), 1U);
    EXPECT_TRUE(TestDialogs().shown()[0].modal);
    EXPECT_EQ(TestDialogs().shown()[0].className, QStringLiteral("frmGoodInputBox"));
}

TEST(GoodInputBox, APromptQuotingMarkupShowsItAsWritten) {
    const QString prompt = QStringLiteral("Rename the script '<b>News</b> &amp; <i>Sport</i>':");
    TestDialogs().queue([&prompt](QDialog& d) {
        EXPECT_EQ(Box(d).lblCaption()->textFormat(), Qt::PlainText);
        EXPECT_EQ(Box(d).lblCaption()->text(), prompt);
        d.reject();
    });
    QString result;
    GoodInputBox(prompt, QStringLiteral("Rename"), QString(), 0, result, nullptr);
    ASSERT_EQ(TestDialogs().shown().size(), 1U);
}

TEST(GoodInputBox, MaximumLength) {
    const QString longText(500, QLatin1Char('a'));
    struct Case {
        const char* name;
        QString defaultText;
        qint32 maxLength;
        QString typed;
        QString expected;
    };
    const Case cases[] = {
        {"no limit", QString(), 0, longText, longText},
        {"limit stops typing", QString(), 5, QStringLiteral("abcdefgh"), QStringLiteral("abcde")},
        {"longer default shown whole, cannot grow", QStringLiteral("abcdefghij"), 5,
         QStringLiteral("xyz"), QStringLiteral("abcdefghij")},
    };
    for (const Case& c : cases) {
        const Outcome o = AskText(c.defaultText, c.maxLength, [&c](QDialog& d) {
            EXPECT_EQ(Box(d).Text1()->text(), c.defaultText) << c.name;
            Box(d).Text1()->end(false);
            Type(c.typed);
            Click(Box(d).cmdOk());
        });
        EXPECT_FALSE(o.cancelled) << c.name;
        EXPECT_EQ(o.result, c.expected) << c.name;
    }
}

TEST(GoodInputBox, APasswordCharacterMasksWithItsFirstCharacterOnly) {
    const Outcome o = AskText(
        QString(), 0,
        [](QDialog& d) {
            TextBox* text = Box(d).Text1();
            EXPECT_EQ(text->echoMode(), QLineEdit::Password);
            QStyleOptionFrame option;
            option.initFrom(text);
            EXPECT_EQ(
                text->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, text),
                static_cast<int>(QLatin1Char('#').unicode()));
            Type(QStringLiteral("secret"));
            Press(Qt::Key_Enter);
        },
        QStringLiteral("#*"));
    EXPECT_EQ(o.result, QStringLiteral("secret"));
}

TEST(GoodInputBox, TabMovesThroughTheControls) {
    AskText(QString(), 0, [](QDialog& d) {
        frmGoodInputBox& box = Box(d);
        ASSERT_EQ(Focused(), box.Text1());
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), box.cmdCancel());
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), box.cmdOk());
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), box.Text1());
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(Focused(), box.cmdOk());
        // Space presses the focused button, as Enter does.
        Press(Qt::Key_Space);
    });
}

TEST(GoodInputBox, TheOwnerIsShownAgainWhenTheBoxCloses) {
    QWidget owner;
    owner.setWindowIcon(QIcon(QPixmap(16, 16)));
    TestDialogs().queue([&owner](QDialog& d) {
        EXPECT_EQ(d.parentWidget(), &owner);
        EXPECT_FALSE(d.windowIcon().isNull());
        owner.hide();
        Click(Box(d).cmdOk());
    });
    QString result;
    GoodInputBox(QStringLiteral("p"), QStringLiteral("t"), QStringLiteral("x"), 0, result, &owner);
    EXPECT_TRUE(owner.isVisible());
}

TEST(GoodInputBoxList, SingleChoiceDefaults) {
    struct Case {
        const char* name;
        QString defaultValue;
        int preselected;
        QString result;
    };
    const Case cases[] = {
        {"matches", QStringLiteral("Cat"), 2, QStringLiteral("Cat")},
        {"partly matches", QStringLiteral("Ca"), -1, QString()},
        {"differs in case", QStringLiteral("cat"), -1, QString()},
        {"matches nothing", QStringLiteral("Zoe"), -1, QString()},
        {"empty", QString(), -1, QString()},
    };
    for (const Case& c : cases) {
        const Outcome o = AskList(c.defaultValue, kFive, false, [&c](QDialog& d) {
            QComboBox* combo = Box(d).comboList();
            EXPECT_TRUE(combo->isVisible());
            EXPECT_FALSE(combo->isEditable());
            EXPECT_FALSE(Box(d).Text1()->isVisible());
            EXPECT_EQ(Focused(), combo) << c.name;
            EXPECT_EQ(combo->count(), 5) << c.name;
            EXPECT_EQ(combo->currentIndex(), c.preselected) << c.name;
            Press(Qt::Key_Return);
        });
        EXPECT_FALSE(o.cancelled) << c.name;
        EXPECT_EQ(o.result, c.result) << c.name;
    }
}

TEST(GoodInputBoxList, SingleChoiceByKeyboard) {
    const Outcome o = AskList(QStringLiteral("Bob"), kFive, false, [](QDialog&) {
        Press(Qt::Key_Down);
        Press(Qt::Key_Down);
        Press(Qt::Key_Return);
    });
    EXPECT_FALSE(o.cancelled);
    EXPECT_EQ(o.result, QStringLiteral("Dan"));
}

TEST(GoodInputBoxList, MultipleChoiceDefaultsTickOnlyTheNumbersInTheList) {
    struct Case {
        const char* name;
        QString defaultValue;
        QStringList ticked;
    };
    const Case cases[] = {
        {"2,x,99", QStringLiteral("2,x,99"), {QStringLiteral("2")}},
        {"2,5", QStringLiteral("2,5"), {QStringLiteral("2"), QStringLiteral("5")}},
        {"0 and negative", QStringLiteral("0,-1"), {}},
        {"empty", QString(), {}},
    };
    for (const Case& c : cases) {
        const Outcome o = AskList(c.defaultValue, kFive, true, [&c](QDialog& d) {
            QListWidget* list = Box(d).listMulti();
            EXPECT_TRUE(list->isVisible());
            EXPECT_FALSE(Box(d).comboList()->isVisible());
            EXPECT_EQ(Ticked(list), c.ticked) << c.name;
            EXPECT_EQ(list->currentRow(), 0) << c.name;
            Click(Box(d).cmdOk());
        });
        EXPECT_EQ(o.result, c.ticked.join(QLatin1Char(','))) << c.name;
    }
}

TEST(GoodInputBoxList, MultipleChoiceTickedByKeyboardComesBackInListOrder) {
    const Outcome o = AskList(QString(), kFive, true, [](QDialog& d) {
        ASSERT_EQ(Focused(), Box(d).listMulti());
        Press(Qt::Key_End); // item 5
        Press(Qt::Key_Up);  // item 4
        Press(Qt::Key_Space);
        Press(Qt::Key_Home); // item 1
        Press(Qt::Key_Space);
        Press(Qt::Key_Down);
        Press(Qt::Key_Down); // item 3
        Press(Qt::Key_Space);
        Press(Qt::Key_Return);
    });
    EXPECT_FALSE(o.cancelled);
    EXPECT_EQ(o.result, QStringLiteral("1,3,4"));
}

TEST(GoodInputBoxList, ItemsThatAreNoListOfTextsLeaveTheListEmpty) {
    for (const bool multiple : {false, true}) {
        for (const QVariant& items : {QVariant(), QVariant(42), QVariant(QStringLiteral("Ann"))}) {
            const Outcome o = AskList(QStringLiteral("1"), items, multiple, [multiple](QDialog& d) {
                EXPECT_EQ(multiple ? Box(d).listMulti()->count() : Box(d).comboList()->count(), 0);
                Click(Box(d).cmdOk());
            });
            EXPECT_FALSE(o.cancelled);
            EXPECT_EQ(o.result, QString());
        }
    }
}

TEST(GoodInputBoxList, CancelledInEitherMode) {
    for (const bool multiple : {false, true}) {
        const Outcome o = AskList(QStringLiteral("2"), kFive, multiple, [](QDialog& d) {
            Press(Qt::Key_Down);
            Click(Box(d).cmdCancel());
        });
        EXPECT_TRUE(o.cancelled);
        EXPECT_EQ(o.result, QString());
    }
}

TEST(GoodInputBoxListIndex, GivesThePositionOfTheChosenLineAmongAlikeLines) {
    const QStringList alike = {QStringLiteral("Ann Smith"), QStringLiteral("Ann Smith"),
                               QString(600, QLatin1Char('A'))};
    TestDialogs().queue([](QDialog&) {
        EXPECT_EQ(
            Box(*qobject_cast<QDialog*>(QApplication::activeWindow())).comboList()->currentIndex(),
            0);
        Press(Qt::Key_Down);
        Press(Qt::Key_Return);
    });
    QString result;
    int index = 99;
    EXPECT_FALSE(GoodInputBoxListIndex(QStringLiteral("p"), QStringLiteral("Ann Smith"), result,
                                       index, QStringLiteral("Select Contact"), nullptr, true,
                                       alike));
    EXPECT_EQ(result, QStringLiteral("Ann Smith"));
    EXPECT_EQ(index, 1);

    TestDialogs().queue([](QDialog&) {
        Press(Qt::Key_End);
        Press(Qt::Key_Return);
    });
    EXPECT_FALSE(GoodInputBoxListIndex(QStringLiteral("p"), QString(), result, index,
                                       QStringLiteral("t"), nullptr, true, alike));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(result.size(), 600);

    TestDialogs().queue([](QDialog& d) { d.close(); });
    EXPECT_TRUE(GoodInputBoxListIndex(QStringLiteral("p"), QString(), result, index,
                                      QStringLiteral("t"), nullptr, true, alike));
    EXPECT_EQ(index, -1);
    EXPECT_EQ(result, QString());
}

TEST(InputBoxLayout, ControlsUnderThePromptButtonsUnderTheControlWindowEndsUnderTheButtons) {
    struct Case {
        int captionHeight;
        bool listMode;
        InputBoxLayout expected;
    };
    // Text row 300 twips high, list 1815.
    const Case cases[] = {
        {195, false, {435, 855, 1350}},
        {585, false, {825, 1245, 1740}},
        {195, true, {435, 2370, 2865}},
        {0, false, {240, 660, 1155}},
    };
    for (const Case& c : cases) {
        InputBoxLayoutInput in;
        in.captionHeight = c.captionHeight;
        in.textHeight = 300;
        in.listHeight = 1815;
        in.listMode = c.listMode;
        const InputBoxLayout out = LayOutInputBox(in);
        EXPECT_EQ(out.controlTop, c.expected.controlTop);
        EXPECT_EQ(out.buttonTop, c.expected.buttonTop);
        EXPECT_EQ(out.innerHeight, c.expected.innerHeight);
    }
}

TEST(frmGoodInputBox, ALongPromptPushesTheControlsAndButtonsDown) {
    frmGoodInputBox box;
    box.lblCaption()->setText(QStringLiteral("Short"));
    box.show();
    const int shortHeight = box.height();
    box.hide();

    frmGoodInputBox tall;
    tall.lblCaption()->setText(
        QString(40, QLatin1Char(' ')).replace(QLatin1Char(' '), QStringLiteral("word ")));
    tall.show();
    EXPECT_GT(tall.lblCaption()->height(), box.lblCaption()->height());
    EXPECT_GT(tall.height(), shortHeight);
    for (frmGoodInputBox* b : {&box, &tall}) {
        const int gap = TwipsToPixels(120);
        EXPECT_NEAR(b->Text1()->y(), b->lblCaption()->geometry().bottom() + 1 + gap, 1);
        EXPECT_NEAR(b->cmdOk()->y(), b->Text1()->geometry().bottom() + 1 + gap, 1);
        EXPECT_EQ(b->cmdOk()->y(), b->cmdCancel()->y()); // always on one row
        EXPECT_NEAR(b->height(), b->cmdOk()->geometry().bottom() + 1 + gap, 1);
    }
}

TEST(frmGoodInputBox, InTheMultipleListModeTheButtonsGoUnderTheList) {
    frmGoodInputBox box;
    box.ReturnText = false;
    box.ReturnMultiList = true;
    box.Text1()->hide();
    box.comboList()->hide();
    box.show();
    EXPECT_NEAR(box.cmdOk()->y(), box.listMulti()->geometry().bottom() + 1 + TwipsToPixels(120), 1);
}

TEST(frmGoodInputBox, PositionModeGivesTheChosenNumberAndADoubleClickConfirms) {
    frmGoodInputBox box;
    box.ReturnText = false;
    box.ReturnMultiListNonSel = true;
    box.listMultiNonSel()->addItems(kFive);
    ASSERT_TRUE(ShowActive(box));
    box.cmdOk_Click();
    EXPECT_EQ(box.Tag(), QStringLiteral("0"));

    box.show();
    QListWidget* list = box.listMultiNonSel();
    const QRect cell = list->visualItemRect(list->item(3));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(box.Cancelled());
    EXPECT_EQ(box.Tag(), QStringLiteral("4"));
}

TEST(frmGoodInputBox, ComboModeGivesTheEditedText) {
    frmGoodInputBox box;
    box.ReturnText = false;
    box.ReturnCombo = true;
    box.comboCombo()->addItems(kFive);
    box.comboCombo()->setEditText(QStringLiteral("Gus"));
    ASSERT_TRUE(ShowActive(box));
    ASSERT_TRUE(WaitFor([&box] { return Focused() == box.comboCombo(); }));
    EXPECT_EQ(box.comboCombo()->lineEdit()->selectedText(), QStringLiteral("Gus"));
    Type(QStringLiteral("Hal"));
    Press(Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.Tag(), QStringLiteral("Hal"));
}

// Entering the text box or the combo box by a click or by Tab selects what it holds, so that
// typing replaces it: the click's caret comes after the focus and must not undo the selection.
TEST(frmGoodInputBox, EnteringTheTextSelectsItToBeTypedOver) {
    for (const bool combo : {false, true}) {
        for (const Entry how : {Entry::Click, Entry::Tab}) {
            SCOPED_TRACE(std::string(combo ? "combo box, " : "text box, ") + NameOf(how));
            frmGoodInputBox box;
            box.ReturnText = !combo;
            box.ReturnCombo = combo;
            QWidget* field = combo ? static_cast<QWidget*>(box.comboCombo()) : box.Text1();
            box.Text1()->setText(QStringLiteral("5"));
            box.comboCombo()->setEditText(QStringLiteral("5"));
            ASSERT_TRUE(ShowActive(box));
            ASSERT_TRUE(WaitFor([&box] { return Focused() != nullptr; }));
            if (how == Entry::Click) {
                // From elsewhere, as the user comes back to the box.
                box.cmdCancel()->setFocus();
            }
            ASSERT_TRUE(EnterBox(field, how));
            Type(QStringLiteral("10"));
            EXPECT_EQ(BoxText(field), QStringLiteral("10"));
        }
    }
}

TEST(GoodInputBox, ShowsTheDefaultPointerOverACallersHourglass) {
    MousePointerGuard busy(MousePointerGuard::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    TestDialogs().queue([](QDialog& d) {
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        Click(Box(d).cmdOk());
    });
    QString result;
    GoodInputBox(QStringLiteral("p"), QStringLiteral("t"), QString(), 0, result);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}
