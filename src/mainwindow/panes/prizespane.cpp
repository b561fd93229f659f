#include "mainwindow/panes/prizespane.h"

#include "core/windows/windowopeners.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/eventguard.h"

#include <QPushButton>

PrizesPane::PrizesPane(uPrizesList* ctlPrizes, uPrizeBasic* ctlPrize, QPushButton* cmdOpenPrize,
                       std::function<OrlixDatabase*()> database, QObject* parent)
    : QObject(parent), ctlPrizes_(ctlPrizes), ctlPrize_(ctlPrize), cmdOpenPrize_(cmdOpenPrize),
      database_(std::move(database)) {
    cmdOpenPrize_->setEnabled(false);
    connect(ctlPrizes_, &uPrizesList::PrizeSelected, this,
            [this](const std::shared_ptr<OrlixPrize>& prize) {
                GuardEvent("showing a prize", [&] { ctlPrizes_PrizeSelected(prize); });
            });
    const auto open = [this](const std::shared_ptr<OrlixPrize>& prize) {
        GuardEvent("opening a prize", [&] { OpenPrize(prize); });
    };
    connect(ctlPrizes_, &uPrizesList::AddNewPrize, this, open);
    connect(ctlPrizes_, &uPrizesList::PrizeChosen, this, open);
    connect(cmdOpenPrize_, &QPushButton::clicked, this,
            [this] { GuardEvent("opening a prize", [&] { cmdOpenPrize_Click(); }); });
    connect(ctlPrize_, &uPrizeBasic::AddNewWinner, this,
            [this] { GuardEvent("making a prize winner", [&] { ctlPrize_AddNewWinner(); }); });
    connect(ctlPrize_, &uPrizeBasic::WinnerChosen, this,
            [this](std::shared_ptr<OrlixPrizeWinner>& winner) {
                GuardEvent("opening a prize winner", [&] { ctlPrize_WinnerChosen(winner); });
            });
}

void PrizesPane::Follow(OrlixDatabase* database) {
    disconnect(changes_);
    if (database != nullptr) {
        changes_ = connect(database, &OrlixDatabase::PrizesChanged, this, [this] {
            GuardEvent("showing the prize again", [this] { prizesChanged(); });
        });
    }
}

void PrizesPane::prizesChanged() {
    const std::shared_ptr<OrlixPrize> shown = ctlPrize_->Prize();
    OrlixDatabase* database = database_();
    if (!shown || shown->Reference() < 1 || database == nullptr) {
        return;
    }
    bool ok = false;
    database->ReloadPrize(*shown, ok);
    if (ok) {
        ctlPrize_->Refresh();
    }
}

void PrizesPane::ctlPrizes_PrizeSelected(const std::shared_ptr<OrlixPrize>& prize) {
    ctlPrize_->SetPrize(prize);
    cmdOpenPrize_->setEnabled(prize != nullptr);
}

void PrizesPane::cmdOpenPrize_Click() {
    const auto shown = ctlPrize_->Prize();
    OrlixDatabase* database = database_();
    if (!shown || shown->Reference() < 1 || database == nullptr) {
        return;
    }
    OpenPrize(database->GetPrize(shown->Reference(), true));
}

void PrizesPane::ctlPrize_AddNewWinner() {
    const auto shown = ctlPrize_->Prize();
    OrlixDatabase* database = database_();
    // A winner of no prize would be a winner of nothing.
    if (!shown || database == nullptr) {
        return;
    }
    OpenPrizeWinner(database->NewPrizeWinner(*shown));
}

void PrizesPane::ctlPrize_WinnerChosen(std::shared_ptr<OrlixPrizeWinner>& winner) {
    OrlixDatabase* database = database_();
    if (!winner || database == nullptr) {
        return;
    }
    winner = database->GetPrizeWinner(winner->Reference());
    OpenPrizeWinner(winner);
}
