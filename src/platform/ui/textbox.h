#pragma once

#include <QLineEdit>

#include <functional>

class TextBoxLimiter;

// A single-line text box with the program's rules for input:
// - MaxLength limits what the user types or pastes (0 = no limit). A longer text put in
//   by the program is shown whole; the user can shorten it but never make it longer.
// - a key filter sees every character the user types or pastes, as its character code,
//   and gives the character to use instead, or 0 to drop it.
// - a password character masks the text with that character.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);
    ~TextBox() override;

    // Text put in by the program: shown whole, whatever the limit and the key filter.
    void setText(const QString& text);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    void SetKeyFilter(std::function<int(int)> filter);

    // The first character masks the text; "" shows the text as it is.
    void SetPasswordChar(const QString& mask);
    QString PasswordChar() const { return passwordChar_; }

private:
    friend class TextBoxLimiter;
    QString accepted_; // the text before the change being checked
    bool settingText_ = false;
    int maxLength_ = 0;
    QString passwordChar_;
    std::function<int(int)> keyFilter_;
    TextBoxLimiter* limiter_ = nullptr;
};
