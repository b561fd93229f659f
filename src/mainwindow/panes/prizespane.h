#pragma once

#include <QObject>

#include <functional>
#include <memory>

class OrlixDatabase;
class OrlixPrize;
class OrlixPrizeWinner;
class QPushButton;
class uPrizeBasic;
class uPrizesList;

// The main window's prizes tab: the list of prizes, the prize shown with its winners, and the
// button that opens it. Its requests open the prize and prize-winner windows through the
// openers; the windows always get the database's own copy.
class PrizesPane : public QObject {
    Q_OBJECT
public:
    // The database is asked for at each use: it changes with the settings.
    PrizesPane(uPrizesList* ctlPrizes, uPrizeBasic* ctlPrize, QPushButton* cmdOpenPrize,
               std::function<OrlixDatabase*()> database, QObject* parent);

    // The database whose prize changes the prize shown follows (none: nothing).
    void Follow(OrlixDatabase* database);

    void ctlPrizes_PrizeSelected(const std::shared_ptr<OrlixPrize>& prize);
    void cmdOpenPrize_Click();
    void ctlPrize_AddNewWinner();
    void ctlPrize_WinnerChosen(std::shared_ptr<OrlixPrizeWinner>& winner);

private:
    // A prize or winner changed, here or elsewhere: the prize shown is read again, as the
    // window's activation does; one that was deleted goes with the list's selection.
    void prizesChanged();

    QMetaObject::Connection changes_;
    uPrizesList* ctlPrizes_;
    uPrizeBasic* ctlPrize_;
    QPushButton* cmdOpenPrize_;
    std::function<OrlixDatabase*()> database_;
};
