#include "platform/directory/controls/ucontact.h"

#include "platform/system/platformlog.h"
#include "platform/ui/backcolour.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// The tab page's rectangle as the tab widget itself lays its pages out, also before the
// control is first shown.
class ContactTabs : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    QRect PageRect() const {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
    }
};
} // namespace

uContact::uContact(QWidget* parent) : QWidget(parent), tabs_(new ContactTabs(this)) {
    setObjectName(QStringLiteral("uContact"));
    tabs_->setObjectName(QStringLiteral("tabContact"));

    auto* general = new QWidget(tabs_);
    auto* generalLayout = new QFormLayout(general);
    generalLayout->setVerticalSpacing(2);
    field(general, "txtName", tr("Name:"));
    field(general, "txtCompany", tr("Company:"));
    txtAddress_ = new QPlainTextEdit(general);
    txtAddress_->setObjectName(QStringLiteral("txtAddress"));
    txtAddress_->setTabChangesFocus(true);
    txtAddress_->setMaximumHeight(TwipsToPixels(1000));
    generalLayout->addRow(tr("Address:"), txtAddress_);
    field(general, "txtPhoneNumber1", tr("Phone:"));
    field(general, "txtPhoneNumber2", tr("Phone 2:"));
    field(general, "txtMobileNumber", tr("Mobile:"));
    field(general, "txtOtherNumber", tr("Other:"));
    field(general, "txtEmail1", tr("E-mail:"));
    field(general, "txtEmail2", tr("E-mail 2:"));
    field(general, "txtEmail3", tr("E-mail 3:"));

    auto* login = new QWidget(tabs_);
    auto* loginLayout = new QFormLayout(login);
    field(login, "txtLoginName", tr("Login name:"));
    const auto box = [this](QWidget* page, const char* name, const QString& caption) {
        auto* check = new QCheckBox(caption, page);
        check->setObjectName(QString::fromLatin1(name));
        static_cast<QFormLayout*>(page->layout())->addRow(QString(), check);
        connect(check, &QCheckBox::toggled, this, [this] { edited(); });
        return check;
    };
    loginLayout->addRow(new QLabel(tr("Directory rights:"), login));
    directoryRights_.insert(DirectoryRights::SaveContacts,
                            box(login, "chkSaveContacts", tr("Save contacts")));
    directoryRights_.insert(DirectoryRights::SavePersonalContacts,
                            box(login, "chkSavePersonalContacts", tr("Save personal contacts")));
    directoryRights_.insert(DirectoryRights::SaveUsers,
                            box(login, "chkSaveUsers", tr("Save users")));
    directoryRights_.insert(
        DirectoryRights::ChangeDirectorySettings,
        box(login, "chkChangeDirectorySettings", tr("Change the directory settings")));
    loginLayout->addRow(new QLabel(tr("Program rights:"), login));
    userRights_.insert(UserRights::SaveMessages,
                       box(login, "chkSaveMessages", tr("Save messages")));
    userRights_.insert(UserRights::SavePersonalMessages,
                       box(login, "chkSavePersonalMessages", tr("Save personal messages")));
    userRights_.insert(UserRights::CreateScripts,
                       box(login, "chkCreateScripts", tr("Create scripts")));
    userRights_.insert(UserRights::ChangeSettings,
                       box(login, "chkChangeSettings", tr("Change the program settings")));
    auto* passwords = new QLabel(tr("Passwords are set in Kestova Directory Settings."), login);
    passwords->setWordWrap(true);
    loginLayout->addRow(passwords);

    auto* settings = new QWidget(tabs_);
    new QFormLayout(settings);
    chkPersonal_ = box(settings, "chkPersonal", tr("Personal contact"));

    auto* notes = new QWidget(tabs_);
    auto* notesLayout = new QVBoxLayout(notes);
    txtNotes_ = new QPlainTextEdit(notes);
    txtNotes_->setObjectName(QStringLiteral("txtNotes"));
    notesLayout->addWidget(txtNotes_);

    for (QPlainTextEdit* edit : {txtAddress_, txtNotes_}) {
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { edited(); });
    }

    const std::pair<QWidget*, QString> own[] = {
        {general, tr("General")},
        {login, tr("Login")},
        {settings, tr("Settings")},
        {notes, tr("Notes")},
    };
    int number = 0;
    for (const auto& [page, caption] : own) {
        tabs_->addTab(page, caption);
        pages_.insert(number++, page);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        const int tab = CurrentTab();
        if (tab >= 0) {
            Q_EMIT TabChanged(tab);
        }
    });
    resize(TwipsToPixels(5000), TwipsToPixels(4000));
    fill();
    applyEditable();
}

