#include "platform/system/formhelper.h"
#include "platform/system/registrystore.h"
#include "support/enterbox.h"
#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

TEST(FormHelperSelectAllText, SelectsTheWholeTextOfATextBox) {
    QLineEdit box;
    box.setText(QStringLiteral("Studio 2"));
    box.setCursorPosition(3);
    FormHelper::SelectAllText(&box);
    EXPECT_EQ(box.selectedText(), QStringLiteral("Studio 2"));
    EXPECT_EQ(box.selectionStart(), 0);
}

TEST(FormHelperSelectAllText, SelectsTheWholeTextOfAnEditableCombo) {
    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText(QStringLiteral("Breakfast"));
    FormHelper::SelectAllText(&combo);
    EXPECT_EQ(combo.lineEdit()->selectedText(), QStringLiteral("Breakfast"));
}

TEST(FormHelperSelectAllText, SelectsTheWholeTextOfTextEditors) {
    QTextEdit rich;
    rich.setPlainText(QStringLiteral("one\ntwo"));
    FormHelper::SelectAllText(&rich);
    EXPECT_EQ(rich.textCursor().selectedText().size(), 7);

    QPlainTextEdit plain;
    plain.setPlainText(QStringLiteral("three"));
    FormHelper::SelectAllText(&plain);
    EXPECT_EQ(plain.textCursor().selectedText(), QStringLiteral("three"));
}

TEST(FormHelperSelectAllText, LeavesOtherControlsAlone) {
    QComboBox list; // a drop-down list has no text to select
    list.addItem(QStringLiteral("a"));
    FormHelper::SelectAllText(&list);
    FormHelper::SelectAllText(nullptr);
    EXPECT_EQ(list.currentText(), QStringLiteral("a"));
}

// The selection comes after the click that brought the focus, and only while wanted; a box
// that lost the focus again by then keeps its caret.
TEST(FormHelperSelectAllText, OnFocusSelectsAfterTheClickWhenWanted) {
    QWidget window;
    auto* box = new QLineEdit(QStringLiteral("5"), &window);
    auto* other = new QLineEdit(&window);
    other->move(0, 40);
    bool wanted = true;
    FormHelper::SelectAllTextOnFocus(box, [&wanted] { return wanted; });
    ASSERT_TRUE(ShowActive(window));
    const struct {
        const char* what;
        bool wanted;
        bool leaveAtOnce;
        bool selected;
    } cases[] = {{"wanted", true, false, true},
                 {"not wanted", false, false, false},
                 {"left at once", true, true, false}};
    for (const auto& c : cases) {
        other->setFocus();
        ASSERT_TRUE(WaitFor([other] { return other->hasFocus(); }));
        wanted = c.wanted;
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 2, box->height() / 2));
        ASSERT_TRUE(box->hasFocus()) << c.what;
        if (c.leaveAtOnce) {
            other->setFocus();
        }
        LetQueuedEventsRun();
        EXPECT_EQ(box->selectedText(), c.selected ? QStringLiteral("5") : QString()) << c.what;
    }
}

namespace {
std::string Text(const QRect& r) {
    return QStringLiteral("(%1, %2) %3x%4")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

const QString kPlacements = QStringLiteral("Software\\Kestova\\Orlix\\Windows");

QRect ScreenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A place well inside the primary screen.
QRect PlaceOnScreen() {
    return {ScreenArea().x() + 50, ScreenArea().y() + 60, 400, 300};
}

void WritePlacement(const QString& name, const QRect& place, qint32 state) {
    const QString key = kPlacements + QLatin1Char('\\') + name;
    RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QStringLiteral("Left"), place.x());
    RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QStringLiteral("Top"), place.y());
    RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QStringLiteral("Width"),
                               place.width());
    RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QStringLiteral("Height"),
                               place.height());
    RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QStringLiteral("State"), state);
}

