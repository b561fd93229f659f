#include "platform/messagesdb/controls/uprizeslist.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/paneframe.h"

uPrizesList::uPrizesList(QWidget* parent) : FontPaneControl(tr("Prizes"), parent) {
    setObjectName(QStringLiteral("uPrizesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
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

void uPrizesList::refreshContent() {
    showState();
}

void uPrizesList::showState() {
    Frame()->SetText(database_.isNull() ? tr("No messages database") : QString());
}
