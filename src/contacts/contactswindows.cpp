#include "contacts/contactswindows.h"

#include "contacts/addresslabelprinter.h"
#include "contacts/frmaddresslabels.h"
#include "contacts/frmcontact.h"
#include "contacts/frmprize.h"
#include "contacts/frmprizewinner.h"
#include "core/windows/windowregistry.h"

#include <QWidget>

void InstallContactsWindows(WindowRegistry& windows) {
    windows.Register(WindowKind::Contact, [](QWidget* owner) { return new frmContact(owner); });
    windows.Register(WindowKind::Prize, [](QWidget* owner) { return new frmPrize(owner); });
    windows.Register(WindowKind::PrizeWinner,
                     [](QWidget* owner) { return new frmPrizeWinner(owner); });
    SetAddressLabelPrinter(&frmAddressLabels::PrintAddresses);
}