qint32 StoredValue(const QString& name, const QString& value) {
    bool found = false;
    const qint32 v = RegistryStore::ReadNumber(
        RegistryRoot::CurrentUser, kPlacements + QLatin1Char('\\') + name, value, -1, &found);
    EXPECT_TRUE(found) << value.toStdString();
    return v;
}

QRect StoredPlace(const QString& name) {
    return {StoredValue(name, QStringLiteral("Left")), StoredValue(name, QStringLiteral("Top")),
            StoredValue(name, QStringLiteral("Width")),
            StoredValue(name, QStringLiteral("Height"))};
}

std::unique_ptr<QWidget> Form(const QString& name, const QRect& place = QRect(30, 40, 300, 250)) {
    auto form = std::make_unique<QWidget>();
    form->setObjectName(name);
    form->setGeometry(place);
    return form;
}
} // namespace

TEST(FormHelperWindowPlacement, RoundTripUnderTheFormsName) {
    auto main = Form(QStringLiteral("frmMain"), PlaceOnScreen());
    auto unnamed = Form(QString(), PlaceOnScreen().translated(20, 10));
    FormHelper::SaveWindowPlacement(kPlacements, main.get());
    FormHelper::SaveWindowPlacement(kPlacements, unnamed.get());
    EXPECT_EQ(StoredPlace(QStringLiteral("frmMain")), PlaceOnScreen());
    EXPECT_EQ(StoredValue(QStringLiteral("frmMain"), QStringLiteral("State")), 0);
    EXPECT_EQ(StoredPlace(QStringLiteral("Window")), PlaceOnScreen().translated(20, 10));

    auto restored = Form(QStringLiteral("frmMain"));
    FormHelper::RestoreWindowPlacement(kPlacements, restored.get());
    EXPECT_EQ(restored->geometry(), PlaceOnScreen());
    EXPECT_EQ(restored->windowState(), Qt::WindowNoState);
    restored->show();
    EXPECT_EQ(restored->geometry(), PlaceOnScreen());

    // No record for this name, and no form at all: nothing happens.
    auto other = Form(QStringLiteral("frmOther"));
    FormHelper::RestoreWindowPlacement(kPlacements, other.get());
    EXPECT_EQ(other->geometry(), QRect(30, 40, 300, 250));
    FormHelper::SaveWindowPlacement(kPlacements, nullptr);
    FormHelper::RestoreWindowPlacement(kPlacements, nullptr);
}

