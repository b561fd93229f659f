#include "platform/ui/tristatebutton.h"
#include "support/waitfor.h"

#include <QAction>
#include <QImage>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TEST(TriStateButton, UnpressedPressedAndMixedEachDrawTheirOwnWay) {
    QToolBar bar;
    bar.setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction* bold = bar.addAction(QStringLiteral("B"));
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QWidget* button = bar.widgetForAction(bold);
    ASSERT_NE(button, nullptr);
    const struct {
        int state;
        bool checked;
        int read;
    } cases[] = {{0, false, 0}, {1, true, 1}, {-1, false, -1}, {7, false, 0}};
    QList<QImage> pictures;
    for (const auto& c : cases) {
        TriStateButton::SetState(&bar, bold, c.state);
        EXPECT_EQ(bold->isChecked(), c.checked) << c.state;
        EXPECT_EQ(TriStateButton::State(bold), c.read) << c.state;
        pictures.append(button->grab().toImage());
    }
    EXPECT_NE(pictures[0], pictures[1]) << "pressed looks unpressed";
    EXPECT_NE(pictures[0], pictures[2]) << "mixed looks unpressed";
    EXPECT_NE(pictures[1], pictures[2]) << "mixed looks pressed";
    // Any other state is unpressed, and mixed leaves no trace once the selection moves on.
    EXPECT_EQ(pictures[3], pictures[0]);
}

} // namespace
