#include "platform/ui/pickcombobox.h"

#include <QLineEdit>

PickComboBox::PickComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // A typed text is never completed from the entries nor added to them.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    QLineEdit* edit = lineEdit();
    // The combo box's own handlers of the edit box's end look the text up among the entries
    // and report the first match as a pick; the end of typing is announced instead.
    disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
    disconnect(edit, &QLineEdit::returnPressed, this, nullptr);
    connect(edit, &QLineEdit::editingFinished, this, &PickComboBox::TypingFinished);
    connect(this, &QComboBox::activated, this, &PickComboBox::EntryPicked);
}

PickComboBox::~PickComboBox() = default;
