#include "platform/ui/utalkback.h"

#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

uTalkback::uTalkback(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Talkback"), this)),
      txtConversation_(new QPlainTextEdit(frame_)), txtInput_(new QLineEdit(frame_)) {
    setObjectName(QStringLiteral("uTalkback"));
    txtConversation_->setObjectName(QStringLiteral("txtConversation"));
    txtConversation_->setReadOnly(true);
    txtConversation_->setTabChangesFocus(true);
    txtInput_->setObjectName(QStringLiteral("txtInput"));
    frame_->AddWidget(txtConversation_, 1);
    frame_->AddWidget(txtInput_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    showState();
}

uTalkback::~uTalkback() = default;

void uTalkback::SetSimpleTalkbackPath(const QString& path) {
    simpleTalkbackPath_ = path;
    if (path.trimmed().isEmpty()) {
        StopTalkback();
    }
}

void uTalkback::SetTalkbackUser(const std::shared_ptr<DirectoryContact>& user) {
    talkbackUser_ = user;
}

void uTalkback::SetTextFont(const std::shared_ptr<FontStyle>& font) {
    textFont_ = font;
    txtConversation_->setFont(font ? FontConversion::ToQFont(*font) : QFont());
    QPalette p = txtConversation_->palette();
    const QColor colour = font ? FontConversion::TextColour(*font) : QColor();
    p.setColor(QPalette::Text, colour.isValid() ? colour : palette().color(QPalette::Text));
    txtConversation_->setPalette(p);
}

void uTalkback::SetAreasFont(const std::shared_ptr<StdFont>& font) {
    areasFont_ = font;
    setFont(font ? FontConversion::ToQFont(*font) : QFont());
}

void uTalkback::StartTalkback() {
    if (simpleTalkbackPath_.trimmed().isEmpty()) {
        return;
    }
    running_ = true;
    showState();
}

void uTalkback::StopTalkback() {
    running_ = false;
    showState();
}

void uTalkback::showState() {
    txtInput_->setEnabled(running_);
    txtInput_->setPlaceholderText(running_ ? tr("Type a message") : QString());
    frame_->SetText(running_ ? QString() : tr("Talkback is not running"));
}
