#pragma once

#include <QPlainTextEdit>

// A multi-line plain-text box with word wrap and the program's input rule of TextBox:
// - MaxLength (UTF-16 units, 0 = no limit) holds for what the user types, pastes or drops; a
//   paste is cut to what fits. A longer text put in by the program is shown whole; the user
//   can shorten it but never make it longer.
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

    int maxLength_ = 0;
};
