#include "core/dialogs/contacthistory.h"

#include "core/generalroutines.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/directory/directorycontact.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/listview.h"
#include "platform/ui/mousepointer.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>
#include <QTreeWidget>

void AddContactHistoryTabs(uContact* contact) {
    if (contact == nullptr) {
        return;
    }
    contact->SetMaxTabs(6);
    contact->SetCustomTabs(2);
    contact->AddTab(ContactHistory::kMessagesTab, ContactHistory::MessagesTabCaption());
    contact->AddTab(ContactHistory::kPrizesTab, ContactHistory::PrizesTabCaption());
}

void SetupContactMessagesColumns(ListView* list) {
    if (list == nullptr) {
        return;
    }
    list->ClearColumnHeaders();
    list->AddColumnHeader(ContactHistory::MessagesFillColumnKey(), QStringLiteral("Subject"));
    list->AddColumnHeader(QStringLiteral("SENT"), QStringLiteral("Sent"), 2000);
    list->AddColumnHeader(QStringLiteral("FOLDER"), QStringLiteral("Folder"), 1250);
}

void SetupContactPrizesColumns(ListView* list) {
    if (list == nullptr) {
        return;
    }
    list->ClearColumnHeaders();
    list->AddColumnHeader(ContactHistory::PrizesFillColumnKey(), QStringLiteral("Title"));
    list->AddColumnHeader(QStringLiteral("FOLDER"), QStringLiteral("Details"), 1500);
}

namespace ContactHistory {
namespace {
QString joined(std::initializer_list<const QString*> texts) {
    QStringList parts;
    for (const QString* t : texts) {
        if (!t->isEmpty()) {
            parts.append(*t);
        }
    }
    return parts.join(QLatin1Char('|'));
}
} // namespace

QString EmailsText(const DirectoryContact* contact) {
    if (contact == nullptr) {
        return {};
    }
    return joined({&contact->Email1(), &contact->Email2(), &contact->Email3()});
}

QString NumbersText(const DirectoryContact* contact) {
    if (contact == nullptr) {
        return {};
    }
    return joined({&contact->PhoneNumber1(), &contact->PhoneNumber2(), &contact->MobileNumber(),
                   &contact->OtherNumber()});
}

QString LineKey(const QTreeWidgetItem* line) {
    return line != nullptr ? line->data(0, Qt::UserRole).toString() : QString();
}

QChar KeyKind(const QString& key) {
    return key.isEmpty() ? QChar() : key.front().toLower();
}

qint32 KeyReference(const QString& key) {
    return ToInteger32(ValOf(QStringView(key).mid(std::min<qsizetype>(1, key.size())))).value_or(0);
}

void FillBusy(QTreeWidget* list, const std::function<void()>& fill) {
    if (list == nullptr) {
        return;
    }
    QPalette busy = list->palette();
    busy.setColor(QPalette::Base, list->palette().color(QPalette::Button));
    list->setPalette(busy);
    {
        MousePointerGuard pointer(MousePointerGuard::Hourglass);
        list->clear();
        if (fill) {
            fill();
        }
    }
    QPalette done = list->palette();
    done.setColor(QPalette::Base, QApplication::palette(list).color(QPalette::Base));
    list->setPalette(done);
}

void FillMessages(QTreeWidget* list, OrlixDatabase* database, const DirectoryContact* contact) {
    const QString emails = EmailsText(contact);
    const QString numbers = NumbersText(contact);
    FillBusy(list, [&] {
        if (database != nullptr && (!emails.isEmpty() || !numbers.isEmpty())) {
            database->FillContactMessages(list, emails, numbers);
        }
    });
}

void FillPrizes(QTreeWidget* list, OrlixDatabase* database, const DirectoryContact* contact) {
    const qint32 reference = contact != nullptr ? contact->Reference() : 0;
    FillBusy(list, [&] {
        if (database != nullptr) {
            database->FillContactPrizes(list, reference);
        }
    });
}
} // namespace ContactHistory
