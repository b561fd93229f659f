#pragma once

#include <QPlainTextEdit>

// A multi-line plain-text box with word wrap and the program's input rule of TextBox:
// - MaxLength (UTF-16 units, 0 = no limit) holds alike for what the user types, commits
//   through an input method, pastes or drops: after the edit the text holds at most MaxLength
//   units, or no more than before. What does not fit is cut only between whole characters as
//   the caret steps over them (never inside a surrogate pair, a flag or a letter with its
//   combining marks); a key whose character does not fit adds nothing. A longer text put in
//   by the program is shown whole; the user can shorten it but never make it longer.
// - Enter and keypad Enter are dropped, so the user never types a line break; line breaks in
//   pasted text stay.
// - Locked: read-only, but the text can still be selected and copied.
class MultiLineTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineTextBox(QWidget* parent = nullptr);
    ~MultiLineTextBox() override;

    QString Text() const { return toPlainText(); }
    // Text put in by the program: shown whole, whatever the limit.
    void SetText(const QString& text);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    bool Locked() const { return isReadOnly(); }
    void SetLocked(bool locked);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // How many units may replace the current selection.
    qsizetype room() const;
    // The longest start of text that fits, ending between whole characters.
    QString fitting(const QString& text) const;

    int maxLength_ = 0;
};
