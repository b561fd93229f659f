#pragma once

#include "platform/ui/twips.h"

#include <QWidget>

class uSplitPanelSeparator;

// Two panes side by side with a separator between them that the user drags. The panes are
// no widgets: the owner places its own controls (children of the splitter) in the
// rectangles reported here whenever Layout is raised.
//
// Position is the first pane's width as last set, by code or by a drag. It is kept even
// while the splitter is too narrow for it (a window restored at login sets it before the
// splitter has its final size); the rectangles use it clamped to the present width.
class uSplitPanel : public QWidget {
    Q_OBJECT
public:
    // Twips each pane keeps while the splitter is wide enough for both.
    static constexpr qint32 kMinimumPane = 60;
    static constexpr qint32 kSeparatorWidth = 60;

    explicit uSplitPanel(QWidget* parent = nullptr);
    ~uSplitPanel() override;

    qint32 Position() const { return position_; }
    // Stores the value as given (a negative one as 0) and raises Layout.
    void SetPosition(qint32 twips);

    // Whole twips, relative to the splitter.
    TwipsRect FirstPaneRect() const;
    TwipsRect SecondPaneRect() const;
    qint32 SeparatorWidth() const { return kSeparatorWidth; }

    // The layout rules for a splitter of a given size in twips. The position is clamped so
    // that both panes keep kMinimumPane where the width allows (sharing what there is when
    // it does not), never below 0 nor beyond the width; no width or height is negative.
    static qint32 EffectivePosition(qint32 position, qint32 width);
    static TwipsRect FirstPaneRectFor(qint32 width, qint32 height, qint32 position);
    static TwipsRect SecondPaneRectFor(qint32 width, qint32 height, qint32 position);

Q_SIGNALS:
    // The panes' rectangles may have changed: on every resize (Qt delivers the resize of a
    // hidden widget when it is shown), on SetPosition and while the separator is dragged.
    void Layout();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class uSplitPanelSeparator;
    qint32 widthTwips() const;
    qint32 heightTwips() const;
    void dragTo(int separatorLeftPixels);
    void relayout();

    qint32 position_ = 0;
    uSplitPanelSeparator* separator_ = nullptr;
};
