#pragma once

#include "platform/system/fontstyle.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <memory>

class OrlixDatabase;
class PaneFrame;

// The messages database's list of prizes. For now it holds its settings and shows whether it
// has a database; listing the prizes comes later. AutoUpdate is held for that list.
class uPrizesList : public QWidget {
    Q_OBJECT
public:
    explicit uPrizesList(QWidget* parent = nullptr);
    ~uPrizesList() override;

    // Forgotten when the database object is destroyed.
    OrlixDatabase* Database() const;
    void SetDatabase(OrlixDatabase* database);
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on) { autoUpdate_ = on; }

    // The font is applied again, as its users change it in place.
    void Refresh();
    int RefreshCount() const { return refreshCount_; }

    // None gives the inherited font back.
    void SetFont(const std::shared_ptr<StdFont>& font);
    std::shared_ptr<StdFont> Font() const { return font_; }
    QColor BackColour() const { return backColour_; }
    void SetBackColour(const QColor& colour);
    // The same as SetBackColour, under the name the main window gives its standard background.
    void SetBackColor(const QColor& colour) { SetBackColour(colour); }

    PaneFrame* fraList() const { return frame_; }

private:
    void showState();
    void applyFont();

    PaneFrame* frame_;
    QPointer<OrlixDatabase> database_;
    std::shared_ptr<StdFont> font_;
    QColor backColour_;
    int refreshCount_ = 0;
    bool autoUpdate_ = true;
};
