#include "platform/messagesdb/umessageslist.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/fontconversion.h"
#include "platform/ui/paneframe.h"

#include <QVBoxLayout>

static_assert(uMessagesList::kDefaultFolder == OrlixDatabase::kInboxFolder);

uMessagesList::uMessagesList(QWidget* parent)
    : QWidget(parent), frame_(new PaneFrame(tr("Messages"), this)) {
    setObjectName(QStringLiteral("uMessagesList"));
    frame_->setObjectName(QStringLiteral("fraList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame_);
    showState();
}

uMessagesList::~uMessagesList() = default;

OrlixDatabase* uMessagesList::Database() const {
    return database_.data();
}

void uMessagesList::SetDatabase(OrlixDatabase* database) {
    database_ = database;
    showState();
}

void uMessagesList::SetCurrentFolder(qint32 folder) {
    currentFolder_ = folder;
    showState();
}

void uMessagesList::Refresh() {
    ++refreshCount_;
    applyFont();
    showState();
    QString filter = filterText_;
    Q_EMIT BuildList(filter);
}

void uMessagesList::SetFont(const std::shared_ptr<StdFont>& font) {
    font_ = font;
    applyFont();
}

void uMessagesList::applyFont() {
    setFont(font_ ? FontConversion::ToQFont(*font_) : QFont());
}

void uMessagesList::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaneFrame::PaintBackground(this, colour);
}

void uMessagesList::showState() {
    frame_->SetText(database_.isNull() ? tr("No messages database")
                                       : tr("Folder %1").arg(currentFolder_));
}
