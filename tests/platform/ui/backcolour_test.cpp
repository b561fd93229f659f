#include "platform/ui/backcolour.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
TEST(PaintBackColour, AColourFillsTheWidgetAndNoColourGivesTheInheritedLookBack) {
    QWidget parent;
    auto* child = new QWidget(&parent);
    PaintBackColour(&parent, QColor(Qt::red));
    EXPECT_EQ(parent.palette().color(QPalette::Window), QColor(Qt::red));
    EXPECT_TRUE(parent.autoFillBackground());
    EXPECT_EQ(child->palette().color(QPalette::Window), QColor(Qt::red));

    PaintBackColour(child, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(child->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
    EXPECT_TRUE(child->autoFillBackground());
    // Its own colour stays when the parent's changes.
    PaintBackColour(&parent, QColor(Qt::green));
    EXPECT_EQ(child->palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));

    // No colour: the parent's look again, and the parent's later colours reach it.
    PaintBackColour(child, QColor());
    EXPECT_EQ(child->palette().color(QPalette::Window), QColor(Qt::green));
    EXPECT_FALSE(child->autoFillBackground());
    PaintBackColour(&parent, QColor());
    EXPECT_EQ(child->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Window));

    PaintBackColour(nullptr, QColor(Qt::red)); // nothing to paint: no crash
}
} // namespace
