#pragma once

#include "platform/directory/kvdirectory.h"
#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

class PaneFrame;

// The directory's list of websites. For now it holds its settings and shows whether it has a
// directory; listing the websites comes later. HostOption is held for that list.
class uWebSitesList : public FontPaneControl {
    Q_OBJECT
public:
    explicit uWebSitesList(QWidget* parent = nullptr);
    ~uWebSitesList() override;

    // Forgotten when the directory object is destroyed.
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory);
    bool HostOption() const { return hostOption_; }
    void SetHostOption(bool on) { hostOption_ = on; }

    PaneFrame* fraList() const { return Frame(); }

private:
    void refreshContent() override;
    void showState();

    QPointer<KVDirectory> directory_;
    bool hostOption_ = false;
};
