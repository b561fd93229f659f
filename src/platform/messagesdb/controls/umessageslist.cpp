#include "platform/messagesdb/controls/umessageslist.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/paneframe.h"

static_assert(uMessagesList::kDefaultFolder == OrlixDatabase::kInboxFolder);

uMessagesList::uMessagesList(QWidget* parent) : FontPaneControl(tr("Messages"), parent) {
    setObjectName(QStringLiteral("uMessagesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
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

void uMessagesList::refreshContent() {
    showState();
    QString filter = FilterText();
    Q_EMIT BuildList(filter);
}

QString uMessagesList::FilterText() const {
    if (database_.isNull()) {
        return {};
    }
    return QStringLiteral("([Folder]=%1 AND ([Owner]=0 OR [Owner]=%2))")
        .arg(currentFolder_)
        .arg(database_->CurrentUserReference());
}

void uMessagesList::showState() {
    Frame()->SetText(database_.isNull() ? tr("No messages database")
                                        : tr("Folder %1").arg(currentFolder_));
}
