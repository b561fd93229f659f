#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

#include <memory>

class OrlixDatabase;
class OrlixPrize;
class PaneFrame;
class QTreeWidget;
class QTreeWidgetItem;

// The messages database's prizes: a "<New Prize>" entry, then each prize with its dates and
// "won of supplied", running ones first (ListPrizes' order). Texts are shown as plain text.
//
// Events: PrizeSelected when the selection moves (none for no row or the new entry),
// PrizeChosen on a double click or Enter on a prize (read afresh with its winners),
// AddNewPrize for the new entry (a new, unsaved prize).
class uPrizesList : public FontPaneControl {
    Q_OBJECT
public:
    static constexpr int kReferenceRole = Qt::UserRole;

    explicit uPrizesList(QWidget* parent = nullptr);
    ~uPrizesList() override;

    static QString NewPrizeText();
    // The Title column's width: never narrower than the widest title (widest), capped at the
    // visible width; the space the other columns (others, at their content widths) leave
    // goes to it. With visible 0 or less (not laid out yet) the widest title.
    static int TitleWidth(int visible, int widest, int others);

    // Forgotten when the database object is destroyed.
    OrlixDatabase* Database() const;
    void SetDatabase(OrlixDatabase* database);
    // True: the list reloads, keeping its selection, whenever the database says a prize or a
    // winner changed. False: only on Refresh.
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on);

    // The same as SetBackColour, under the name the main window gives its standard background.
    void SetBackColor(const QColor& colour) { SetBackColour(colour); }

    // Reference of the selected prize; 0 for none or the new entry.
    qint32 SelectedReference() const;

    PaneFrame* fraList() const { return Frame(); }
    QTreeWidget* lvwPrizes() const { return list_; }
    // The row of a prize; null when it is not listed.
    QTreeWidgetItem* ItemOf(qint32 reference) const;
    QTreeWidgetItem* NewPrizeItem() const;

Q_SIGNALS:
    void PrizeSelected(const std::shared_ptr<OrlixPrize>& prize);
    void PrizeChosen(const std::shared_ptr<OrlixPrize>& prize);
    void AddNewPrize(const std::shared_ptr<OrlixPrize>& prize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshContent() override;
    void showState();
    void load();
    void follow();
    void onCurrentChanged(QTreeWidgetItem* item);
    void onActivated(QTreeWidgetItem* item);
    void fitColumns();

    QTreeWidget* list_;
    QPointer<OrlixDatabase> database_;
    QMetaObject::Connection changes_;
    bool autoUpdate_ = true;
    bool loading_ = false;
};
