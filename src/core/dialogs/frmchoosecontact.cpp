#include "core/dialogs/frmchoosecontact.h"

#include "core/errorreport.h"
#include "core/program.h"
#include "core/windows/contactopener.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>

#include <exception>

namespace {
void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsRect{static_cast<double>(left), static_cast<double>(top),
                             static_cast<double>(width), static_cast<double>(height)}
                       .toPixels());
}
} // namespace

frmChooseContact::frmChooseContact(QWidget* parent)
    : QDialog(parent), ctlContacts_(new uContactsList(this)), cmdOK_(new QPushButton(this)),
      cmdCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmChooseContact"));
    setWindowTitle(tr("Choose Contact"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    ctlContacts_->setObjectName(QStringLiteral("ctlContacts"));
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setText(tr("OK"));
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setText(tr("Cancel"));
    // No default button: Enter belongs to the list (it picks the contact under the cursor)
    // and must not press a button as well.
    cmdOK_->setAutoDefault(false);
    cmdCancel_->setAutoDefault(false);

    Place(ctlContacts_, 120, 120, 5775, 7635);
    Place(cmdOK_, 3120, 7860, 1260, 375);
    Place(cmdCancel_, 4500, 7860, 1260, 375);
    setFixedSize(TwipsToPixels(120 + 5775 + 120), TwipsToPixels(7860 + 375 + 120));
    setTabOrder(ctlContacts_->txtSearch(), ctlContacts_->lstContacts());
    setTabOrder(ctlContacts_->lstContacts(), cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    const QColor back = GraphicsRenderer().WindowBackColour();
    QPalette p = palette();
    p.setColor(QPalette::Window, back);
    setPalette(p);
    setAutoFillBackground(true);
    ctlContacts_->SetAutoUpdate(false);
    ctlContacts_->SetBackColour(back);
    ctlContacts_->SetDirectory(Program::Instance().Directory());

    connect(cmdOK_, &QPushButton::clicked, this, &frmChooseContact::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmChooseContact::cmdCancel_Click);
    connect(ctlContacts_, &uContactsList::ContactChosen, this, &frmChooseContact::cmdOK_Click);
    connect(ctlContacts_, &uContactsList::AddNewContact, this,
            &frmChooseContact::ctlContacts_AddNewContact);
}

frmChooseContact::~frmChooseContact() = default;

qint32 frmChooseContact::ChooseContact(QWidget* ParentForm, qint32 ShowContactTypes,
                                       bool AllowAddNew, const QString& SearchString) {
    return ChooseContact(Program::Instance().Directory(), ParentForm, ShowContactTypes, AllowAddNew,
                         SearchString);
}

qint32 frmChooseContact::ChooseContact(KVDirectory* directory, QWidget* ParentForm,
                                       qint32 ShowContactTypes, bool AllowAddNew,
                                       const QString& SearchString) {
    DialogInstance<frmChooseContact> form(ParentForm);
    form->cancelled_ = false;
    uContactsList* list = form->ctlContacts();
    list->SetDirectory(directory);
    list->SetContactTypes(ShowContactTypes);
    list->SetDisplayNewContact(AllowAddNew);
    const QString search = SearchString.trimmed();
    if (!search.isEmpty()) {
        list->SetSearchText(search);
    }
    RunDialog(*form.get(), true);
    if (!form) {
        return 0; // the owner went away, and the dialog with it
    }
    const qint32 result = form->cancelled_ ? 0 : list->SelectedReference();
    form->cancelled_ = false;
    form->hide();
    return result;
}

void frmChooseContact::showEvent(QShowEvent* e) {
    // Loaded here as well as on activation: a window manager may show the dialog without
    // activating it.
    ctlContacts_->Refresh();
    justShown_ = true;
    QDialog::showEvent(e);
}

bool frmChooseContact::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        // Coming back from a contact window (or another program), the directory may have
        // changed.
        if (!justShown_) {
            ctlContacts_->Refresh();
        }
        justShown_ = false;
    }
    return QDialog::event(e);
}

void frmChooseContact::cmdOK_Click() {
    cancelled_ = false;
    hide();
}

void frmChooseContact::cmdCancel_Click() {
    cancelled_ = true;
    hide();
}

void frmChooseContact::reject() {
    cmdCancel_Click();
}

void frmChooseContact::closeEvent(QCloseEvent* e) {
    e->ignore();
    cmdCancel_Click();
}

void frmChooseContact::ctlContacts_AddNewContact(const KVDirectory::ContactPtr& contact) {
    if (!contact) {
        return;
    }
    const QPointer<frmChooseContact> self(this);
    try {
        OpenContactThroughHook(contact, 1);
    } catch (const std::exception& e) {
        ShowProblem(QStringLiteral("opening the new Contact"), QString::fromUtf8(e.what()));
        return;
    }
    if (self.isNull()) {
        return;
    }
    if (contact->Reference() > 0) {
        ctlContacts_->SetSelectedReference(contact->Reference());
    }
}
