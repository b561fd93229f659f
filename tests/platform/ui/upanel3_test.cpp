#include "platform/ui/upanel3.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
using Style = uPanel3::PanelStyle;

struct PanelKind {
    Style style;
    int parent; // 0 or 1, or -1 for a panel on its own
};

struct GroupCase {
    const char* name;
    std::vector<PanelKind> panels;
    std::vector<int> before;
    int target;
    bool byUser; // a mouse click by the user, else SetValue(value) from code
    int value;
    std::vector<int> after;
};

const GroupCase kGroupCases[] = {
    {"code sets one of three",
     {{Style::Option, 0}, {Style::Option, 0}, {Style::Option, 0}},
     {1, 0, 0},
     2,
     false,
     1,
     {0, 0, 1}},
    {"the user clicks one of three",
     {{Style::Option, 0}, {Style::Option, 0}, {Style::Option, 0}},
     {1, 0, 0},
     1,
     true,
     0,
     {0, 1, 0}},
    {"clicking the option already set keeps it",
     {{Style::Option, 0}, {Style::Option, 0}, {Style::Option, 0}},
     {0, 1, 0},
     1,
     true,
     0,
     {0, 1, 0}},
    {"clearing from code leaves the others clear",
     {{Style::Option, 0}, {Style::Option, 0}, {Style::Option, 0}},
     {0, 1, 0},
     1,
     false,
     0,
     {0, 0, 0}},
    {"any non-zero value sets it and clears the group",
     {{Style::Option, 0}, {Style::Option, 0}},
     {1, 0},
     1,
     false,
     -7,
     {0, 1}},
    {"toggle and plain siblings are no part of the group",
     {{Style::Option, 0}, {Style::Check, 0}, {Style::Plain, 0}, {Style::Option, 0}},
     {0, 1, 1, 1},
     0,
     true,
     0,
     {1, 1, 1, 0}},
    {"setting a toggle button leaves the options alone",
     {{Style::Option, 0}, {Style::Check, 0}},
     {1, 0},
     1,
     false,
     1,
     {1, 1}},
    {"another parent is another group",
     {{Style::Option, 0}, {Style::Option, 1}, {Style::Option, 1}},
     {1, 1, 0},
     2,
     true,
     0,
     {1, 0, 1}},
    {"a panel without a parent is a group of its own",
     {{Style::Option, 0}, {Style::Option, -1}},
     {1, 0},
     1,
     false,
     1,
     {1, 1}},
};

std::unique_ptr<QWidget> ShownWindow() {
    auto window = std::make_unique<QWidget>();
    window->resize(400, 200);
    window->show();
    return window;
}
} // namespace

TEST(uPanel3, OptionGroupsAreTheOptionStyleSiblings) {
    for (const GroupCase& c : kGroupCases) {
        SCOPED_TRACE(c.name);
        QWidget parents[2];
        std::vector<std::unique_ptr<uPanel3>> panels;
        for (const PanelKind& kind : c.panels) {
            QWidget* parent = kind.parent < 0 ? nullptr : &parents[kind.parent];
            panels.push_back(std::make_unique<uPanel3>(parent, kind.style));
            panels.back()->setGeometry(static_cast<int>(panels.size()) * 60, 0, 50, 30);
        }
        for (std::size_t i = 0; i < panels.size(); ++i) {
            panels[i]->SetValue(c.before[i]);
        }
        for (QWidget& parent : parents) {
            parent.show();
        }
        uPanel3& target = *panels[static_cast<std::size_t>(c.target)];
        target.show();
        if (c.byUser) {
            QTest::mouseClick(&target, Qt::LeftButton);
        } else {
            target.SetValue(c.value);
        }
        std::vector<int> after;
        for (const auto& panel : panels) {
            after.push_back(panel->Value());
        }
        EXPECT_EQ(after, c.after);
    }
}

