#include "mainwindow/panes/websitespane.h"

#include "core/profile/recentlists.h"
#include "mainwindow/panes/recentmenus.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/directorywebsite.h"
#include "platform/directory/kvdirectory.h"
#include "platform/ui/eventguard.h"

WebsitesPane::WebsitesPane(uWebSitesList* ctlWebsites, uWebsite* ctlWebsite,
                           std::function<KVDirectory*()> directory, std::function<void()> showTab,
                           RecentMenus* recent, QObject* parent)
    : QObject(parent), ctlWebsites_(ctlWebsites), ctlWebsite_(ctlWebsite),
      directory_(std::move(directory)), showTab_(std::move(showTab)), recent_(recent) {
    const auto chosen = [this](const KVDirectory::WebsitePtr& website) {
        GuardEvent("showing a website", [&] { ctlWebsites_WebsiteChosen(website); });
    };
    connect(ctlWebsites_, &uWebSitesList::WebsiteChosen, this, chosen);
    connect(ctlWebsites_, &uWebSitesList::AddNewWebsite, this, chosen);
    connect(ctlWebsite_, &uWebsite::AddToWebsites, this,
            [this](const QString& address, const QString& title) {
                GuardEvent("adding a website", [&] { ctlWebsite_AddToWebsites(address, title); });
            });
    if (recent_ != nullptr) {
        connect(recent_, &RecentMenus::WebsiteEntryChosen, this, [this](qint32 reference) {
            GuardEvent("showing a recent website", [&] { mnuMRUWebsite_Click(reference); });
        });
    }
}

void WebsitesPane::ctlWebsites_WebsiteChosen(const std::shared_ptr<DirectoryWebsite>& website) {
    if (!website) {
        return;
    }
    ctlWebsite_->ShowWebsite(website);
    AddWebsiteToMRU(directory_(), website->Reference());
}

void WebsitesPane::ctlWebsite_AddToWebsites(const QString& address, const QString& title) {
    KVDirectory* directory = directory_();
    if (directory == nullptr) {
        return;
    }
    auto website = std::make_shared<DirectoryWebsite>();
    website->SetAddress(address);
    website->SetTitle(title);
    bool ok = false;
    directory->AddWebsite(website, ok);
    if (ok && website) {
        AddWebsiteToMRU(directory, website->Reference());
    }
}

void WebsitesPane::mnuMRUWebsite_Click(qint32 reference) {
    KVDirectory* directory = directory_();
    const KVDirectory::WebsitePtr website =
        directory != nullptr ? directory->GetWebsite(reference) : nullptr;
    if (!website) {
        return;
    }
    ctlWebsites_->SelectWebsite(website->Reference());
    ctlWebsite_->ShowWebsite(website);
    if (showTab_) {
        showTab_();
    }
}
