#include "platform/messagesdb/uprizebasic.h"

#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QLabel>
#include <QVBoxLayout>

uPrizeBasic::uPrizeBasic(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Prize"), this)),
      lblPrizeTitle_(new QLabel(frame_)) {
    setObjectName(QStringLiteral("uPrizeBasic"));
    lblPrizeTitle_->setObjectName(QStringLiteral("lblPrizeTitle"));
    lblPrizeTitle_->setTextFormat(Qt::PlainText);
    lblPrizeTitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPrizeTitle_->setWordWrap(true);
    frame_->AddWidget(lblPrizeTitle_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
}

uPrizeBasic::~uPrizeBasic() = default;

KVDirectory* uPrizeBasic::Directory() const {
    return directory_.data();
}

void uPrizeBasic::SetDirectory(KVDirectory* directory) {
    directory_ = directory;
}

void uPrizeBasic::SetPrize(const std::shared_ptr<OrlixPrize>& prize) {
    prize_ = prize;
    showPrize();
}

void uPrizeBasic::Refresh() {
    ++refreshCount_;
    applyFont();
    showPrize();
}

void uPrizeBasic::showPrize() {
    lblPrizeTitle_->setText(prize_ ? prize_->Title() : QString());
}

void uPrizeBasic::SetFont(const std::shared_ptr<StdFont>& font) {
    font_ = font;
    applyFont();
}

void uPrizeBasic::applyFont() {
    setFont(font_ ? FontConversion::ToQFont(*font_) : QFont());
}

void uPrizeBasic::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}
