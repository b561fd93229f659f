#include "messaging/safebodyview.h"

#include "messaging/linkdialog.h"
#include "platform/mime/safehtml.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/fontconversion.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>

#include <functional>

namespace {

BodyEditorFactory& factory() {
    static BodyEditorFactory made;
    return made;
}

// 1 when every character of the selection has the style, -1 when some have, 0 when none; a
// caret: the style at the caret.
int selectionState(const QTextCursor& cursor,
                   const std::function<bool(const QTextCharFormat&)>& has) {
    if (!cursor.hasSelection()) {
        return has(cursor.charFormat()) ? 1 : 0;
    }
    QTextCursor walk(cursor.document());
    int with = 0;
    int without = 0;
    for (int at = cursor.selectionStart() + 1; at <= cursor.selectionEnd(); ++at) {
        walk.setPosition(at);
        (has(walk.charFormat()) ? with : without) += 1;
        if (with > 0 && without > 0) {
            return -1;
        }
    }
    return with > 0 ? 1 : 0;
}

} // namespace

bool BodyEditor::HoldsFocus(const QWidget* focus) {
    QWidget* editor = Widget();
    return focus != nullptr && (focus == editor || editor->isAncestorOf(focus));
}

void SetBodyEditorFactory(BodyEditorFactory made) {
    factory() = std::move(made);
}

BodyEditor* MakeBodyEditor(QWidget* parent) {
    if (factory()) {
        if (BodyEditor* editor = factory()(parent)) {
            return editor;
        }
    }
    return new SafeBodyView(parent);
}

SafeBodyView::SafeBodyView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(true);
    connect(this, &QTextEdit::textChanged, this, [this] {
        if (!loading_ && OnChanged) {
            OnChanged();
        }
    });
    const auto selection = [this] {
        if (OnSelectionChanged) {
            OnSelectionChanged();
        }
    };
    connect(this, &QTextEdit::cursorPositionChanged, this, selection);
    connect(this, &QTextEdit::selectionChanged, this, selection);
    connect(this, &QTextEdit::currentCharFormatChanged, this, selection);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, selection);
}

void SafeBodyView::SetBodyHtml(const QString& html) {
    loading_ = true;
    setHtml(mime::SafeHtmlBody(html));
    loading_ = false;
}

void SafeBodyView::SetBodyPlainText(const QString& text) {
    loading_ = true;
    setPlainText(text);
    loading_ = false;
}

void SafeBodyView::SetEditMode(bool editable) {
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction : Qt::TextBrowserInteraction);
}

void SafeBodyView::CaretToStart() {
    QTextCursor cursor = textCursor();
    cursor.movePosition(QTextCursor::Start);
    setTextCursor(cursor);
    ensureCursorVisible();
    setFocus(Qt::OtherFocusReason);
}

void SafeBodyView::Command(const QString& command) {
    if (command == QStringLiteral("undo")) {
        undo();
        return;
    }
    if (command == QStringLiteral("redo")) {
        redo();
        return;
    }
    if (command == QStringLiteral("cut")) {
        cut();
        return;
    }
    if (command == QStringLiteral("copy")) {
        copy();
        return;
    }
    if (command == QStringLiteral("paste")) {
        paste();
        return;
    }
    QTextCharFormat format;
    const QTextCharFormat current = currentCharFormat();
    if (command == QStringLiteral("bold")) {
        format.setFontWeight(current.fontWeight() > QFont::Normal ? QFont::Normal : QFont::Bold);
    } else if (command == QStringLiteral("italic")) {
        format.setFontItalic(!current.fontItalic());
    } else if (command == QStringLiteral("underline")) {
        format.setFontUnderline(!current.fontUnderline());
    } else if (command == QStringLiteral("strikethrough")) {
        format.setFontStrikeOut(!current.fontStrikeOut());
    } else if (command == QStringLiteral("bulletlist")) {
        QTextCursor cursor = textCursor();
        if (QTextList* list = cursor.currentList()) {
            // Pressed again: the paragraph leaves the list.
            QTextBlockFormat block = cursor.blockFormat();
            list->remove(cursor.block());
            block.setIndent(0);
            cursor.setBlockFormat(block);
        } else {
            cursor.createList(QTextListFormat::ListDisc);
        }
        return;
    } else {
        return;
    }
    mergeCurrentCharFormat(format);
}

void SafeBodyView::SetFontSize(int size) {
    if (size < 1 || size > 7) {
        return;
    }
    QTextCharFormat format;
    format.setFontPointSize(FontConversion::StepPointSize(size));
    mergeCurrentCharFormat(format);
}

void SafeBodyView::ChooseFont(QWidget* owner) {
    const QTextCharFormat current = currentCharFormat();
    FontDialogRequest request;
    request.title = QStringLiteral("Font");
    request.initial = current.font();
    request.colour = current.foreground().color();
    request.owner = owner;
    const std::optional<FontAnswer> chosen = CommonDialogs().askFont(request);
    if (!chosen) {
        return;
    }
    QTextCharFormat format;
    format.setFont(chosen->font);
    mergeCurrentCharFormat(format);
}

void SafeBodyView::ChooseLink(QWidget* owner) {
    if (!EditMode()) {
        return;
    }
    QTextCursor cursor = textCursor();
    const std::optional<QString> address =
        AskLinkAddress(cursor.charFormat().anchorHref(), owner != nullptr ? owner : this);
    if (!address) {
        return;
    }
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(*address);
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(format);
    } else {
        // As the web editor does: with nothing selected the address itself becomes the link.
        cursor.insertText(*address, format);
    }
    setTextCursor(cursor);
}

BodyStyles SafeBodyView::Styles() const {
    const QTextCursor cursor = textCursor();
    BodyStyles styles;
    styles.Bold = selectionState(
        cursor, [](const QTextCharFormat& f) { return f.fontWeight() > QFont::Normal; });
    styles.Italic = selectionState(cursor, [](const QTextCharFormat& f) { return f.fontItalic(); });
    styles.Underline =
        selectionState(cursor, [](const QTextCharFormat& f) { return f.fontUnderline(); });
    styles.StrikeThrough =
        selectionState(cursor, [](const QTextCharFormat& f) { return f.fontStrikeOut(); });
    styles.HasSelection = cursor.hasSelection();
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    styles.CanPaste = clipboard != nullptr && (clipboard->hasText() || clipboard->hasHtml());
    return styles;
}

QVariant SafeBodyView::loadResource(int type, const QUrl& name) {
    Q_UNUSED(type);
    Q_UNUSED(name);
    ++resourceRequests_;
    return {};
}
