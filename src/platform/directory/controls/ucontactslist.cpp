#include "platform/directory/controls/ucontactslist.h"

#include "platform/directory/contactlisting.h"
#include "platform/directory/controls/contactlistmodel.h"
#include "platform/ui/backcolour.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// The list of names. Letters typed in it go to the first name that begins with them, found
// through the directory's name index: the view's own search asks every row for its text, which
// would read the whole directory whenever nothing matches.
class ContactListView : public QListView {
public:
    ContactListView(ContactListModel* model, QWidget* parent) : QListView(parent), model_(model) {}

    void keyboardSearch(const QString& search) override {
        if (model_->rowCount() == 0) {
            return;
        }
        // As the view's own search: letters typed within the input interval add up; a new
        // search, or the same letter again, starts after the current row.
        const bool timed = typedAt_.isValid();
        const qint64 elapsed = timed ? typedAt_.restart() : 0;
        if (!timed) {
            typedAt_.start();
        }
        bool skipRow = false;
        if (search.isEmpty() || !timed || elapsed > QApplication::keyboardInputInterval()) {
            typed_ = search;
            skipRow = currentIndex().isValid();
        } else {
            typed_ += search;
        }
        const bool sameKey = typed_.size() > 1 && typed_.count(typed_.back()) == typed_.size();
        if (sameKey) {
            skipRow = true;
        }
        const QString text = sameKey ? QString(typed_.front()) : typed_;
        if (text.isEmpty()) {
            return;
        }
        int from = currentIndex().isValid() ? currentIndex().row() : 0;
        if (skipRow) {
            from = from + 1 < model_->rowCount() ? from + 1 : 0;
        }
        const int row = model_->FirstBeginningWith(text, from);
        if (row >= 0) {
            const QModelIndex found = model_->index(row);
            setCurrentIndex(found);
            scrollTo(found);
        }
    }

private:
    ContactListModel* model_;
    QString typed_;
    QElapsedTimer typedAt_;
};

// Every row is one line of one font: the view's uniform size is taken from the first row,
// which is shown anyway. The view would measure its last, reading a page for nothing.
class OneRowSize : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index.siblingAtRow(0));
    }
};

// Enter in the search box goes on to the list, so that the keyboard alone can search and pick.
class SearchKeys : public QObject {
public:
    SearchKeys(QLineEdit* box, QListView* list) : QObject(box), list_(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) &&
                list_->model()->rowCount() > 0) {
                if (!list_->currentIndex().isValid()) {
                    list_->setCurrentIndex(list_->model()->index(0, 0));
                }
                list_->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QListView* list_;
};
} // namespace

uContactsList::uContactsList(QWidget* parent)
    : QWidget(parent), txtSearch_(new QLineEdit(this)), model_(new ContactListModel(this)) {
    lstContacts_ = new ContactListView(model_, this);
    setObjectName(QStringLiteral("uContactsList"));
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    txtSearch_->setPlaceholderText(tr("Search"));
    txtSearch_->setClearButtonEnabled(true);
    txtSearch_->installEventFilter(new SearchKeys(txtSearch_, lstContacts_));
    lstContacts_->setObjectName(QStringLiteral("lstContacts"));
    lstContacts_->setSelectionMode(QAbstractItemView::SingleSelection);
    // One row's size serves them all: nothing is read to lay the list out.
    lstContacts_->setUniformItemSizes(true);
    lstContacts_->setItemDelegate(new OneRowSize(lstContacts_));
    lstContacts_->setModel(model_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtSearch_);
    layout->addWidget(lstContacts_, 1);
    setFocusProxy(txtSearch_);
    setTabOrder(txtSearch_, lstContacts_);

    connect(txtSearch_, &QLineEdit::textEdited, this, &uContactsList::onSearchEdited);
    connect(lstContacts_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index, const QModelIndex&) { onCurrentChanged(index); });
    connect(lstContacts_, &QListView::activated, this, &uContactsList::onActivated);
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
        // A contact saved anywhere in the program is listed, or renamed, when next shown.
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
    if (!restorePending_ && selectedReference_ == 0 && lstContacts_->isVisible()) {
        const QModelIndex top = lstContacts_->indexAt(QPoint(0, 0));
        topRow_ = top.isValid() ? top.row() : -1;
    }
    load();
    restorePending_ = true;
    if (isVisible() && !restoreQueued_) {
        // Before the next paint: however many reloads come first, the rows are read once.
        restoreQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            restoreQueued_ = false;
            restore();
        });
    }
}

