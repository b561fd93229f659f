#pragma once

#include <QString>

#include <functional>

class QWidget;

// What the edit toolbar shows for the body's selection: each style 1 when all the selected
// text has it, -1 when part of it does, 0 when none does (at a caret, the style there).
struct BodyStyles {
    int Bold = 0;
    int Italic = 0;
    int Underline = 0;
    int StrikeThrough = 0;
    bool HasSelection = false;
    bool CanPaste = false;
};

// The e-mail window's body: a listener's HTML shown cleaned (nothing it names is fetched, no
// script of it runs), typed in and formatted while editable. The editor keeps a copy of the
// body that answers at once; the window reads it for saving and sending after FlushChanges.
// The program's own loads never count as changes.
class BodyEditor {
public:
    virtual ~BodyEditor() = default;

    virtual QWidget* Widget() = 0;
    virtual void SetBodyHtml(const QString& html) = 0;
    virtual void SetBodyPlainText(const QString& text) = 0;
    virtual void SetEditMode(bool editable) = 0;
    virtual bool EditMode() const = 0;
    // The body as last set or as the last reported change left it.
    virtual QString Html() const = 0;
    virtual QString PlainText() const = 0;
    // Brings a change the editor has not reported yet into Html and PlainText, waiting a
    // bounded time; OnChanged follows when there was one.
    virtual void FlushChanges() {}
    virtual void CaretToStart() = 0;
    // "bold", "italic", "underline", "strikethrough", "bulletlist", "undo", "redo", "cut",
    // "copy", "paste"; anything else does nothing.
    virtual void Command(const QString& command) = 0;
    // The HTML font size 1 to 7 of the selection.
    virtual void SetFontSize(int size) = 0;
    // The desktop's font dialog for the selection, shown over owner.
    virtual void ChooseFont(QWidget* owner) = 0;
    // The link dialog, filled with the link under the caret; the selection becomes a link to
    // the web or mail address confirmed. In edit mode only.
    virtual void ChooseLink(QWidget* owner) = 0;
    virtual BodyStyles Styles() const = 0;

    // True when focus is the editor or lies inside it.
    bool HoldsFocus(const QWidget* focus);

    // A change by the user or by a command, never by a load.
    std::function<void()> OnChanged;
    // The selection, the caret or what the commands can do changed.
    std::function<void()> OnSelectionChanged;
};

// How the e-mail window makes its body editor, parented to the given widget. The program
// installs the web engine's; until then, and in tests that want no engine, the text editor.
using BodyEditorFactory = std::function<BodyEditor*(QWidget* parent)>;
void SetBodyEditorFactory(BodyEditorFactory factory);
BodyEditor* MakeBodyEditor(QWidget* parent);
