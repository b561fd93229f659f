#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

#include <memory>

class KVDirectory;
class OrlixPrize;
class QLabel;

// A prize in brief: its title, shown as plain text. The directory is held for the supplier
// and winner details to come. Refresh shows the prize's title again: it may have been edited
// since.
class uPrizeBasic : public FontPaneControl {
    Q_OBJECT
public:
    explicit uPrizeBasic(QWidget* parent = nullptr);
    ~uPrizeBasic() override;

    // Forgotten when the directory object is destroyed.
    KVDirectory* Directory() const;
    void SetDirectory(KVDirectory* directory);
    // None shows an empty title.
    std::shared_ptr<OrlixPrize> Prize() const { return prize_; }
    void SetPrize(const std::shared_ptr<OrlixPrize>& prize);

    QLabel* lblPrizeTitle() const { return lblPrizeTitle_; }

private:
    void refreshContent() override;
    void showPrize();

    QLabel* lblPrizeTitle_;
    QPointer<KVDirectory> directory_;
    std::shared_ptr<OrlixPrize> prize_;
};
