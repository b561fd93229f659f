#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

class OrlixDatabase;
class PaneFrame;

// The messages database's list of prizes. For now it holds its settings and shows whether it
// has a database; listing the prizes comes later. AutoUpdate is held for that list.
class uPrizesList : public FontPaneControl {
    Q_OBJECT
public:
    explicit uPrizesList(QWidget* parent = nullptr);
    ~uPrizesList() override;

    // Forgotten when the database object is destroyed.
    OrlixDatabase* Database() const;
    void SetDatabase(OrlixDatabase* database);
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on) { autoUpdate_ = on; }

    // The same as SetBackColour, under the name the main window gives its standard background.
    void SetBackColor(const QColor& colour) { SetBackColour(colour); }

    PaneFrame* fraList() const { return Frame(); }

private:
    void refreshContent() override;
    void showState();

    QPointer<OrlixDatabase> database_;
    bool autoUpdate_ = true;
};
