#pragma once

#include "platform/web/webeditorstate.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QColor;
class QPrinter;
class QWebChannel;
class QWebEngineView;
class WebBrowser;
class WebEditorBridge;

// An editable HTML view for documents the program does not trust (presenter scripts, e-mail
// bodies), on the browser layer's locked-down page.
//
// Loading: SetHtml shows markup given as text (any size; the engine's 2 MB limit on inline
// documents does not apply) with no base: nothing it names loads from a folder or the
// network, no script of the page ever runs, links, forms and refreshes never move the view,
// and the program's "orlix:" links do nothing. LoadFinished follows each SetHtml; a newer
// SetHtml supersedes an older one still loading.
//
// Editing: with EditMode off the document takes no typing, paste or drop, whatever its
// markup says (contenteditable, -webkit-user-modify); edit mode never enters the markup.
// The commands act on the selection in edit mode only. Paste keeps the look of pasted HTML
// but drops its scripts, event handlers, frames, forms and script links. CreateLink takes
// http, https and mailto addresses only.
//
// Reports: Edited comes for each change by the user or by a command, never for SetHtml,
// SetBodyStyle or the program's other writes. StateChanged brings the selection's styles and
// the commands' availability after every selection change and command; State() keeps the
// last one. Reads (markup, text, scroll position) answer by callback, dropped once context
// has gone; HtmlNow waits for the markup with a deadline for callers that cannot go on
// without it.
//
// The markup read back is the document as written, with the user's edits and the program's
// body style: elements, attributes and styles the editor does not know are kept.
class WebEditor : public QWidget {
    Q_OBJECT
public:
    // How long HtmlNow waits for the engine's answer.
    static constexpr int kReadDeadlineMs = 10000;

    explicit WebEditor(QWidget* parent = nullptr);
    ~WebEditor() override;

    void SetHtml(const QString& html);
    // The empty document.
    void Clear() { SetHtml(QString()); }
    bool IsLoading() const { return loading_; }

    void SetEditMode(bool on);
    bool EditMode() const { return editing_; }

    // Sets CSS properties on the document's body ("margin", "4px", "font-family", ...), as the
    // program's own write: no Edited, no undo step; it stays in the markup read back. Given
    // while a document loads, it holds for that document.
    void SetBodyStyle(const QList<std::pair<QString, QString>>& properties);

    // The doctype and the document element's markup; nothing when the engine did not answer.
    void ReadHtml(QObject* context, std::function<void(const std::optional<QString>&)> done);
    std::optional<QString> HtmlNow(int deadlineMs = kReadDeadlineMs);
    void ReadPlainText(QObject* context, std::function<void(const QString&)> done);

    void ToggleBold() { exec(QStringLiteral("bold")); }
    void ToggleItalic() { exec(QStringLiteral("italic")); }
    void ToggleUnderline() { exec(QStringLiteral("underline")); }
    void ToggleStrikeThrough() { exec(QStringLiteral("strikeThrough")); }
    void InsertUnorderedList() { exec(QStringLiteral("insertUnorderedList")); }
    // size: the HTML font size 1 to 7; false (nothing done) for any other.
    bool SetFontSize(int size);
    // The selection's face ("" does nothing) and colour (an invalid one does nothing).
    void SetFontName(const QString& family);
    void SetForeColour(const QColor& colour);
    // False (nothing done) for an address that is not http, https or mailto.
    bool CreateLink(const QString& address);
    static bool IsLinkAllowed(const QString& address);
    void Undo() { exec(QStringLiteral("undo")); }
    void Redo() { exec(QStringLiteral("redo")); }
    void Cut();
    void Copy();
    void Paste();
    // Given while a document loads, it selects that document once shown.
    void SelectAll();

    const WebEditorState& State() const { return state_; }
    // Asks the document for the state now; StateChanged follows as well.
    void ReadState(QObject* context, std::function<void(const WebEditorState&)> done);

    // Prints the document on printer and returns when the engine has finished (false on
    // failure, or when it gave no answer within two minutes).
    bool PrintAndWait(QPrinter* printer);

    void ReadScrollPosition(QObject* context, std::function<void(QPoint)> done);
    void SetScrollPosition(QPoint position);
    // In CSS pixels, positive right and down.
    void ScrollBy(int dx, int dy);

    QWebEngineView* View() const;
    // Runs JavaScript in the editor's world (tests select text this way).
    void RunInEditorWorld(const QString& source, std::function<void(const QVariant&)> done = {});

Q_SIGNALS:
    void LoadFinished(bool ok);
    void Edited();
    void StateChanged(const WebEditorState& state);
    // The engine's process behind the document ended (it crashed, or ran out of memory): the
    // document and any edits in it are gone, and the view shows nothing useful. The next
    // SetHtml starts a new process.
    void ProcessEnded();

private:
    void onBlankLoaded(bool ok);
    void exec(const QString& command, const QString& value = QString());
    void takeReport(const QVariantMap& report);
    bool clipboardHasText() const;

    WebBrowser* browser_ = nullptr;
    WebEditorBridge* bridge_ = nullptr;
    QWebChannel* channel_ = nullptr;
    std::optional<QString> pending_;
    QStringList pendingStyle_; // name, value, name, value...
    bool pendingSelectAll_ = false;
    bool retried_ = false;
    quint64 generation_ = 0;
    bool loading_ = false;
    bool editing_ = false;
    WebEditorState state_;
    // Expires first in the destructor; the engine's late answers check it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
