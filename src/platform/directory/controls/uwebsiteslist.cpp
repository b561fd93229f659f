#include "platform/directory/controls/uwebsiteslist.h"

#include "platform/ui/paneframe.h"

uWebSitesList::uWebSitesList(QWidget* parent) : FontPaneControl(tr("Websites"), parent) {
    setObjectName(QStringLiteral("uWebSitesList"));
    Frame()->setObjectName(QStringLiteral("fraList"));
    showState();
}

uWebSitesList::~uWebSitesList() = default;

void uWebSitesList::SetDirectory(KVDirectory* directory) {
    directory_ = directory;
    showState();
}

void uWebSitesList::refreshContent() {
    showState();
}

void uWebSitesList::showState() {
    Frame()->SetText(directory_.isNull() ? tr("No directory") : QString());
}
