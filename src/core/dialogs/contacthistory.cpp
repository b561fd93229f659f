#include "core/dialogs/contacthistory.h"

#include "platform/directory/controls/ucontact.h"
#include "platform/ui/listview.h"

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
