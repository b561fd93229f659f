// The contact window's two history tabs: the contact's messages and its prizes and wins,
// filled from the messages database each time their tab is chosen, a line opened by a
// double-click.
#include "contacts/frmcontact.h"

#include "core/dialogs/contacthistory.h"
#include "core/dialogs/contacthistorylists.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/directorycontact.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/ui/listview.h"

#include <QGroupBox>
#include <QMouseEvent>

namespace {
OrlixDatabase* database() {
    return Program::Instance().Database();
}

// The line the user chose: the list's selected line, none after a click on empty space.
QTreeWidgetItem* chosenLine(const QTreeWidget* list) {
    QTreeWidgetItem* item = list->currentItem();
    return item != nullptr && item->isSelected() ? item : nullptr;
}
} // namespace

void frmContact::tabChanged(int tab) {
    if (tab == ContactHistory::kMessagesTab) {
        showMessages();
    } else if (tab == ContactHistory::kPrizesTab) {
        showPrizes();
    } else {
        fraContactMessages_->hide();
        fraContactPrizes_->hide();
    }
}

void frmContact::showMessages() {
    fraContactMessages_->show();
    fraContactMessages_->raise();
    const auto contact = ctlContact_->Contact();
    const QString emails = contact ? ContactEmailList(*contact) : QString();
    const QString numbers = contact ? ContactNumberList(*contact) : QString();
    RefillContactHistoryList(lvwContactMessages_, [&] {
        OrlixDatabase* db = database();
        if (db != nullptr && HasContactMessageAddresses(emails, numbers)) {
            db->FillContactMessages(lvwContactMessages_, emails, numbers);
        }
    });
}

void frmContact::showPrizes() {
    fraContactMessages_->hide();
    fraContactPrizes_->show();
    fraContactPrizes_->raise();
    const auto contact = ctlContact_->Contact();
    const qint32 reference = contact ? contact->Reference() : 0;
    RefillContactHistoryList(lvwContactPrizes_, [&] {
        if (OrlixDatabase* db = database(); db != nullptr && reference > 0) {
            db->FillContactPrizes(lvwContactPrizes_, reference);
        }
    });
}

void frmContact::openMessageLine() {
    const QTreeWidgetItem* line = chosenLine(lvwContactMessages_);
    OrlixDatabase* db = database();
    if (line == nullptr || db == nullptr) {
        return;
    }
    OpenMessage(db->GetMessage(ContactHistoryKeyReference(ContactHistoryKey(line))), 0);
}

void frmContact::openPrizeLine() {
    const QTreeWidgetItem* line = chosenLine(lvwContactPrizes_);
    OrlixDatabase* db = database();
    if (line == nullptr || db == nullptr) {
        return;
    }
    const QString key = ContactHistoryKey(line);
    const qint32 reference = ContactHistoryKeyReference(key);
    const QChar kind = ContactHistoryKeyKind(key);
    if (kind == QLatin1Char('w')) {
        OpenPrizeWinner(db->GetPrizeWinner(reference));
    } else if (kind == QLatin1Char('p')) {
        OpenPrize(db->GetPrize(reference, true));
    }
}

bool frmContact::eventFilter(QObject* watched, QEvent* event) {
    for (ListView* list : {lvwContactMessages_, lvwContactPrizes_}) {
        if (list == nullptr || watched != list->viewport()) {
            continue;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            SelectContactHistoryLineAt(list,
                                       static_cast<QMouseEvent*>(event)->position().toPoint());
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            if (list == lvwContactMessages_) {
                openMessageLine();
            } else {
                openPrizeLine();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
