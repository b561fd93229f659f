#pragma once

#include "platform/web/localcontentpolicy.h"
#include "scripts/scriptfile.h"

#include <QPoint>
#include <QTextBrowser>

struct ScriptFontLook;

// The script browser: shows a presenter script and, in edit mode, edits it in place. Scripts
// come from the playout link and from shared folders, so the view trusts none of them: it has
// no script engine at all, fetches nothing remote, follows no link (not even our own command
// links), and reads only pictures and style sheets of the folders it was given. Markup cannot
// make it editable: only EditMode does.
class ScriptView : public QTextBrowser {
    Q_OBJECT
public:
    explicit ScriptView(QWidget* parent = nullptr);

    // The folders whose files may be shown and used by a document; replaces the earlier ones.
    void SetAllowedFolders(const QStringList& folders);
    const LocalContentPolicy& ContentPolicy() const { return policy_; }

    // An empty document, not editable by our own doing and with no undo history.
    void ClearDocument();
    // Shows HTML given as text, with no base folder.
    void WriteDocument(const QString& html);
    // Shows a file of the allowed folders: an HTML file as HTML, anything else as plain text.
    // False when the file is outside the folders or cannot be read (error says why);
    // snapshot gets the bytes' state.
    bool NavigateFile(const QString& path, ScriptFile::Snapshot* snapshot = nullptr,
                      QString* error = nullptr);
    // The shown document as HTML.
    QString HTML() const;

    // Puts the script font on the whole document: family, size, styles and colour, with the
    // page's margin of 4.
    void ApplyFont(const ScriptFontLook& look);

    void SetEditMode(bool on);
    bool EditMode() const { return !isReadOnly(); }

    // -1 when the selection mixes on and off, 1 on, 0 off; at the caret, what typing gives.
    int SelBold() const;
    int SelItalic() const;
    int SelUnderline() const;
    int SelStrikeThrough() const;
    void ToggleBold();
    void ToggleItalic();
    void ToggleUnderline();
    void ToggleStrikeThrough();
    // "undo" or "redo"; false for any other command.
    bool SendBrowserCommand(const QString& command);
    bool BrowserCommandEnabled(const QString& command) const;

    // Scrolls by that many pixels, positive right and down.
    void ScrollBy(int dx, int dy);
    QPoint ScrollPosition() const;

    // Resources the document asked for that were refused, for the record.
    int RefusedResources() const { return refused_; }

Q_SIGNALS:
    // The user changed the document (our own loads and font never count).
    void DocumentChanged();
    void SelectionChanged();

protected:
    QVariant loadResource(int type, const QUrl& name) override;

private:
    int selectionState(const std::function<bool(const QTextCharFormat&)>& isOn) const;
    void toggle(const std::function<bool(const QTextCharFormat&)>& isOn,
                const std::function<void(QTextCharFormat&, bool)>& set);
    // Runs a change of ours with DocumentChanged kept quiet and the undo history cleared.
    void quietly(const std::function<void()>& change);

    LocalContentPolicy policy_;
    QUrl base_;
    bool quiet_ = false;
    int refused_ = 0;
};
