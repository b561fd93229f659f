#include "platform/ui/twips.h"
#include "platform/ui/usplitpanel.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
struct RectCase {
    const char* name;
    qint32 width;
    qint32 height;
    qint32 position;
    TwipsRect first;
    TwipsRect second;
};

// Separator and smallest pane are 60 twips each.
const RectCase kRectCases[] = {
    {"wide, position as set", 3000, 1500, 1000, {0, 0, 1000, 1500}, {1060, 0, 1940, 1500}},
    {"position 0 keeps the first pane's minimum",
     3000,
     1500,
     0,
     {0, 0, 60, 1500},
     {120, 0, 2880, 1500}},
    {"position near the right end keeps the second pane's minimum",
     3000,
     1500,
     2950,
     {0, 0, 2880, 1500},
     {2940, 0, 60, 1500}},
    {"position far beyond the width", 3000, 1500, 1000000, {0, 0, 2880, 1500}, {2940, 0, 60, 1500}},
    {"negative position", 3000, 1500, -500, {0, 0, 60, 1500}, {120, 0, 2880, 1500}},
    {"just wide enough for both minimums", 180, 90, 150, {0, 0, 60, 90}, {120, 0, 60, 90}},
    {"too narrow: the panes share what there is", 150, 90, 1000, {0, 0, 45, 90}, {105, 0, 45, 90}},
    {"too narrow, position 0", 151, 90, 0, {0, 0, 45, 90}, {105, 0, 46, 90}},
    {"room for the separator only", 60, 90, 500, {0, 0, 0, 90}, {60, 0, 0, 90}},
    {"narrower than the separator", 30, 15, 500, {0, 0, 0, 15}, {30, 0, 0, 15}},
    {"width and height 0", 0, 0, 1500, {0, 0, 0, 0}, {0, 0, 0, 0}},
    {"negative size", -150, -15, 1500, {0, 0, 0, 0}, {0, 0, 0, 0}},
};

// The point in the splitter's middle of its separator, in pixels.
QPoint SeparatorPoint(const uSplitPanel& splitter) {
    const TwipsRect first = splitter.FirstPaneRect();
    return {TwipsToPixels(first.width + splitter.SeparatorWidth() / 2.0), splitter.height() / 2};
}
} // namespace

TEST(uSplitPanel, PaneRectanglesForWidthsAndPositions) {
    for (const RectCase& c : kRectCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(uSplitPanel::FirstPaneRectFor(c.width, c.height, c.position), c.first);
        EXPECT_EQ(uSplitPanel::SecondPaneRectFor(c.width, c.height, c.position), c.second);
    }
}

TEST(uSplitPanel, TheWidgetReportsItsOwnSizeInTwips) {
    uSplitPanel splitter;
    EXPECT_EQ(splitter.SeparatorWidth(), 60);
    splitter.resize(200, 100);
    splitter.SetPosition(900);
    EXPECT_EQ(splitter.FirstPaneRect(), (TwipsRect{0, 0, 900, 1500}));
    EXPECT_EQ(splitter.SecondPaneRect(), (TwipsRect{960, 0, 2040, 1500}));

    splitter.resize(0, 0);
    EXPECT_EQ(splitter.FirstPaneRect(), (TwipsRect{0, 0, 0, 0}));
    EXPECT_EQ(splitter.SecondPaneRect(), (TwipsRect{0, 0, 0, 0}));
    EXPECT_EQ(splitter.Position(), 900);

    splitter.SetPosition(-40);
    EXPECT_EQ(splitter.Position(), 0);
}

TEST(uSplitPanel, APositionSetWhileNarrowIsKeptAndAppliedWhenWide) {
    uSplitPanel splitter; // hidden, as while a window is restored
    splitter.resize(10, 40);
    splitter.SetPosition(2400);
    EXPECT_EQ(splitter.Position(), 2400);
    EXPECT_EQ(splitter.FirstPaneRect().width, 45);

    splitter.show();
    splitter.resize(100, 40);
    EXPECT_EQ(splitter.Position(), 2400);
    EXPECT_EQ(splitter.FirstPaneRect().width, 1500 - 120);

    splitter.resize(400, 40);
    EXPECT_EQ(splitter.Position(), 2400);
    EXPECT_EQ(splitter.FirstPaneRect(), (TwipsRect{0, 0, 2400, 600}));
    EXPECT_EQ(splitter.SecondPaneRect(), (TwipsRect{2460, 0, 6000 - 2460, 600}));
}

TEST(uSplitPanel, LayoutIsRaisedOnSetPositionAndResizeAlsoWhileHidden) {
    uSplitPanel splitter;
    QSignalSpy layout(&splitter, &uSplitPanel::Layout);
    splitter.SetPosition(1200);
    EXPECT_EQ(layout.count(), 1);

    // Qt delivers a hidden widget's resize when it is shown; the rectangles are right at once.
    splitter.resize(300, 100);
    EXPECT_EQ(splitter.SecondPaneRect().width, 4500 - 1260);
    splitter.show();
    EXPECT_EQ(layout.count(), 2);

    splitter.resize(320, 100);
    EXPECT_EQ(layout.count(), 3);
    splitter.hide();
    splitter.SetPosition(1300);
    EXPECT_EQ(layout.count(), 4);
}

TEST(uSplitPanel, DraggingTheSeparatorMovesThePosition) {
    uSplitPanel splitter;
    splitter.resize(400, 200); // 6000 twips wide
    // The owner's control, made after the splitter and covering it, does not hide the separator.
    QWidget pane(&splitter);
    QObject::connect(&splitter, &uSplitPanel::Layout, &pane, [&] { pane.resize(splitter.size()); });
    splitter.SetPosition(1500);
    splitter.show();
    QSignalSpy layout(&splitter, &uSplitPanel::Layout);

    QWidget* separator = splitter.childAt(SeparatorPoint(splitter));
    ASSERT_NE(separator, nullptr);
    ASSERT_NE(separator, &pane);
    EXPECT_EQ(separator->cursor().shape(), Qt::SplitHCursor);

    const QPoint start = SeparatorPoint(splitter);
    const auto at = [&](int dx) { return separator->mapFrom(&splitter, start + QPoint(dx, 0)); };
    QTest::mousePress(separator, Qt::LeftButton, {}, at(0));
    QTest::mouseMove(separator, at(100));
    EXPECT_EQ(splitter.Position(), 1500 + 100 * 15);
    EXPECT_GE(layout.count(), 1);
    EXPECT_EQ(splitter.FirstPaneRect().width, splitter.Position());

    QTest::mouseMove(separator, at(1000)); // beyond the right end
    EXPECT_EQ(splitter.Position(), 6000 - 120);
    QTest::mouseMove(separator, at(-1000)); // beyond the left end
    EXPECT_EQ(splitter.Position(), 60);
    QTest::mouseMove(separator, at(-40));
    EXPECT_EQ(splitter.Position(), 1500 - 40 * 15);
    QTest::mouseRelease(separator, Qt::LeftButton, {}, at(-40));
    EXPECT_EQ(splitter.Position(), 900);
    EXPECT_EQ(splitter.childAt(SeparatorPoint(splitter)), separator);

    // After the release a move drags nothing.
    const int raised = static_cast<int>(layout.count());
    QTest::mouseMove(separator,
                     separator->mapFrom(&splitter, SeparatorPoint(splitter)) + QPoint(50, 0));
    EXPECT_EQ(splitter.Position(), 900);
    EXPECT_EQ(layout.count(), raised);
}
