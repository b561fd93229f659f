#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QPointer>

#include <memory>

class KVDirectory;
class OrlixPrize;
class OrlixPrizeWinner;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// A prize in brief: title, dates, supplier (from the directory), number supplied and won, and
// its winners (name, won date, sent date or "Not sent"), all as plain text. A stored prize
// lists a "<New Winner>" entry first. Refresh shows the prize again: it may have been edited
// since.
//
// Events: AddNewWinner for the new entry; WinnerChosen on a double click or Enter on a
// winner, given the row's object by reference: the row keeps whatever the handler puts back.
class uPrizeBasic : public FontPaneControl {
    Q_OBJECT
public:
    explicit uPrizeBasic(QWidget* parent = nullptr);
    ~uPrizeBasic() override;

    static QString NewWinnerText();
    static QString NotSentText();

    // Forgotten when the directory object is destroyed.
    KVDirectory* Directory() const;
    void SetDirectory(KVDirectory* directory);
    // None shows empty fields.
    std::shared_ptr<OrlixPrize> Prize() const { return prize_; }
    void SetPrize(const std::shared_ptr<OrlixPrize>& prize);

    QLabel* lblPrizeTitle() const { return lblPrizeTitle_; }
    QLabel* lblDates() const { return lblDates_; }
    QLabel* lblSupplier() const { return lblSupplier_; }
    QLabel* lblNumbers() const { return lblNumbers_; }
    QTreeWidget* lvwWinners() const { return winners_; }
    // The winner a row holds; null for the new entry or no row.
    std::shared_ptr<OrlixPrizeWinner> WinnerOf(const QTreeWidgetItem* row) const;

Q_SIGNALS:
    void AddNewWinner();
    void WinnerChosen(std::shared_ptr<OrlixPrizeWinner>& winner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshContent() override;
    void showPrize();
    QString contactName(qint32 reference) const;
    void onActivated(QTreeWidgetItem* row);

    QLabel* lblPrizeTitle_;
    QLabel* lblDates_;
    QLabel* lblSupplier_;
    QLabel* lblNumbers_;
    QTreeWidget* winners_;
    QPointer<KVDirectory> directory_;
    std::shared_ptr<OrlixPrize> prize_;
    // The winner of each row, by row index; the new entry's is null.
    QList<std::shared_ptr<OrlixPrizeWinner>> rowWinners_;
};
