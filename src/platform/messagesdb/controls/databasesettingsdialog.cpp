#include "platform/messagesdb/controls/databasesettingsdialog.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/stationrules.h"
#include "platform/system/platformlog.h"
#include "platform/ui/messagebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QVector<OrlixCategoryTree::Folder> storedFolders(const OrlixDatabase& database) {
    const auto tree = database.CategoryTree();
    return tree ? tree->Folders() : QVector<OrlixCategoryTree::Folder>{};
}

// No exception leaves a button's click.
template <typename F> void guarded(const char* what, F&& action) {
    try {
        action();
    } catch (const std::exception& e) {
        PlatformLog(QStringLiteral("Database settings: %1 failed: %2")
                        .arg(QLatin1String(what), QString::fromUtf8(e.what())));
    } catch (...) {
        PlatformLog(QStringLiteral("Database settings: %1 failed").arg(QLatin1String(what)));
    }
}
} // namespace

DatabaseSettingsDialog::DatabaseSettingsDialog(OrlixDatabase& database, QWidget* owner)
    : QDialog(owner), database_(database), draft_(storedFolders(database)) {
    setObjectName(QStringLiteral("frmDatabaseSettings"));
    setWindowTitle(QStringLiteral("Orlix Database Settings"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    tabs_ = named(new QTabWidget, "tbsSettings");
    layout->addWidget(tabs_);
    tabs_->addTab(buildStation(), QStringLiteral("Station"));
    tabs_->addTab(buildFolders(), QStringLiteral("Folders"));

    auto* buttons = new QDialogButtonBox;
    auto* ok =
        named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), "cmdOK");
    auto* cancel = named(buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole),
                         "cmdCancel");
    ok->setDefault(true);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { guarded("OK", [this] { okClicked(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    tabs_->setCurrentIndex(StationTab);
}

QWidget* DatabaseSettingsDialog::buildStation() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    const auto line = [&](const char* name, const QString& caption, const QString& value) {
        auto* box = named(new QLineEdit(value), name);
        form->addRow(caption, box);
        return box;
    };
    txtStationName_ =
        line("txtStationName", QStringLiteral("Station &Name:"), database_.StationName());
    txtStationAddress_ = named(new QPlainTextEdit(database_.StationAddress()), "txtStationAddress");
    txtStationAddress_->setTabChangesFocus(true);
    form->addRow(QStringLiteral("&Address:"), txtStationAddress_);
    txtStationPhone_ =
        line("txtStationPhone", QStringLiteral("&Phone Number:"), database_.StationPhoneNumber());
    txtStationSmsPhone_ = line("txtStationSmsPhone", QStringLiteral("&SMS Phone Number:"),
                               database_.StationSMSPhoneNumber());
    txtStationCompany_ = line("txtStationCompany", QStringLiteral("&Company Number:"),
                              database_.StationCompanyNumber());
    txtStationVat_ =
        line("txtStationVat", QStringLiteral("&VAT Number:"), database_.StationVATNumber());
    return page;
}

QWidget* DatabaseSettingsDialog::buildFolders() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    tvwFolders_ = named(new QTreeWidget, "tvwFolders");
    tvwFolders_->setHeaderHidden(true);
    row->addWidget(tvwFolders_, 1);
    auto* column = new QVBoxLayout;
    row->addLayout(column);
    txtFolderName_ = named(new QLineEdit, "txtFolderName");
    txtFolderName_->setPlaceholderText(QStringLiteral("Folder name"));
    column->addWidget(txtFolderName_);
    const auto button = [&](const char* name, const QString& text) {
        auto* b = named(new QPushButton(text), name);
        b->setAutoDefault(false);
        column->addWidget(b);
        return b;
    };
    connect(button("cmdAddFolder", QStringLiteral("&Add Folder")), &QPushButton::clicked, this,
            [this] { guarded("adding a folder", [this] { addFolder(); }); });
    connect(button("cmdRenameFolder", QStringLiteral("&Rename")), &QPushButton::clicked, this,
            [this] { guarded("renaming a folder", [this] { renameFolder(); }); });
    connect(button("cmdMoveUp", QStringLiteral("Move &Up")), &QPushButton::clicked, this,
            [this] { guarded("moving a folder", [this] { moveFolder(-1); }); });
    connect(button("cmdMoveDown", QStringLiteral("Move &Down")), &QPushButton::clicked, this,
            [this] { guarded("moving a folder", [this] { moveFolder(1); }); });
    connect(button("cmdRemoveFolder", QStringLiteral("Re&move")), &QPushButton::clicked, this,
            [this] { guarded("removing a folder", [this] { removeFolder(); }); });
    column->addStretch();
    connect(tvwFolders_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item) {
            txtFolderName_->setText(item->text(0));
        }
    });
    fillFolders(OrlixCategoryTree::kTopLevel);
    return page;
}

