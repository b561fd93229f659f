#include "mainwindow/panes/contentpanes.h"

#include "core/profile/recentlists.h"
#include "core/program.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/panes/contactspane.h"
#include "mainwindow/panes/prizespane.h"
#include "mainwindow/panes/recentmenus.h"
#include "mainwindow/panes/websitespane.h"

#include <QPushButton>

void WireContentPanes(frmMain& w) {
    w.recentMenus =
        new RecentMenus(w.mnuRecentContacts, w.mnuRecentWebsites, w.cmdRecentContacts, &w);
    QObject::connect(&MRUNotifier::Instance(), &MRUNotifier::UpdateMRU, &w,
                     [window = &w](int flags) { window->UpdateMRU(flags); });

    ContactsPane::Controls contacts;
    contacts.ctlContacts = w.ctlContacts;
    contacts.ctlContact = w.ctlContact;
    contacts.cmdNewContact = w.cmdNewContact;
    contacts.cmdOpenContact = w.cmdOpenContact;
    contacts.cmdAddContactToRecent = w.cmdAddContactToRecent;
    contacts.cmdRecentContacts = w.cmdRecentContacts;
    contacts.fraContactMessages = w.fraContactMessages;
    contacts.lvwContactMessages = w.lvwContactMessages;
    contacts.fraContactPrizes = w.fraContactPrizes;
    contacts.lvwContactPrizes = w.lvwContactPrizes;
    ContactsPane::Services services;
    services.directory = [] { return Program::Instance().Directory(); };
    services.database = [] { return Program::Instance().Database(); };
    services.showTab = [window = &w] { window->ShowTab(MainTab::Contacts); };
    w.contactsPane = new ContactsPane(contacts, std::move(services), w.recentMenus, &w);

    w.prizesPane = new PrizesPane(
        w.ctlPrizes, w.ctlPrize, w.cmdOpenPrize, [] { return Program::Instance().Database(); }, &w);

    w.websitesPane = new WebsitesPane(
        w.ctlWebsites, w.ctlWebsite, [] { return Program::Instance().Directory(); },
        [window = &w] { window->ShowTab(MainTab::Web); }, w.recentMenus, &w);
}
