#include "platform/ui/multilinetextbox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

#include <algorithm>
#include <limits>

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
}

MultiLineTextBox::~MultiLineTextBox() = default;

void MultiLineTextBox::SetText(const QString& text) {
    setPlainText(text);
}

void MultiLineTextBox::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
}

void MultiLineTextBox::SetLocked(bool locked) {
    setReadOnly(locked);
    setTextInteractionFlags(locked ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                   : Qt::TextEditorInteraction);
}

qsizetype MultiLineTextBox::room() const {
    if (maxLength_ <= 0) {
        return std::numeric_limits<qsizetype>::max();
    }
    const qsizetype selected = textCursor().selectedText().size();
    const qsizetype base = toPlainText().size() - selected;
    // Over an over-long text, what is typed may replace what it removes but not grow it.
    return std::max<qsizetype>(maxLength_ - base, selected);
}

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (printable && !isReadOnly() && typed.size() > room()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent* event) {
    const qsizetype allowed = room();
    if (event->commitString().size() <= allowed) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(event->commitString().left(allowed), event->replacementStart(),
                        event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || isReadOnly() || !source->hasText()) {
        return;
    }
    const QString text = source->text().left(room());
    if (text.isEmpty()) {
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}