uContact::~uContact() = default;

QLineEdit* uContact::field(QWidget* page, const char* name, const QString& label) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QString::fromLatin1(name));
    static_cast<QFormLayout*>(page->layout())->addRow(label, edit);
    fields_.insert(QString::fromLatin1(name), edit);
    connect(edit, &QLineEdit::textChanged, this, [this] { edited(); });
    return edit;
}

QString uContact::text(const char* name) const {
    const QLineEdit* edit = fields_.value(QString::fromLatin1(name));
    return edit != nullptr ? edit->text() : QString();
}

void uContact::SetDirectory(KVDirectory* directory) {
    if (directory_ != nullptr) {
        disconnect(directory_, nullptr, this, nullptr);
    }
    directory_ = directory;
    if (directory_ != nullptr) {
        connect(directory_, &KVDirectory::ContactSaved, this, &uContact::contactSaved);
        // Who may edit the login and the rights follows who is logged in.
        connect(directory_, &KVDirectory::ContactLogin, this, &uContact::applyEditable);
        connect(directory_, &KVDirectory::ContactLogout, this, &uContact::applyEditable);
    }
    applyEditable();
}

void uContact::SetHostOption(bool on) {
    hostOption_ = on;
    applyEditable();
}

void uContact::SetContact(const ContactPtr& contact) {
    contact_ = contact;
    completeFromDirectory();
    restart();
    Q_EMIT HistoryChanged(QString());
}

void uContact::completeFromDirectory() {
    if (!contact_ || contact_->Reference() <= 0 ||
        (contact_->IsFullRecord() && contact_->Record().notesRead) || directory_ == nullptr) {
        return;
    }
    const auto whole = directory_->GetContact(contact_->Reference(), true, true);
    if (!whole) {
        return;
    }
    // Only what the light record lacks: fields changed in the object meanwhile stay.
    ContactRecord record = contact_->Record();
    if (!record.full) {
        record.address = whole->Address();
        record.full = true;
    }
    if (!record.notesRead) {
        record.notes = whole->Notes();
        record.notesRead = true;
    }
    contact_->SetRecord(record);
}

void uContact::restart() {
    const bool was = changed_;
    fill();
    changed_ = false;
    applyEditable();
    if (was) {
        Q_EMIT EditStateChanged(false);
    }
}

void uContact::contactSaved(const ContactPtr& saved) {
    if (saved && saved == contact_) {
        restart();
    }
}

void uContact::edited() {
    if (loading_ || changed_ || hostOption_) {
        return;
    }
    changed_ = true;
    applyEditable();
    Q_EMIT EditStateChanged(true);
}

void uContact::fill() {
    loading_ = true;
    const DirectoryContact empty;
    const DirectoryContact& c = contact_ ? *contact_ : empty;
    const std::pair<const char*, QString> values[] = {
        {"txtName", c.Name()},
        {"txtCompany", c.Company()},
        {"txtLoginName", c.LoginName()},
        {"txtPhoneNumber1", c.PhoneNumber1()},
        {"txtPhoneNumber2", c.PhoneNumber2()},
        {"txtMobileNumber", c.MobileNumber()},
        {"txtOtherNumber", c.OtherNumber()},
        {"txtEmail1", c.Email1()},
        {"txtEmail2", c.Email2()},
        {"txtEmail3", c.Email3()},
    };
    for (const auto& [name, value] : values) {
        if (QLineEdit* edit = fields_.value(QString::fromLatin1(name))) {
            edit->setText(value);
            edit->setCursorPosition(0);
        }
    }
    txtAddress_->setPlainText(DirectoryContact::AddressLines(c.Address()).join(u'\n'));
    txtNotes_->setPlainText(c.Notes());
    const quint32 directoryBits = c.DirectoryRights().Bits();
    for (auto it = directoryRights_.cbegin(); it != directoryRights_.cend(); ++it) {
        it.value()->setChecked((directoryBits & it.key()) != 0);
    }
    const quint32 userBits = c.UserRights().Bits();
    for (auto it = userRights_.cbegin(); it != userRights_.cend(); ++it) {
        it.value()->setChecked((userBits & it.key()) != 0);
    }
    chkPersonal_->setChecked(c.OwnerReference() > 0);
    loading_ = false;
}

