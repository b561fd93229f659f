#pragma once

#include "platform/web/localcontentpolicy.h"
#include "platform/web/webeditorstate.h"
#include "scripts/scriptfile.h"

#include <QPoint>
#include <QWidget>

#include <optional>

class QPrinter;
class WebEditor;
struct ScriptFontLook;

// The script browser: shows a presenter script and, in edit mode, edits it in place, on the
// browser layer's editor. Scripts come from the playout link and from shared folders, so the
// view trusts none of them: no script of theirs runs, nothing remote is fetched, no link
// (not even our own command links) moves the view, and only files of the folders it was given
// are read. Markup cannot make it editable: only EditMode does.
//
// The engine answers later: a document shown is ready at LoadFinished, and the selection's
// styles and commands (SelBold, BrowserCommandEnabled...) are as of the last report. The
// engine starts with the first document, not with the view.
class ScriptView : public QWidget {
    Q_OBJECT
public:
    explicit ScriptView(QWidget* parent = nullptr);
    ~ScriptView() override;

    // The folders whose files may be shown; replaces the earlier ones.
    void SetAllowedFolders(const QStringList& folders);
    const LocalContentPolicy& ContentPolicy() const { return policy_; }

    // An empty document, not editable by our own doing and with no undo history.
    void ClearDocument();
    // Shows HTML given as text, with no base folder.
    void WriteDocument(const QString& html);
    // Shows a file of the allowed folders: an HTML file as HTML, anything else as plain text.
    // False when the file is outside the folders or cannot be read (error says why, tooLarge
    // tells a file above the script limit); snapshot gets the bytes' state.
    bool NavigateFile(const QString& path, ScriptFile::Snapshot* snapshot = nullptr,
                      QString* error = nullptr, bool* tooLarge = nullptr);
    bool IsLoading() const;
    // The shown document as HTML, waiting a bounded time for the engine; nothing when it did
    // not answer.
    std::optional<QString> HTML();
    // The shown text, waiting as HTML does ("" without an answer).
    QString PlainText();

    // Puts the script font on the whole document: family, size, styles and colour, with the
    // page's margin of 4.
    void ApplyFont(const ScriptFontLook& look);
    // The font dialog's answer on the selection: face, size step, styles and colour.
    void ApplySelectionFont(const QFont& font, const QColor& colour);

    void SetEditMode(bool on);
    bool EditMode() const { return editing_; }

    // -1 when the selection mixes on and off, 1 on, 0 off; at the caret, what typing gives.
    int SelBold() const { return state_.bold; }
    int SelItalic() const { return state_.italic; }
    int SelUnderline() const { return state_.underline; }
    int SelStrikeThrough() const { return state_.strikeThrough; }
    bool HasSelection() const { return state_.hasSelection; }
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    void ToggleStrikeThrough();
    void Cut();
    void Copy();
    void Paste();
    void SelectAll();
    // "undo" or "redo"; false for any other command.
    bool SendBrowserCommand(const QString& command);
    // "undo", "redo", "cut", "copy" and "paste".
    bool BrowserCommandEnabled(const QString& command) const;

    // Prints the document; returns when the engine has done so.
    bool Print(QPrinter* printer);

    // Scrolls by that many CSS pixels, positive right and down.
    void ScrollBy(int dx, int dy);
    // The position after the last scroll the engine reported.
    QPoint ScrollPosition() const { return scroll_; }

    // Null before the first document.
    WebEditor* Editor() const { return editor_; }

Q_SIGNALS:
    // The user changed the document (our own loads and font never count).
    void DocumentChanged();
    void SelectionChanged();
    void LoadFinished(bool ok);
    // The engine's process behind the shown script ended; the view shows nothing of it.
    void ProcessEnded();

private:
    WebEditor* editor();

    WebEditor* editor_ = nullptr; // a child, made with the first document
    LocalContentPolicy policy_;
    WebEditorState state_;
    QPoint scroll_;
    bool editing_ = false;
};
