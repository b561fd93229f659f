#pragma once

#include "platform/directory/kvdirectory.h"
#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

class PaneFrame;
class QTreeWidget;
class QTreeWidgetItem;

// The directory's websites by caption, after a "<New Website>" entry. It reloads on Refresh
// and whenever the directory adds a website. HostOption is kept and changes nothing.
//
// Events: WebsiteChosen on a double click or Enter on a website; AddNewWebsite for the new
// entry (an unsaved website).
class uWebSitesList : public FontPaneControl {
    Q_OBJECT
public:
    static constexpr int kReferenceRole = Qt::UserRole;

    explicit uWebSitesList(QWidget* parent = nullptr);
    ~uWebSitesList() override;

    static QString NewWebsiteText();

    // Forgotten when the directory object is destroyed.
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory);
    bool HostOption() const { return hostOption_; }
    void SetHostOption(bool on) { hostOption_ = on; }

    // Selects the website's row; false when it is not listed.
    bool SelectWebsite(qint32 reference);
    qint32 SelectedReference() const;

    PaneFrame* fraList() const { return Frame(); }
    QTreeWidget* lvwWebsites() const { return list_; }
    QTreeWidgetItem* ItemOf(qint32 reference) const;
    QTreeWidgetItem* NewWebsiteItem() const;

Q_SIGNALS:
    void WebsiteChosen(const KVDirectory::WebsitePtr& website);
    void AddNewWebsite(const KVDirectory::WebsitePtr& website);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshContent() override;
    void showState();
    void load();
    void onActivated(QTreeWidgetItem* item);

    QTreeWidget* list_;
    QPointer<KVDirectory> directory_;
    QMetaObject::Connection changes_;
    bool hostOption_ = false;
};