void uContact::applyEditable() {
    const auto user = directory_ != nullptr ? directory_->CurrentUser() : nullptr;
    const bool editable = !hostOption_;
    for (QLineEdit* edit : std::as_const(fields_)) {
        edit->setReadOnly(!editable);
    }
    txtAddress_->setReadOnly(!editable);
    txtNotes_->setReadOnly(!editable);
    // Passwords stay in the directory's settings dialog; the login and the rights here.
    const bool usersEditable = editable && user && user->DirectoryRights().CanSaveUsers();
    fields_.value(QStringLiteral("txtLoginName"))->setReadOnly(!usersEditable);
    for (QCheckBox* check : std::as_const(directoryRights_)) {
        check->setEnabled(usersEditable);
    }
    for (QCheckBox* check : std::as_const(userRights_)) {
        check->setEnabled(usersEditable);
    }
    // Only a new contact can be made personal (owned by whoever is logged in), never a user.
    const bool isNew = !contact_ || contact_->Reference() <= 0;
    chkPersonal_->setEnabled(editable && user && isNew && text("txtLoginName").trimmed().isEmpty());
}

QString uContact::EditedName() const {
    return text("txtName");
}

bool uContact::CheckDetails(bool showMessage) {
    if (!text("txtName").trimmed().isEmpty()) {
        return true;
    }
    if (showMessage) {
        SetCurrentTab(0);
        MsgBox(QStringLiteral("You must enter a Name for this Contact!"), MsgIcon::Exclamation,
               MsgButtons::OK, 0, window());
        QLineEdit* name = fields_.value(QStringLiteral("txtName"));
        name->setFocus();
    }
    return false;
}

void uContact::StoreEdits() {
    if (!contact_) {
        return;
    }
    DirectoryContact& c = *contact_;
    c.SetName(text("txtName").trimmed());
    c.SetCompany(text("txtCompany").trimmed());
    c.SetPhoneNumber1(text("txtPhoneNumber1").trimmed());
    c.SetPhoneNumber2(text("txtPhoneNumber2").trimmed());
    c.SetMobileNumber(text("txtMobileNumber").trimmed());
    c.SetOtherNumber(text("txtOtherNumber").trimmed());
    c.SetEmail1(text("txtEmail1").trimmed());
    c.SetEmail2(text("txtEmail2").trimmed());
    c.SetEmail3(text("txtEmail3").trimmed());
    // Unchanged text leaves the record as it was: a light record's address stays unread.
    const QString address = txtAddress_->toPlainText().split(u'\n').join(QStringLiteral("\r\n"));
    if (address != DirectoryContact::AddressLines(c.Address()).join(QStringLiteral("\r\n"))) {
        c.SetAddress(address);
    }
    if (txtNotes_->toPlainText() != c.Notes()) {
        c.SetNotes(txtNotes_->toPlainText());
    }
    const auto user = directory_ != nullptr ? directory_->CurrentUser() : nullptr;
    if (!fields_.value(QStringLiteral("txtLoginName"))->isReadOnly()) {
        c.SetLoginName(text("txtLoginName"));
        DirectoryRights directoryRights;
        for (auto it = directoryRights_.cbegin(); it != directoryRights_.cend(); ++it) {
            if (it.value()->isChecked()) {
                directoryRights = DirectoryRights(directoryRights.Bits() | it.key());
            }
        }
        UserRights userRights;
        for (auto it = userRights_.cbegin(); it != userRights_.cend(); ++it) {
            if (it.value()->isChecked()) {
                userRights = UserRights(userRights.Bits() | it.key());
            }
        }
        if (directoryRights != c.DirectoryRights()) {
            c.SetDirectoryRights(directoryRights);
        }
        if (userRights != c.UserRights()) {
            c.SetUserRights(userRights);
        }
    }
    if (chkPersonal_->isEnabled() && user) {
        const qint32 owner = chkPersonal_->isChecked() ? user->Reference() : 0;
        if (owner != c.OwnerReference()) {
            c.SetOwnerReference(owner);
        }
    }
}

