#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class DirectoryWebsite;
class KVDirectory;
class RecentMenus;
class uWebSitesList;
class uWebsite;

// The main window's websites tab: the directory's websites and the one shown. Showing a
// website keeps it in the user's recent websites; the page shown can be stored as a new
// website; a recent website chosen from the File menu is shown here.
class WebsitesPane : public QObject {
    Q_OBJECT
public:
    // The directory is asked for at each use; showTab brings the websites tab forward.
    WebsitesPane(uWebSitesList* ctlWebsites, uWebsite* ctlWebsite,
                 std::function<KVDirectory*()> directory, std::function<void()> showTab,
                 RecentMenus* recent, QObject* parent);

    void ctlWebsites_WebsiteChosen(const std::shared_ptr<DirectoryWebsite>& website);
    void ctlWebsite_AddToWebsites(const QString& address, const QString& title);
    void mnuMRUWebsite_Click(qint32 reference);

private:
    uWebSitesList* ctlWebsites_;
    uWebsite* ctlWebsite_;
    std::function<KVDirectory*()> directory_;
    std::function<void()> showTab_;
    QPointer<RecentMenus> recent_;
};
