#pragma once

#include "platform/directory/kvdirectory.h"
#include "platform/system/fontstyle.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <memory>

class PaneFrame;

// The directory's list of websites. For now it holds its settings and shows whether it has a
// directory; listing the websites comes later. HostOption is held for that list.
class uWebSitesList : public QWidget {
    Q_OBJECT
public:
    explicit uWebSitesList(QWidget* parent = nullptr);
    ~uWebSitesList() override;

    // Forgotten when the directory object is destroyed.
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory);
    bool HostOption() const { return hostOption_; }
    void SetHostOption(bool on) { hostOption_ = on; }

    // The font is applied again, as its users change it in place.
    void Refresh();
    int RefreshCount() const { return refreshCount_; }

    // None gives the inherited font back.
    void SetFont(const std::shared_ptr<StdFont>& font);
    std::shared_ptr<StdFont> Font() const { return font_; }
    QColor BackColour() const { return backColour_; }
    void SetBackColour(const QColor& colour);

    PaneFrame* fraList() const { return frame_; }

private:
    void showState();
    void applyFont();

    PaneFrame* frame_;
    QPointer<KVDirectory> directory_;
    std::shared_ptr<StdFont> font_;
    QColor backColour_;
    int refreshCount_ = 0;
    bool hostOption_ = false;
};
