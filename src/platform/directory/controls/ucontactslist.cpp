#include "platform/directory/controls/ucontactslist.h"

#include "platform/directory/contactfilter.h"
#include "platform/ui/backcolour.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
constexpr int kReferenceRole = Qt::UserRole;
constexpr int kNewEntryRole = Qt::UserRole + 1;

QString LineOf(const DirectoryContact& c) {
    if (c.Company().isEmpty()) {
        return c.Name();
    }
    return c.Name() + QStringLiteral(" (") + c.Company() + QLatin1Char(')');
}

// Enter in the search box goes on to the list, so that the keyboard alone can search and pick.
class SearchKeys : public QObject {
public:
    SearchKeys(QLineEdit* box, QListWidget* list) : QObject(box), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
                list_->count() > 0) {
                if (list_->currentRow() < 0) {
                    list_->setCurrentRow(0);
                }
                list_->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListWidget* list_;
};
} // namespace

uContactsList::uContactsList(QWidget* parent)
    : QWidget(parent), txtSearch_(new QLineEdit(this)), lstContacts_(new QListWidget(this)) {
    setObjectName(QStringLiteral("uContactsList"));
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    txtSearch_->setPlaceholderText(tr("Search"));
    txtSearch_->setClearButtonEnabled(true);
    txtSearch_->installEventFilter(new SearchKeys(txtSearch_, lstContacts_));
    lstContacts_->setObjectName(QStringLiteral("lstContacts"));
    lstContacts_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstContacts_->setUniformItemSizes(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtSearch_);
    layout->addWidget(lstContacts_, 1);
    setFocusProxy(txtSearch_);
    setTabOrder(txtSearch_, lstContacts_);

    connect(txtSearch_, &QLineEdit::textEdited, this, &uContactsList::onSearchEdited);
    connect(lstContacts_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item, QListWidgetItem*) { onCurrentChanged(item); });
    connect(lstContacts_, &QListWidget::itemActivated, this, &uContactsList::onActivated);
}

uContactsList::~uContactsList() = default;

QString uContactsList::NewContactText() {
    return tr("<New Contact>");
}

void uContactsList::SetContactTypes(qint32 types) {
    contactTypes_ = types;
    changed();
}

void uContactsList::SetDisplayNewContact(bool on) {
    displayNewContact_ = on;
    changed();
}

QString uContactsList::SearchText() const {
    return txtSearch_->text();
}

void uContactsList::SetSearchText(const QString& text) {
    txtSearch_->setText(text);
    changed();
}

void uContactsList::SetAutoUpdate(bool on) {
    autoUpdate_ = on;
}

void uContactsList::SetBackColour(const QColor& colour) {
    backColour_ = colour;
    PaintBackColour(this, colour);
}

void uContactsList::SetDirectory(KVDirectory* directory) {
    if (directory_ != nullptr) {
        disconnect(directory_, &KVDirectory::ContactSaved, this, nullptr);
    }
    directory_ = directory;
    if (directory_ != nullptr) {
        // A contact saved anywhere in the program is listed, or renamed, at once.
        connect(directory_, &KVDirectory::ContactSaved, this, [this] { changed(); });
    }
    changed();
}

void uContactsList::changed() {
    if (autoUpdate_) {
        Refresh();
    }
}

void uContactsList::Refresh() {
    const qint32 before = selectedReference_;
    load();
    selectRow(before);
    if (selectedReference_ != before) {
        onCurrentChanged(lstContacts_->currentItem());
    }
}

void uContactsList::load() {
    loading_ = true;
    lstContacts_->clear();
    if (displayNewContact_) {
        auto* entry = new QListWidgetItem(NewContactText(), lstContacts_);
        entry->setData(kReferenceRole, 0);
        entry->setData(kNewEntryRole, true);
    }
    if (directory_ && directory_->IsOpen()) {
        const QString search = txtSearch_->text().trimmed();
        KVDirectory::ContactList contacts;
        if (search.isEmpty()) {
            contacts = directory_->ListContacts(contactTypes_);
        } else {
            contacts = directory_->FindContacts(
                {ContactCriterion{ContactField::Name, ContactMatch::Contains, search}});
        }
        for (const auto& c : contacts) {
            if (!c || (contactTypes_ == 2 && !c->IsUser())) {
                continue;
            }
            auto* item = new QListWidgetItem(LineOf(*c), lstContacts_);
            item->setData(kReferenceRole, c->Reference());
        }
    }
    lstContacts_->setCurrentItem(nullptr);
    loading_ = false;
}

QListWidgetItem* uContactsList::ItemOf(qint32 reference) const {
    if (reference <= 0) {
        return nullptr;
    }
    for (int i = 0; i < lstContacts_->count(); ++i) {
        QListWidgetItem* item = lstContacts_->item(i);
        if (!item->data(kNewEntryRole).toBool() &&
            item->data(kReferenceRole).toInt() == reference) {
            return item;
        }
    }
    return nullptr;
}

QListWidgetItem* uContactsList::NewContactItem() const {
    for (int i = 0; i < lstContacts_->count(); ++i) {
        if (lstContacts_->item(i)->data(kNewEntryRole).toBool()) {
            return lstContacts_->item(i);
        }
    }
    return nullptr;
}

void uContactsList::selectRow(qint32 reference) {
    loading_ = true;
    QListWidgetItem* item = ItemOf(reference);
    lstContacts_->setCurrentItem(item);
    if (item != nullptr) {
        lstContacts_->scrollToItem(item);
    }
    selectedReference_ = item != nullptr ? reference : 0;
    loading_ = false;
}

void uContactsList::SetSelectedReference(qint32 reference) {
    const qint32 before = selectedReference_;
    if (reference > 0 && ItemOf(reference) == nullptr) {
        // Not listed yet: it may be new since the last load, or hidden by the search.
        load();
        if (ItemOf(reference) == nullptr && !txtSearch_->text().isEmpty()) {
            txtSearch_->clear();
            load();
        }
    }
    selectRow(reference);
    if (selectedReference_ != before) {
        onCurrentChanged(lstContacts_->currentItem());
    }
}

void uContactsList::onSearchEdited() {
    // The user's own search reloads whatever AutoUpdate says.
    Refresh();
}

void uContactsList::onCurrentChanged(QListWidgetItem* item) {
    if (loading_) {
        return;
    }
    selectedReference_ = 0;
    if (item == nullptr || item->data(kNewEntryRole).toBool()) {
        Q_EMIT ContactSelected(nullptr);
        return;
    }
    selectedReference_ = item->data(kReferenceRole).toInt();
    lastContactReference_ = selectedReference_;
    Q_EMIT ContactSelected(directory_ ? directory_->GetContact(selectedReference_, true, true)
                                      : nullptr);
}

void uContactsList::onActivated(QListWidgetItem* item) {
    if (item == nullptr || !directory_) {
        return;
    }
    if (item->data(kNewEntryRole).toBool()) {
        ContactPtr contact = directory_->CreateContact(0);
        if (!contact) {
            return;
        }
        if (contactListValue_ > 0) {
            contact->SetContactListValue(contactListValue_);
        }
        const qint32 before = lastContactReference_;
        const QPointer<uContactsList> self(this);
        Q_EMIT AddNewContact(contact);
        if (!self.isNull() && selectedReference_ == 0 && before > 0) {
            SetSelectedReference(before);
        }
        return;
    }
    ContactPtr contact = directory_->GetContact(item->data(kReferenceRole).toInt(), true, true);
    if (!contact) {
        // Removed on another studio computer since the list was loaded.
        Refresh();
        return;
    }
    Q_EMIT ContactChosen(contact);
}
