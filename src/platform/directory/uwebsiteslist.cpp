#include "platform/directory/uwebsiteslist.h"

#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QVBoxLayout>

uWebSitesList::uWebSitesList(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Websites"), this)) {
    setObjectName(QStringLiteral("uWebSitesList"));
    frame_->setObjectName(QStringLiteral("fraList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    showState();
}

uWebSitesList::~uWebSitesList() = default;

void uWebSitesList::SetDirectory(KVDirectory* directory) {
    directory_ = directory;
    showState();
}

void uWebSitesList::Refresh() {
    ++refreshCount_;
    applyFont();
    showState();
}

void uWebSitesList::SetFont(const std::shared_ptr<StdFont>& font) {
    font_ = font;
    applyFont();
}

void uWebSitesList::applyFont() {
    setFont(font_ ? FontConversion::ToQFont(*font_) : QFont());
}

void uWebSitesList::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}

void uWebSitesList::showState() {
    frame_->SetText(directory_.isNull() ? tr("No directory") : QString());
}
