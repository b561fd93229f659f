#include "platform/messagesdb/controls/uprizebasic.h"

#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/ui/paneframe.h"
#include "platform/ui/plainlabel.h"

#include <QLabel>

uPrizeBasic::uPrizeBasic(QWidget* parent)
    : FontPaneControl(tr("Prize"), parent),
      lblPrizeTitle_(PlainLabel::Create(Frame(), "lblPrizeTitle", Qt::TextSelectableByMouse)) {
    setObjectName(QStringLiteral("uPrizeBasic"));
    Frame()->AddWidget(lblPrizeTitle_);
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

void uPrizeBasic::refreshContent() {
    showPrize();
}

void uPrizeBasic::showPrize() {
    lblPrizeTitle_->setText(prize_ ? prize_->Title() : QString());
}
