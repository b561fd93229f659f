#pragma once

#include "messaging/bodyeditor.h"
#include "platform/web/webeditor.h"

#include <optional>

// The e-mail body on the web engine: the browser layer's editable view for untrusted
// documents (no script of the body runs, nothing it names loads, links stay put), with the
// body's copy the window reads kept here. The copy is what was set until the user changes
// the document; each reported change is read back from the engine and then told to the
// window. FlushChanges first waits (bounded, user input held back) until the engine has
// reported a change for every key typed into the document, then reads the document once
// more, so keystrokes still on their way through the engine reach the message before it is
// saved or sent.
//
// The engine never gives a document back as it was set (it writes its own head and body
// around it), so what it reads back is judged against its own markup of the loaded document,
// read once the load has finished: a document the user has not touched is no change, and a
// flush with no key typed and no edit reported since the load changes nothing.
class WebBodyEditor : public WebEditor, public BodyEditor {
    Q_OBJECT
public:
    // How long FlushChanges waits for the engine; then the last known body stands.
    static constexpr int kFlushDeadlineMs = 2000;

    explicit WebBodyEditor(QWidget* parent = nullptr);
    ~WebBodyEditor() override;

    QWidget* Widget() override { return this; }
    void SetBodyHtml(const QString& html) override;
    void SetBodyPlainText(const QString& text) override;
    void SetEditMode(bool editable) override { WebEditor::SetEditMode(editable); }
    bool EditMode() const override { return WebEditor::EditMode(); }
    QString Html() const override { return html_; }
    QString PlainText() const override { return text_; }
    void FlushChanges() override;
    void CaretToStart() override;
    void Command(const QString& command) override;
    void SetFontSize(int size) override { WebEditor::SetFontSize(size); }
    void ChooseFont(QWidget* owner) override;
    void ChooseLink(QWidget* owner) override;
    BodyStyles Styles() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Keys typed into the document whose change the engine has not reported yet.
    void watchKeys();
    // Gives the document's body the page's focus, where the engine takes typed keys.
    void focusDocument();
    void waitForTypedKeys();
    void load(const QString& html, const QString& text);
    void readBack();
    void readLoadedMarkup();
    // A body read from the engine becomes the copy; a difference is a change.
    void take(const QString& html);

    QString html_;
    QString text_;
    // The body as set by the last load, and the engine's markup of it once read.
    QString loadedHtml_;
    QString loadedText_;
    std::optional<QString> loadedMarkup_;
    quint64 loads_ = 0;
    bool caretToStart_ = false;
    // A body set while another was still loading: it loads next. One load at a time, so an
    // older load can never land over a newer document.
    std::optional<QString> queued_;
    int typed_ = 0;
    int reported_ = 0;
};