TEST(uPanel3, ACheckStylePanelTogglesOnEachClickAndKey) {
    auto window = ShownWindow();
    uPanel3 panel(window.get(), Style::Check);
    panel.setGeometry(10, 10, 80, 30);
    panel.show();
    QSignalSpy clicks(&panel, &uPanel3::Click);
    std::vector<int> values;

    QTest::mouseClick(&panel, Qt::LeftButton);
    values.push_back(panel.Value());
    QTest::mouseClick(&panel, Qt::LeftButton);
    values.push_back(panel.Value());
    QTest::keyClick(&panel, Qt::Key_Space);
    values.push_back(panel.Value());
    QTest::keyClick(&panel, Qt::Key_Return);
    values.push_back(panel.Value());
    QTest::keyClick(&panel, Qt::Key_Enter, Qt::KeypadModifier);
    values.push_back(panel.Value());

    EXPECT_EQ(values, (std::vector<int>{1, 0, 1, 0, 1}));
    EXPECT_EQ(clicks.count(), 5);
}

TEST(uPanel3, ClickComesOnlyFromTheUser) {
    auto window = ShownWindow();
    for (Style style : {Style::Plain, Style::Option, Style::Check}) {
        SCOPED_TRACE(static_cast<int>(style));
        uPanel3 panel(window.get(), style);
        panel.setGeometry(10, 10, 80, 30);
        panel.show();
        QSignalSpy clicks(&panel, &uPanel3::Click);

        panel.SetValue(1);
        panel.SetValue(0);
        panel.SetValue(5);
        EXPECT_EQ(panel.Value(), 1);
        panel.SetValue(0);
        EXPECT_EQ(clicks.count(), 0);

        // Pressed inside but let go outside, or another button: no click.
        QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(200, 5));
        QTest::mouseClick(&panel, Qt::RightButton);
        EXPECT_EQ(clicks.count(), 0);
        EXPECT_EQ(panel.Value(), 0);

        QTest::mouseClick(&panel, Qt::LeftButton);
        EXPECT_EQ(clicks.count(), 1);
        EXPECT_EQ(panel.Value(), style == Style::Plain ? 0 : 1);
    }
}

