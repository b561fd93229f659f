#include "platform/ui/multilinetextbox.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBoundaryFinder>
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

QString MultiLineTextBox::fitting(const QString& text) const {
    const qsizetype allowed = room();
    if (text.size() <= allowed) {
        return text;
    }
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (qsizetype next = characters.toNextBoundary(); next > 0 && next <= allowed;
         next = characters.toNextBoundary()) {
        end = next;
    }
    return text.left(end);
}

namespace {
// Text a key event brings into the box: anything but control characters (a character beyond
// the first plane comes as a surrogate pair, which is no printable unit on its own).
bool isTyping(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    const QList<uint> points = text.toUcs4();
    return std::any_of(points.cbegin(), points.cend(), [](uint c) { return QChar::isPrint(c); });
}
} // namespace

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    const QString typed = event->text();
    if (!isReadOnly() && isTyping(typed) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        const QString fits = fitting(typed);
        if (fits.size() < typed.size()) {
            if (!fits.isEmpty()) {
                textCursor().insertText(fits);
                ensureCursorVisible();
            }
            event->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const QString fits = fitting(commit);
    if (fits.size() == commit.size()) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent cut(event->preeditString(), event->attributes());
    cut.setCommitString(fits, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || isReadOnly() || !source->hasText()) {
        return;
    }
    const QString text = fitting(source->text());
    if (text.isEmpty()) {
        return;
    }
    textCursor().insertText(text);
    ensureCursorVisible();
}