QWidget* uContact::focusedField() const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && isAncestorOf(focus) ? focus : nullptr;
}

void uContact::EditCut() {
    if (auto* line = qobject_cast<QLineEdit*>(focusedField())) {
        line->cut();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField())) {
        text->cut();
    }
}

void uContact::EditCopy() {
    if (auto* line = qobject_cast<QLineEdit*>(focusedField())) {
        line->copy();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField())) {
        text->copy();
    }
}

void uContact::EditPaste() {
    if (auto* line = qobject_cast<QLineEdit*>(focusedField())) {
        line->paste();
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField())) {
        text->paste();
    }
}

void uContact::EditDelete() {
    if (auto* line = qobject_cast<QLineEdit*>(focusedField())) {
        if (!line->isReadOnly() && line->hasSelectedText()) {
            line->del();
        }
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField())) {
        if (!text->isReadOnly()) {
            text->textCursor().removeSelectedText();
        }
    }
}

void uContact::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaintBackColour(this, colour);
}

void uContact::SetMaxTabs(int count) {
    maxTabs_ = std::clamp(count, kOwnTabs, kTabLimit);
}

void uContact::SetCustomTabs(int count) {
    customTabs_ = std::clamp(count, 0, kTabLimit - kOwnTabs);
}

bool uContact::AddTab(int number, const QString& caption) {
    const int last = std::min(maxTabs_, kOwnTabs + customTabs_) - 1;
    if (number < kOwnTabs || number > last) {
        PlatformLog(QStringLiteral("Contact control: tab %1 \"%2\" refused (host tabs %3 to %4)")
                        .arg(number)
                        .arg(caption)
                        .arg(kOwnTabs)
                        .arg(last));
        return false;
    }
    if (QWidget* page = pages_.value(number)) {
        tabs_->setTabText(tabs_->indexOf(page), caption);
        return true;
    }
    // The host lays its own controls over the page: it stays empty here.
    auto* page = new QWidget(tabs_);
    page->setObjectName(QStringLiteral("tabPage%1").arg(number));
    // Shown in number order, whatever order the host adds them in.
    int index = tabs_->count();
    for (auto it = pages_.cbegin(); it != pages_.cend(); ++it) {
        if (it.key() > number) {
            index = std::min(index, tabs_->indexOf(it.value()));
        }
    }
    const QSignalBlocker quiet(tabs_); // adding a tab is not the user changing tabs
    tabs_->insertTab(index, page, caption);
    pages_.insert(number, page);
    return true;
}

bool uContact::HasTab(int number) const {
    return pages_.contains(number);
}

QString uContact::TabCaption(int number) const {
    QWidget* page = pages_.value(number);
    return page != nullptr ? tabs_->tabText(tabs_->indexOf(page)) : QString();
}

QList<int> uContact::TabNumbers() const {
    QList<int> out;
    for (int i = 0; i < tabs_->count(); ++i) {
        out << pages_.key(tabs_->widget(i), -1);
    }
    return out;
}

int uContact::CurrentTab() const {
    return pages_.key(tabs_->currentWidget(), -1);
}

void uContact::SetCurrentTab(int number) {
    if (QWidget* page = pages_.value(number)) {
        tabs_->setCurrentWidget(page);
    }
}

void uContact::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    tabs_->setGeometry(rect());
}

QRect uContact::pageRect() const {
    // A hidden control gets its resize event only when shown: follow its size here.
    if (tabs_->geometry() != rect()) {
        tabs_->setGeometry(rect());
    }
    const QRect inTabs = static_cast<const ContactTabs*>(tabs_)->PageRect();
    return inTabs.translated(tabs_->pos());
}

qint32 uContact::TabAreaLeft() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().left()));
}

qint32 uContact::TabAreaTop() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().top()));
}

qint32 uContact::TabAreaWidth() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().width()));
}

qint32 uContact::TabAreaHeight() const {
    return static_cast<qint32>(PixelsToTwips(pageRect().height()));
}