TEST(uPanel3, OnlyOptionAndCheckPanelsTakeFocusAndKeys) {
    uPanel3 plain(nullptr, Style::Plain);
    EXPECT_EQ(plain.focusPolicy(), Qt::NoFocus);
    QSignalSpy clicks(&plain, &uPanel3::Click);
    QTest::keyClick(&plain, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 0);

    plain.SetStyle(Style::Option);
    EXPECT_TRUE(plain.focusPolicy() & Qt::TabFocus);
    QTest::keyClick(&plain, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(plain.Value(), 1);
    // Other keys, and the click keys with a modifier, do nothing.
    QTest::keyClick(&plain, Qt::Key_A);
    QTest::keyClick(&plain, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(clicks.count(), 1);

    EXPECT_TRUE(uPanel3(nullptr, Style::Check).focusPolicy() & Qt::TabFocus);
}

TEST(uPanel3, DragOverReportsTheButtonsHeldAndRefusesTheDrop) {
    uPanel3 panel;
    QSignalSpy dragOver(&panel, &uPanel3::DragOver);
    QMimeData data;
    data.setData(QStringLiteral("application/x-unknown"), "x");
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;

    QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton | Qt::RightButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent rightMove(QPoint(6, 5), actions, &data, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &rightMove);
    EXPECT_TRUE(rightMove.isAccepted());
    QDragMoveEvent noButtons(QPoint(7, 5), actions, &data, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &noButtons);
    QDragMoveEvent leftMove(QPoint(8, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &leftMove);

    std::vector<int> states;
    for (const QList<QVariant>& call : dragOver) {
        states.push_back(call.at(0).toInt());
    }
    EXPECT_EQ(states, (std::vector<int>{1, static_cast<int>(Qt::RightButton), 0, 1}));

    QDropEvent drop(QPointF(8, 5), actions, &data, Qt::NoButton, Qt::NoModifier);
    drop.accept();
    QCoreApplication::sendEvent(&panel, &drop);
    EXPECT_FALSE(drop.isAccepted());
}

TEST(uPanel3, ResizedIsRaisedOnEachResize) {
    auto window = ShownWindow();
    uPanel3 panel(window.get());
    panel.setGeometry(0, 0, 80, 30);
    panel.show();
    QSignalSpy resized(&panel, &uPanel3::Resized);
    panel.resize(120, 40);
    panel.resize(120, 40); // no change, no event
    panel.setGeometry(5, 5, 60, 20);
    EXPECT_EQ(resized.count(), 2);
}

TEST(uPanel3, OptionAndCheckPanelsLookPressedInWhileSet) {
    for (Style style : {Style::Plain, Style::Option, Style::Check}) {
        SCOPED_TRACE(static_cast<int>(style));
        uPanel3 panel(nullptr, style);
        panel.SetCaption(QStringLiteral("News"));
        panel.SetBackColour(QColor(200, 220, 240));
        panel.resize(80, 30);
        const QImage clear = panel.grab().toImage();
        panel.SetValue(1);
        const QImage set = panel.grab().toImage();
        EXPECT_EQ(clear == set, style == Style::Plain);
        EXPECT_EQ(clear.pixelColor(clear.width() / 2, 3), QColor(200, 220, 240));
    }
}

namespace {
TEST(uPanel3, AButtonIsSunkenWhileHeldAndClicksOnAReleaseOverIt) {
    uPanel3 button(nullptr, Style::Button);
    button.resize(80, 40);
    button.show();
    QSignalSpy clicks(&button, &uPanel3::Click);
    const QImage up = button.grab().toImage();

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_NE(button.grab().toImage(), up) << "held: drawn pressed in";
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(button.grab().toImage(), up) << "let go: drawn as before";
    EXPECT_EQ(button.Value(), 0) << "a push button keeps no value";

    // Let go outside it: no click.
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(uPanel3, AButtonTakesNoFocusAndNoKeys) {
    uPanel3 button(nullptr, Style::Button);
    button.resize(80, 40);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    QSignalSpy clicks(&button, &uPanel3::Click);
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&button, key);
    }
    EXPECT_EQ(clicks.count(), 0);
    // Made a button later, an option panel gives up its focus too.
    uPanel3 option(nullptr, Style::Option);
    option.SetStyle(Style::Button);
    EXPECT_EQ(option.focusPolicy(), Qt::NoFocus);
}

TEST(uPanel3, ADisabledButtonIsGreyedAndNeverClicks) {
    uPanel3 button(nullptr, Style::Button);
    button.SetCaption(QStringLiteral("PreCue"));
    button.resize(80, 40);
    button.show();
    const QImage enabled = button.grab().toImage();
    QSignalSpy clicks(&button, &uPanel3::Click);
    button.setEnabled(false);
    EXPECT_NE(button.grab().toImage(), enabled);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);

    // Disabled while held, then enabled again: the old press does not click.
    button.setEnabled(true);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    button.setEnabled(false);
    button.setEnabled(true);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 0);
}

TEST(uPanel3, APictureIsKeptWithItsKeyAndNoneHasNoKey) {
    uPanel3 button(nullptr, Style::Button);
    button.resize(60, 60);
    button.show();
    const QImage bare = button.grab().toImage();
    QPixmap picture(24, 24);
    picture.fill(Qt::red);
    button.SetPicture(picture, QStringLiteral("playwhite"));
    EXPECT_EQ(button.PictureKey(), QStringLiteral("playwhite"));
    EXPECT_EQ(button.Picture().cacheKey(), picture.cacheKey());
    const QImage drawn = button.grab().toImage();
    EXPECT_EQ(drawn.pixelColor(30, 30), QColor(Qt::red)) << "drawn in the middle";
    button.SetPicture(QPixmap(), QStringLiteral("playwhite"));
    EXPECT_EQ(button.PictureKey(), QString());
    EXPECT_TRUE(button.Picture().isNull());
    EXPECT_EQ(button.grab().toImage(), bare);
}

TEST(uPanel3, TheTagIsKeptAsGiven) {
    uPanel3 panel;
    EXPECT_EQ(panel.Tag(), QString());
    panel.SetTag(QStringLiteral("1"));
    EXPECT_EQ(panel.Tag(), QStringLiteral("1"));
}
} // namespace