TEST(FormHelperWindowPlacement, StatesRoundTripWithTheNormalGeometry) {
    const struct {
        const char* name;
        Qt::WindowStates saved;
        qint32 stored;
        bool maximisedAfter;
    } cases[] = {
        {"normal", Qt::WindowNoState, 0, false},
        {"maximised", Qt::WindowMaximized, 2, true},
        {"minimised comes back normal", Qt::WindowMinimized, 1, false},
        {"minimised from maximised comes back normal", Qt::WindowMinimized | Qt::WindowMaximized, 1,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto form = Form(QStringLiteral("frmMessage"), PlaceOnScreen());
        form->setWindowState(c.saved);
        FormHelper::SaveWindowPlacement(kPlacements, form.get());
        EXPECT_EQ(StoredPlace(QStringLiteral("frmMessage")), PlaceOnScreen());
        EXPECT_EQ(StoredValue(QStringLiteral("frmMessage"), QStringLiteral("State")), c.stored);

        auto restored = Form(QStringLiteral("frmMessage"));
        FormHelper::RestoreWindowPlacement(kPlacements, restored.get());
        EXPECT_FALSE(restored->windowState().testFlag(Qt::WindowMinimized));
        EXPECT_EQ(restored->windowState().testFlag(Qt::WindowMaximized), c.maximisedAfter);
        EXPECT_EQ(restored->normalGeometry(), PlaceOnScreen());
    }
}

TEST(FormHelperWindowPlacement, AShownMaximisedFormKeepsItsNormalGeometry) {
    auto form = Form(QStringLiteral("frmMain"), PlaceOnScreen());
    form->show();
    form->showMaximized();
    // The platform takes the window to the whole screen in its own time.
    ASSERT_TRUE(
        WaitFor([&] { return form->isMaximized() && form->geometry() != PlaceOnScreen(); }));
    FormHelper::SaveWindowPlacement(kPlacements, form.get());
    EXPECT_EQ(StoredPlace(QStringLiteral("frmMain")), PlaceOnScreen());
    EXPECT_EQ(StoredValue(QStringLiteral("frmMain"), QStringLiteral("State")), 2);

    auto restored = Form(QStringLiteral("frmMain"));
    FormHelper::RestoreWindowPlacement(kPlacements, restored.get());
    restored->show();
    EXPECT_TRUE(WaitFor([&] { return restored->isMaximized(); }));
    restored->showNormal();
    EXPECT_TRUE(WaitFor([&] { return restored->geometry() == PlaceOnScreen(); }))
        << Text(restored->geometry());
}

TEST(FormHelperWindowPlacement, APlaceOffEveryScreenIsCentredOnThePrimaryScreen) {
    const QRect area = ScreenArea();
    const QRect centred(area.x() + (area.width() - 400) / 2, area.y() + (area.height() - 300) / 2,
                        400, 300);
    const struct {
        const char* name;
        QRect stored;
        QRect restored;
    } cases[] = {
        {"far to the right", {area.x() + 5000, area.y() + 10, 400, 300}, centred},
        {"only 99 pixels across on the screen",
         {area.right() - 98, area.y() + 10, 400, 300},
         centred},
        {"only 49 pixels down on the screen",
         {area.x() + 10, area.bottom() - 48, 400, 300},
         centred},
        {"100 by 50 pixels on the screen is enough",
         {area.right() - 99, area.bottom() - 49, 400, 300},
         {area.right() - 99, area.bottom() - 49, 400, 300}},
        {"above the screen", {area.x() + 10, area.y() - 1000, 400, 300}, centred},
        {"at the end of the number range", {2147483000, -2147483000, 400, 300}, centred},
        {"larger than the screen keeps its corner on it",
         {area.x() - 20000, area.y(), area.width() + 500, area.height() + 500},
         {area.x(), area.y(), area.width() + 500, area.height() + 500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WritePlacement(QStringLiteral("frmMain"), c.stored, 0);
        auto form = Form(QStringLiteral("frmMain"));
        FormHelper::RestoreWindowPlacement(kPlacements, form.get());
        EXPECT_EQ(form->geometry(), c.restored);
    }
}

TEST(FormHelperWindowPlacement, ADamagedRecordLeavesTheFormAsItIs) {
    const QString key = kPlacements + QStringLiteral("\\frmMain");
    const auto text = [&](const char* name) {
        return [&key, name] {
            RegistryStore::WriteString(RegistryRoot::CurrentUser, key, QLatin1String(name),
                                       QStringLiteral("wide"));
        };
    };
    const auto number = [&](const char* name, qint32 value) {
        return [&key, name, value] {
            RegistryStore::WriteNumber(RegistryRoot::CurrentUser, key, QLatin1String(name), value);
        };
    };
    const auto missing = [&](const char* name) {
        return [&key, name] {
            RegistryStore::DeleteValue(RegistryRoot::CurrentUser, key, QLatin1String(name));
        };
    };
    const struct {
        const char* name;
        std::function<void()> damage;
        bool applied;
    } cases[] = {
        {"a sound record is applied", [] {}, true},
        {"the smallest size is applied", number("Width", 200), true},
        {"the largest size is applied", number("Height", 10000), true},
        {"text for the width", text("Width"), false},
        {"text for the left edge", text("Left"), false},
        {"text for the state", text("State"), false},
        {"no top", missing("Top"), false},
        {"no state", missing("State"), false},
        {"too narrow", number("Width", 199), false},
        {"too low", number("Height", 149), false},
        {"a negative width", number("Width", -400), false},
        {"too wide", number("Width", 10001), false},
        {"a huge height", number("Height", 2000000000), false},
        {"an unknown state", number("State", 3), false},
        {"a negative state", number("State", -1), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegistryStore::DeleteKey(RegistryRoot::CurrentUser, key);
        WritePlacement(QStringLiteral("frmMain"), PlaceOnScreen(), 2);
        c.damage();
        auto form = Form(QStringLiteral("frmMain"));
        const QRect before = form->geometry();
        FormHelper::RestoreWindowPlacement(kPlacements, form.get());
        EXPECT_EQ(form->geometry() != before, c.applied) << Text(form->geometry());
        EXPECT_EQ(form->isMaximized(), c.applied);
    }
}

TEST(FormHelperListIndexOfItemData, FindsTheFirstItemWithTheData) {
    QComboBox combo;
    combo.addItem(QStringLiteral("Breakfast"), 10);
    combo.addItem(QStringLiteral("Drive"), 20);
    combo.addItem(QStringLiteral("Breakfast again"), 10);
    combo.addItem(QStringLiteral("no data"));
    combo.addItem(QStringLiteral("text data"), QStringLiteral("30"));
    combo.addItem(QStringLiteral("colour"), QVariant::fromValue<quint32>(0x8000000FU));
    combo.addItem(QStringLiteral("wide"), QVariant::fromValue<qint64>((qint64(1) << 40) + 5));
    combo.addItem(QStringLiteral("long"), QVariant::fromValue<qint64>(-7));

    const struct {
        const char* name;
        qint32 data;
        int index;
    } cases[] = {
        {"found", 20, 1},
        {"duplicates give the first", 10, 0},
        {"missing", 99, -1},
        {"an item without data is no 0", 0, -1},
        {"text data is no number", 30, -1},
        {"an unsigned 32-bit number by its bits", static_cast<qint32>(0x8000000FU), 5},
        {"a number beyond 32 bits never matches", 5, -1},
        {"a 64-bit number within range", -7, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormHelper::ListIndexOfItemData(&combo, c.data), c.index);
    }

    QComboBox empty;
    EXPECT_EQ(FormHelper::ListIndexOfItemData(&empty, 0), -1);
    EXPECT_EQ(FormHelper::ListIndexOfItemData(nullptr, 10), -1);
}

TEST(FormHelperWindowPlacement, PlacementTextRoundTripsAndBadTextLeavesTheForm) {
    auto form = Form(QStringLiteral("frmMessage"), PlaceOnScreen());
    const QString text = FormHelper::GetPlacementText(form.get());
    EXPECT_EQ(text,
              QStringLiteral("%1,%2,400,300,0").arg(PlaceOnScreen().x()).arg(PlaceOnScreen().y()));
    auto restored = Form(QStringLiteral("frmMessage"));
    EXPECT_TRUE(FormHelper::ApplyPlacementText(text, restored.get()));
    EXPECT_EQ(restored->geometry(), PlaceOnScreen());

    const QString far = QStringLiteral("%1,10,400,300,0").arg(ScreenArea().x() + 5000);
    EXPECT_TRUE(FormHelper::ApplyPlacementText(far, restored.get()));
    EXPECT_TRUE(FormHelper::IsPlacementOnScreen(restored->geometry()));

    for (const char* bad :
         {"", "1,2,400,300", "1,2,400,300,0,5", "a,2,400,300,0", "1,2,199,300,0", "1,2,400,149,0",
          "1,2,10001,300,0", "1,2,400,300,3", "1,2,400,300,-1", "1;2;400;300;0"}) {
        auto untouched = Form(QStringLiteral("frmMessage"));
        EXPECT_FALSE(FormHelper::ApplyPlacementText(QString::fromUtf8(bad), untouched.get()))
            << bad;
        EXPECT_EQ(untouched->geometry(), QRect(30, 40, 300, 250)) << bad;
    }
    EXPECT_EQ(FormHelper::GetPlacementText(nullptr), QString());
    EXPECT_FALSE(FormHelper::ApplyPlacementText(text, nullptr));
}