void uContactsList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    restore();
}

void uContactsList::load() {
    loading_ = true;
    const QString search = txtSearch_->text().trimmed();
    model_->SetListing(
        directory_ && directory_->IsOpen() ? directory_->Listing(contactTypes_, search) : nullptr,
        displayNewContact_);
    loading_ = false;
}

void uContactsList::restore() {
    if (!restorePending_) {
        return;
    }
    restorePending_ = false;
    const qint32 before = selectedReference_;
    if (before > 0) {
        selectRow(before);
        if (selectedReference_ != before) {
            onCurrentChanged(lstContacts_->currentIndex());
        }
    } else if (topRow_ > 0 && topRow_ < model_->rowCount()) {
        lstContacts_->scrollTo(model_->index(topRow_), QAbstractItemView::PositionAtTop);
    }
    topRow_ = -1;
}

QModelIndex uContactsList::ItemOf(qint32 reference) const {
    const int row = model_->RowOf(reference);
    return row >= 0 ? model_->index(row) : QModelIndex();
}

QModelIndex uContactsList::NewContactItem() const {
    return model_->HasNewContactRow() ? model_->index(0) : QModelIndex();
}

void uContactsList::selectRow(qint32 reference) {
    loading_ = true;
    const QModelIndex item = ItemOf(reference);
    lstContacts_->setCurrentIndex(item);
    if (item.isValid()) {
        lstContacts_->scrollTo(item);
    }
    selectedReference_ = item.isValid() ? reference : 0;
    loading_ = false;
}

void uContactsList::SetSelectedReference(qint32 reference) {
    const qint32 before = selectedReference_;
    restorePending_ = false;
    if (reference > 0 && !ItemOf(reference).isValid()) {
        // Not listed yet: it may be new since the last load, or hidden by the search.
        load();
        if (!ItemOf(reference).isValid() && !txtSearch_->text().isEmpty()) {
            txtSearch_->clear();
            load();
        }
    }
    selectRow(reference);
    if (selectedReference_ != before) {
        onCurrentChanged(lstContacts_->currentIndex());
    }
}

void uContactsList::onSearchEdited() {
    // The user's own search reloads whatever AutoUpdate says.
    Refresh();
}

void uContactsList::onCurrentChanged(const QModelIndex& index) {
    if (loading_) {
        return;
    }
    // The user's choice, or the caller's, stands over the one kept from before a reload.
    restorePending_ = false;
    selectedReference_ = 0;
    const qint32 reference = index.isValid() ? model_->ReferenceAt(index.row()) : 0;
    if (reference <= 0) {
        Q_EMIT ContactSelected(nullptr);
        return;
    }
    selectedReference_ = reference;
    lastContactReference_ = selectedReference_;
    Q_EMIT ContactSelected(directory_ ? directory_->GetContact(selectedReference_, true, true)
                                      : nullptr);
}

void uContactsList::onActivated(const QModelIndex& index) {
    if (!index.isValid() || !directory_) {
        return;
    }
    if (index.data(ContactListModel::NewEntryRole).toBool()) {
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
    ContactPtr contact = directory_->GetContact(model_->ReferenceAt(index.row()), true, true);
    if (!contact) {
        // Removed on another studio computer since the list was loaded.
        Refresh();
        return;
    }
    Q_EMIT ContactChosen(contact);
}
