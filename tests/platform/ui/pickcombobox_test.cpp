#include "platform/ui/pickcombobox.h"

#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// A window with the combo box of two entries of one name and one of another, and a box to
// move the focus to.
struct Window {
    QWidget window;
    PickComboBox* combo = new PickComboBox(&window);
    QLineEdit* next = new QLineEdit(&window);
    Window() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(combo);
        layout->addWidget(next);
        combo->addItem(QStringLiteral("Bob Caller"), 1);
        combo->addItem(QStringLiteral("Bob Caller"), 2);
        combo->addItem(QStringLiteral("Cat"), 3);
        combo->setCurrentIndex(-1);
    }
};

// The end of typing (leaving the field, Return) is announced and picks no entry, even when
// the text is exactly an entry's; only the user's own step through the list picks.
TEST(PickComboBox, TheEndOfTypingPicksNoEntry) {
    enum class End { Tab, Return, Click };
    for (End end : {End::Tab, End::Return, End::Click}) {
        Window w;
        ASSERT_TRUE(ShowActive(w.window));
        w.combo->setFocus();
        ASSERT_TRUE(WaitFor([&w] { return w.combo->hasFocus(); }));
        QSignalSpy picked(w.combo, &PickComboBox::EntryPicked);
        QSignalSpy finished(w.combo, &PickComboBox::TypingFinished);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Cat"));
        switch (end) {
        case End::Tab:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_TRUE(w.next->hasFocus());
            break;
        case End::Return:
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        case End::Click:
            QTest::mouseClick(w.next, Qt::LeftButton);
            EXPECT_TRUE(w.next->hasFocus());
            break;
        }
        EXPECT_EQ(finished.count(), 1) << int(end);
        EXPECT_EQ(picked.count(), 0) << int(end);
        EXPECT_EQ(w.combo->currentIndex(), -1) << int(end);
        EXPECT_EQ(w.combo->currentText(), QStringLiteral("Cat")) << int(end);
        EXPECT_EQ(w.combo->count(), 3) << int(end);
    }
}

TEST(PickComboBox, TheArrowKeysPickTheEntryTheyReach) {
    Window w;
    ASSERT_TRUE(ShowActive(w.window));
    w.combo->setFocus();
    ASSERT_TRUE(WaitFor([&w] { return w.combo->hasFocus(); }));
    w.combo->setCurrentIndex(0);
    QSignalSpy picked(w.combo, &PickComboBox::EntryPicked);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(w.combo->currentData().toInt(), 2);
}

} // namespace
