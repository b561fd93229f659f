#include "platform/system/formhelper.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

void FormHelper::SelectAllText(QWidget* control) {
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (combo->isEditable() && combo->lineEdit() != nullptr) {
            combo->lineEdit()->selectAll();
        }
    } else if (auto* text = qobject_cast<QTextEdit*>(control)) {
        text->selectAll();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control)) {
        spin->selectAll();
    }
}
