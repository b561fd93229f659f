#include "platform/ui/textbox.h"

#include <QValidator>

#include <algorithm>

// Sees every change the user makes (typing, pasting, dropping) before it is applied, so
// the rules hold for all of them. Text set by the program is not checked.
class TextBoxLimiter : public QValidator {
public:
    explicit TextBoxLimiter(TextBox* box) : QValidator(box), box_(box) {}

    State validate(QString& input, int& pos) const override {
        if (box_->settingText_) {
            return Acceptable;
        }
        const QString& old = box_->accepted_;
        // The changed stretch: the edit ends at the cursor, and what follows the cursor is
        // the old text's end; the common beginning before it was kept.
        qsizetype tail = input.size() - pos;
        if (pos < 0 || tail < 0 || tail > old.size() || !old.endsWith(input.right(tail))) {
            tail = 0;
            while (tail < std::min(old.size(), input.size()) &&
                   old.at(old.size() - 1 - tail) == input.at(input.size() - 1 - tail)) {
                ++tail;
            }
        }
        const qsizetype shortest = std::min(old.size(), input.size()) - tail;
        qsizetype head = 0;
        while (head < shortest && old.at(head) == input.at(head)) {
            ++head;
        }
        const qsizetype removed = old.size() - head - tail;
        const QString typed = input.mid(head, input.size() - head - tail);
        QString inserted = typed;
        if (inserted.isEmpty()) {
            return Acceptable; // only deleted
        }
        if (box_->keyFilter_) {
            QString kept;
            for (const QChar c : inserted) {
                const int code = box_->keyFilter_(c.unicode());
                if (code > 0 && code <= 0xFFFF) {
                    kept += QChar(static_cast<char16_t>(code));
                }
            }
            inserted = kept;
            if (inserted.isEmpty()) {
                return Invalid; // every key dropped: the text and its selection stay
            }
        }
        const qsizetype base = old.size() - removed;
        if (box_->maxLength_ > 0 && base + inserted.size() > box_->maxLength_) {
            const qsizetype room = std::max<qsizetype>(box_->maxLength_ - base, 0);
            // Over an over-long text, typing may replace what it removes but not grow it.
            inserted.truncate(std::max(room, std::min<qsizetype>(removed, inserted.size())));
        }
        if (inserted == typed) {
            return Acceptable;
        }
        if (inserted.isEmpty() && removed == 0) {
            return Invalid;
        }
        input = old.left(head) + inserted + old.right(tail);
        pos = static_cast<int>(head + inserted.size());
        return Acceptable;
    }

private:
    TextBox* box_;
};

TextBox::TextBox(QWidget* parent) : QLineEdit(parent), limiter_(new TextBoxLimiter(this)) {
    setValidator(limiter_);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text; });
}

TextBox::~TextBox() = default;

void TextBox::setText(const QString& text) {
    settingText_ = true;
    QLineEdit::setText(text);
    settingText_ = false;
}

void TextBox::SetMaxLength(int length) {
    maxLength_ = std::max(length, 0);
}

void TextBox::SetKeyFilter(std::function<int(int)> filter) {
    keyFilter_ = std::move(filter);
}

void TextBox::SetPasswordChar(const QString& mask) {
    passwordChar_ = mask.left(1);
    if (passwordChar_.isEmpty()) {
        setEchoMode(QLineEdit::Normal);
        setStyleSheet(QString());
        return;
    }
    setEchoMode(QLineEdit::Password);
    setStyleSheet(QStringLiteral("lineedit-password-character: %1;")
                      .arg(static_cast<int>(passwordChar_.at(0).unicode())));
}
