#include "platform/messagesdb/uprizeslist.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QVBoxLayout>

uPrizesList::uPrizesList(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Prizes"), this)) {
    setObjectName(QStringLiteral("uPrizesList"));
    frame_->setObjectName(QStringLiteral("fraList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    showState();
}

uPrizesList::~uPrizesList() = default;

OrlixDatabase* uPrizesList::Database() const {
    return database_.data();
}

void uPrizesList::SetDatabase(OrlixDatabase* database) {
    database_ = database;
    showState();
}

void uPrizesList::Refresh() {
    ++refreshCount_;
    applyFont();
    showState();
}

void uPrizesList::SetFont(const std::shared_ptr<StdFont>& font) {
    font_ = font;
    applyFont();
}

void uPrizesList::applyFont() {
    setFont(font_ ? FontConversion::ToQFont(*font_) : QFont());
}

void uPrizesList::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}

void uPrizesList::showState() {
    frame_->SetText(database_.isNull() ? tr("No messages database") : QString());
}
