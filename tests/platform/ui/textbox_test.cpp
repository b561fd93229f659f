#include "platform/system/appservices.h"
#include "platform/ui/textbox.h"

#include <QStyleOptionFrame>
#include <QTest>

#include <gtest/gtest.h>

TEST(TextBox, MaxLengthZeroTakesTextOfAnyLength) {
    TextBox box;
    box.SetMaxLength(0);
    const QString longText(300, QLatin1Char('x'));
    QTest::keyClicks(&box, longText);
    EXPECT_EQ(box.text(), longText);
}

TEST(TextBox, TypingAndPastingStopAtTheMaximumLength) {
    TextBox box;
    box.SetMaxLength(5);
    QTest::keyClicks(&box, QStringLiteral("abcdefg"));
    EXPECT_EQ(box.text(), QStringLiteral("abcde"));

    box.clear();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    box.insert(QStringLiteral("123456")); // what a paste does
    EXPECT_EQ(box.text(), QStringLiteral("ab123"));
    EXPECT_EQ(box.cursorPosition(), 5);
}

TEST(TextBox, ALongerTextFromTheProgramIsShownWholeAndCannotGrow) {
    TextBox box;
    box.SetMaxLength(5);
    box.setText(QStringLiteral("abcdefghij"));
    EXPECT_EQ(box.text(), QStringLiteral("abcdefghij"));

    box.end(false);
    QTest::keyClicks(&box, QStringLiteral("k"));
    EXPECT_EQ(box.text(), QStringLiteral("abcdefghij"));

    // Typing over a selection may replace it, never lengthen the text.
    box.setSelection(0, 1);
    QTest::keyClicks(&box, QStringLiteral("Z"));
    EXPECT_EQ(box.text(), QStringLiteral("Zbcdefghij"));

    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("bcdefghij"));
}

TEST(TextBox, TheKeyFilterSeesTypedAndPastedCharacters) {
    TextBox box;
    box.SetKeyFilter([](int key) { return AppServices::FilterNumericKey(key, 1); });
    QTest::keyClicks(&box, QStringLiteral("5a7"));
    EXPECT_EQ(box.text(), QStringLiteral("57"));
    box.insert(QStringLiteral("x1y2"));
    EXPECT_EQ(box.text(), QStringLiteral("5712"));
    box.insert(QStringLiteral("letters"));
    EXPECT_EQ(box.text(), QStringLiteral("5712"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("571"));
    // A dropped key over a selection leaves text and selection as they were.
    box.selectAll();
    QTest::keyClicks(&box, QStringLiteral("q"));
    EXPECT_EQ(box.text(), QStringLiteral("571"));
    EXPECT_EQ(box.selectedText(), QStringLiteral("571"));
}

TEST(TextBox, APasswordCharacterMasksWithItsFirstCharacter) {
    TextBox box;
    box.SetPasswordChar(QStringLiteral("*#"));
    EXPECT_EQ(box.echoMode(), QLineEdit::Password);
    EXPECT_EQ(box.PasswordChar(), QStringLiteral("*"));
    QStyleOptionFrame option;
    option.initFrom(&box);
    EXPECT_EQ(box.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, &option, &box),
              static_cast<int>(QLatin1Char('*').unicode()));

    box.SetPasswordChar(QString());
    EXPECT_EQ(box.echoMode(), QLineEdit::Normal);
}
