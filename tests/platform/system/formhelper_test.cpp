#include "platform/system/formhelper.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <gtest/gtest.h>

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