void DatabaseSettingsDialog::fillFolders(qint32 select) {
    tvwFolders_->clear();
    QTreeWidgetItem* selected = nullptr;
    // Parents before children; a folder met twice (a damaged tree) is shown once.
    QVector<qint32> shown;
    const std::function<void(qint32, QTreeWidgetItem*)> add = [&](qint32 reference,
                                                                  QTreeWidgetItem* parent) {
        const auto* folder = draft_.Find(reference);
        if (folder == nullptr || shown.contains(reference)) {
            return;
        }
        shown << reference;
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvwFolders_);
        item->setText(0, folder->Name);
        item->setData(0, Qt::UserRole, reference);
        if (reference == select) {
            selected = item;
        }
        for (qint32 child : draft_.Children(reference)) {
            add(child, item);
        }
    };
    add(OrlixCategoryTree::kTopLevel, nullptr);
    tvwFolders_->expandAll();
    if (selected) {
        tvwFolders_->setCurrentItem(selected);
    }
}

qint32 DatabaseSettingsDialog::selectedFolder() const {
    const QTreeWidgetItem* item = tvwFolders_->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : 0;
}

void DatabaseSettingsDialog::tell(const QString& problem) {
    MsgBox(problem, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
}

void DatabaseSettingsDialog::addFolder() {
    qint32 added = 0;
    const qint32 parent = selectedFolder() != 0 ? selectedFolder() : OrlixCategoryTree::kTopLevel;
    if (const QString problem = draft_.Add(parent, txtFolderName_->text(), &added);
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillFolders(added);
}

void DatabaseSettingsDialog::renameFolder() {
    const qint32 folder = selectedFolder();
    if (const QString problem = draft_.Rename(folder, txtFolderName_->text()); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillFolders(folder);
}

void DatabaseSettingsDialog::moveFolder(int step) {
    const qint32 folder = selectedFolder();
    if (const QString problem = draft_.Move(folder, step); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillFolders(folder);
}

void DatabaseSettingsDialog::removeFolder() {
    const qint32 folder = selectedFolder();
    const auto* removed = draft_.Find(folder);
    const qint32 parent = removed ? removed->Parent : OrlixCategoryTree::kTopLevel;
    const QString problem = draft_.Remove(folder, [this](const QVector<qint32>& folders) {
        return database_.CountFolderMessages(folders);
    });
    if (!problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillFolders(parent);
}

void DatabaseSettingsDialog::okClicked() {
    if (const QString problem = StationRules::SmsNumberProblem(txtStationSmsPhone_->text());
        !problem.isEmpty()) {
        tabs_->setCurrentIndex(StationTab);
        txtStationSmsPhone_->setFocus();
        tell(problem);
        return;
    }
    StationDetails station;
    station.Name = txtStationName_->text();
    station.Address = txtStationAddress_->toPlainText();
    station.PhoneNumber = txtStationPhone_->text();
    station.SmsPhoneNumber = txtStationSmsPhone_->text();
    station.CompanyNumber = txtStationCompany_->text();
    station.VatNumber = txtStationVat_->text();
    QString problem;
    if (!database_.StoreDatabaseSettings(station, draft_.Folders(), &problem)) {
        tell(problem);
        return;
    }
    accept();
}
