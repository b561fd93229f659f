#pragma once

#include "platform/system/fontstyle.h"
#include "platform/ui/panecontrol.h"

#include <memory>

// A pane control in the program's font. It keeps the font object itself, which its users
// change in place, so Refresh applies it again before the control shows its content again.
class FontPaneControl : public PaneControl {
    Q_OBJECT
public:
    ~FontPaneControl() override;

    // None gives the inherited font back.
    void SetFont(const std::shared_ptr<StdFont>& font);
    std::shared_ptr<StdFont> Font() const { return font_; }

    void Refresh();
    int RefreshCount() const { return refreshCount_; }

protected:
    FontPaneControl(const QString& title, QWidget* parent);

    // What Refresh shows again, after the font.
    virtual void refreshContent() = 0;

private:
    void applyFont();

    std::shared_ptr<StdFont> font_;
    int refreshCount_ = 0;
};
