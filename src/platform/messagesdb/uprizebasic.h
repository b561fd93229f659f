#pragma once

#include "platform/system/fontstyle.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <memory>

class KVDirectory;
class OrlixPrize;
class PaneFrame;
class QLabel;

// A prize in brief: its title, shown as plain text. The directory is held for the supplier
// and winner details to come.
class uPrizeBasic : public QWidget {
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

    // Shows the prize's title again (it may have been edited since) and applies the font
    // again, as its users change it in place.
    void Refresh();
    int RefreshCount() const { return refreshCount_; }

    // None gives the inherited font back.
    void SetFont(const std::shared_ptr<StdFont>& font);
    std::shared_ptr<StdFont> Font() const { return font_; }
    QColor BackColour() const { return backColour_; }
    void SetBackColour(const QColor& colour);

    QLabel* lblPrizeTitle() const { return lblPrizeTitle_; }

private:
    void showPrize();
    void applyFont();

    PaneFrame* frame_;
    QLabel* lblPrizeTitle_;
    QPointer<KVDirectory> directory_;
    std::shared_ptr<OrlixPrize> prize_;
    std::shared_ptr<StdFont> font_;
    QColor backColour_;
    int refreshCount_ = 0;
};
