#include "scripts/scriptview.h"

#include "scripts/scriptfont.h"
#include "scripts/scriptrules.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <functional>

namespace {
bool isBold(const QTextCharFormat& f) {
    return f.fontWeight() >= QFont::DemiBold;
}
bool isItalic(const QTextCharFormat& f) {
    return f.fontItalic();
}
bool isUnderline(const QTextCharFormat& f) {
    return f.fontUnderline();
}
bool isStrikeThrough(const QTextCharFormat& f) {
    return f.fontStrikeOut();
}
} // namespace

ScriptView::ScriptView(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setUndoRedoEnabled(true);
    setReadOnly(true);
    connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!quiet_ && (removed != 0 || added != 0)) {
            Q_EMIT DocumentChanged();
        }
    });
    for (auto moved : {&QTextEdit::cursorPositionChanged, &QTextEdit::selectionChanged}) {
        connect(this, moved, this, [this] {
            if (!quiet_) {
                Q_EMIT SelectionChanged();
            }
        });
    }
}

void ScriptView::SetAllowedFolders(const QStringList& folders) {
    policy_ = LocalContentPolicy();
    for (const QString& folder : folders) {
        policy_.AllowFolder(folder);
    }
}

void ScriptView::quietly(const std::function<void()>& change) {
    const bool was = quiet_;
    quiet_ = true;
    change();
    document()->clearUndoRedoStacks();
    quiet_ = was;
}

void ScriptView::ClearDocument() {
    quietly([this] {
        base_ = QUrl();
        document()->setDocumentMargin(4);
        clear();
    });
}

void ScriptView::WriteDocument(const QString& html) {
    quietly([this, &html] {
        base_ = QUrl();
        setHtml(html);
    });
}

bool ScriptView::NavigateFile(const QString& path, ScriptFile::Snapshot* snapshot, QString* error) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (!policy_.MayLoad(url)) {
        if (error != nullptr) {
            *error = QStringLiteral("the file lies outside the script folders");
        }
        return false;
    }
    QString text;
    if (!ScriptFile::Read(path, text, snapshot, error)) {
        return false;
    }
    quietly([&] {
        base_ = url;
        if (IsHtmlScriptFile(path)) {
            setHtml(text);
        } else {
            setPlainText(text);
        }
    });
    return true;
}

QString ScriptView::HTML() const {
    return toHtml();
}

void ScriptView::ApplyFont(const ScriptFontLook& look) {
    quietly([this, &look] {
        document()->setDocumentMargin(4);
        QFont font = document()->defaultFont();
        font.setFamily(look.family);
        if (look.pixelSize > 0) {
            font.setPixelSize(look.pixelSize);
        }
        font.setBold(look.bold);
        font.setItalic(look.italic);
        font.setUnderline(look.underline);
        font.setStrikeOut(look.strikeThrough);
        document()->setDefaultFont(font);

        QTextCharFormat format;
        format.setFontFamilies({look.family});
        if (look.pixelSize > 0) {
            format.setProperty(QTextFormat::FontPixelSize, look.pixelSize);
        }
        // Only a style that is on is set, as the page's own emphasis stays otherwise.
        if (look.bold) {
            format.setFontWeight(QFont::Bold);
        }
        if (look.italic) {
            format.setFontItalic(true);
        }
        if (look.underline) {
            format.setFontUnderline(true);
        }
        if (look.strikeThrough) {
            format.setFontStrikeOut(true);
        }
        format.setForeground(look.colour);
        QTextCursor all(document());
        all.select(QTextCursor::Document);
        all.mergeCharFormat(format);
        QTextCursor caret = textCursor();
        caret.mergeCharFormat(format);
        mergeCurrentCharFormat(format);
    });
}

void ScriptView::SetEditMode(bool on) {
    setReadOnly(!on);
    if (!on) {
        setTextInteractionFlags(Qt::TextBrowserInteraction);
    }
}

int ScriptView::selectionState(const std::function<bool(const QTextCharFormat&)>& isOn) const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return isOn(cursor.charFormat()) ? 1 : 0;
    }
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    bool anyOn = false;
    bool anyOff = false;
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.position() + fragment.length() <= start ||
                fragment.position() >= end) {
                continue;
            }
            (isOn(fragment.charFormat()) ? anyOn : anyOff) = true;
        }
    }
    if (anyOn && anyOff) {
        return -1;
    }
    return anyOn ? 1 : 0;
}

int ScriptView::SelBold() const {
    return selectionState(isBold);
}
int ScriptView::SelItalic() const {
    return selectionState(isItalic);
}
int ScriptView::SelUnderline() const {
    return selectionState(isUnderline);
}
int ScriptView::SelStrikeThrough() const {
    return selectionState(isStrikeThrough);
}

void ScriptView::toggle(const std::function<bool(const QTextCharFormat&)>& isOn,
                        const std::function<void(QTextCharFormat&, bool)>& set) {
    if (!EditMode()) {
        return;
    }
    QTextCharFormat format;
    set(format, selectionState(isOn) != 1);
    mergeCurrentCharFormat(format);
}

void ScriptView::ToggleBold() {
    toggle(isBold,
           [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}
void ScriptView::ToggleItalic() {
    toggle(isItalic, [](QTextCharFormat& f, bool on) { f.setFontItalic(on); });
}
void ScriptView::ToggleUnderline() {
    toggle(isUnderline, [](QTextCharFormat& f, bool on) { f.setFontUnderline(on); });
}
void ScriptView::ToggleStrikeThrough() {
    toggle(isStrikeThrough, [](QTextCharFormat& f, bool on) { f.setFontStrikeOut(on); });
}

bool ScriptView::SendBrowserCommand(const QString& command) {
    if (!EditMode() || !BrowserCommandEnabled(command)) {
        return false;
    }
    if (command.compare(QLatin1String("undo"), Qt::CaseInsensitive) == 0) {
        undo();
    } else {
        redo();
    }
    return true;
}

bool ScriptView::BrowserCommandEnabled(const QString& command) const {
    if (command.compare(QLatin1String("undo"), Qt::CaseInsensitive) == 0) {
        return document()->isUndoAvailable();
    }
    if (command.compare(QLatin1String("redo"), Qt::CaseInsensitive) == 0) {
        return document()->isRedoAvailable();
    }
    return false;
}

void ScriptView::ScrollBy(int dx, int dy) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
}

QPoint ScriptView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

QVariant ScriptView::loadResource(int type, const QUrl& name) {
    const QUrl url = name.isRelative() && base_.isValid() ? base_.resolved(name) : name;
    const bool wanted =
        type == QTextDocument::ImageResource || type == QTextDocument::StyleSheetResource;
    if (!wanted || !url.isLocalFile() || !policy_.MayLoad(url)) {
        ++refused_;
        return {};
    }
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (type == QTextDocument::StyleSheetResource) {
        return ScriptFile::DecodeBytes(bytes);
    }
    return bytes;
}
