#include "platform/messagesdb/controls/databasesettingsdialog.h"

#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/stationrules.h"
#include "platform/system/desktopopener.h"
#include "platform/system/platformlog.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/messagebox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

// The stored templates of the program's categories and the files of the templates folder.
TemplateDraft storedTemplates(OrlixDatabase& database) {
    QVector<TemplateDraft::Template> templates;
    for (const QString& category : TemplateDraft::Categories()) {
        for (const QString& name : database.GetTemplateList(category)) {
            templates.push_back(
                {category, name, QFileInfo(database.GetTemplatePath(category, name)).fileName()});
        }
    }
    const QString folder = database.TemplatesPath();
    QStringList files;
    if (!folder.isEmpty()) {
        for (const QString& file : QDir(folder).entryList(QDir::Files)) {
            if (!file.startsWith(QLatin1Char('.'))) {
                files << file;
            }
        }
    }
    return TemplateDraft(std::move(templates), std::move(files));
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
    : QDialog(owner), database_(database), draft_(storedFolders(database)),
      templates_(storedTemplates(database)) {
    setObjectName(QStringLiteral("frmDatabaseSettings"));
    setWindowTitle(QStringLiteral("Orlix Database Settings"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    tabs_ = named(new QTabWidget, "tbsSettings");
    layout->addWidget(tabs_);
    tabs_->addTab(buildStation(), QStringLiteral("Station"));
    tabs_->addTab(buildFolders(), QStringLiteral("Folders"));
    tabs_->addTab(buildTemplates(), QStringLiteral("Templates"));

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
    // Room for an address of a few lines, not the whole page.
    txtStationAddress_->setMaximumHeight(txtStationAddress_->fontMetrics().lineSpacing() * 6 +
                                         2 * txtStationAddress_->frameWidth() + 8);
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
    const QString folder = database_.TemplatesPath();
    const bool files = templates_.Changed();
    if (files && !templates_.StageFiles(folder, &problem)) {
        tabs_->setCurrentIndex(TemplatesTab);
        tell(problem);
        return;
    }
    if (!database_.StoreDatabaseSettings(station, draft_.Folders(), &problem,
                                         files ? &templates_ : nullptr)) {
        templates_.AbandonFiles();
        tell(problem);
        return;
    }
    if (files && !templates_.FinishFiles(folder, &problem)) {
        tell(problem);
    }
    accept();
}

QWidget* DatabaseSettingsDialog::buildTemplates() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    const auto button = [](const char* name, const QString& text) {
        auto* b = named(new QPushButton(text), name);
        b->setAutoDefault(false);
        return b;
    };

    auto* printing = new QGroupBox(QStringLiteral("Print templates"));
    auto* printingRow = new QHBoxLayout(printing);
    auto* listColumn = new QVBoxLayout;
    cboCategory_ = named(new QComboBox, "cboCategory");
    cboCategory_->addItem(QStringLiteral("Printing a message"), QStringLiteral("PrintMessage"));
    cboCategory_->addItem(QStringLiteral("Printing a prize's winners"),
                          QStringLiteral("PrintPrizeWinners"));
    lstTemplates_ = named(new QListWidget, "lstTemplates");
    listColumn->addWidget(cboCategory_);
    listColumn->addWidget(lstTemplates_, 1);
    printingRow->addLayout(listColumn, 1);
    auto* buttons = new QVBoxLayout;
    txtTemplateName_ = named(new QLineEdit, "txtTemplateName");
    txtTemplateName_->setPlaceholderText(QStringLiteral("Template name"));
    buttons->addWidget(txtTemplateName_);
    auto* add = button("cmdAddTemplate", QStringLiteral("&Add..."));
    auto* rename = button("cmdRenameTemplate", QStringLiteral("Re&name"));
    auto* remove = button("cmdRemoveTemplate", QStringLiteral("Remo&ve"));
    auto* open = button("cmdOpenTemplate", QStringLiteral("&Open"));
    for (QPushButton* b : {add, rename, remove, open}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    printingRow->addLayout(buttons);
    layout->addWidget(printing, 1);

    auto* listPage = new QGroupBox(QStringLiteral("Message list page"));
    auto* listPageRow = new QHBoxLayout(listPage);
    listPageRow->addWidget(new QLabel(QLatin1String(TemplateDraft::kListPage)), 1);
    auto* replace = button("cmdReplaceListPage", QStringLiteral("Re&place..."));
    auto* reset = button("cmdResetListPage", QStringLiteral("Reset to &Default"));
    listPageRow->addWidget(replace);
    listPageRow->addWidget(reset);
    layout->addWidget(listPage);

    auto* pictures = new QGroupBox(QStringLiteral("Pictures beside the templates"));
    auto* picturesRow = new QHBoxLayout(pictures);
    lstGraphics_ = named(new QListWidget, "lstGraphics");
    picturesRow->addWidget(lstGraphics_, 1);
    auto* pictureButtons = new QVBoxLayout;
    auto* addPicture = button("cmdAddGraphic", QStringLiteral("Add P&icture..."));
    auto* removePicture = button("cmdRemoveGraphic", QStringLiteral("Remove Pic&ture"));
    pictureButtons->addWidget(addPicture);
    pictureButtons->addWidget(removePicture);
    pictureButtons->addStretch();
    picturesRow->addLayout(pictureButtons);
    layout->addWidget(pictures, 1);

    connect(cboCategory_, &QComboBox::currentIndexChanged, this,
            [this] { fillTemplates(QString()); });
    connect(lstTemplates_, &QListWidget::currentTextChanged, this, [this](const QString& text) {
        if (!text.isEmpty()) {
            txtTemplateName_->setText(text);
        }
    });
    connect(add, &QPushButton::clicked, this,
            [this] { guarded("adding a template", [this] { addTemplate(); }); });
    connect(rename, &QPushButton::clicked, this,
            [this] { guarded("renaming a template", [this] { renameTemplate(); }); });
    connect(remove, &QPushButton::clicked, this,
            [this] { guarded("removing a template", [this] { removeTemplate(); }); });
    connect(open, &QPushButton::clicked, this,
            [this] { guarded("opening a template", [this] { openTemplate(); }); });
    connect(replace, &QPushButton::clicked, this, [this] {
        guarded("replacing the list page", [this] {
            const QString file = askFile(QStringLiteral("Replace the Message List Page"),
                                         QStringLiteral("Web pages (*.htm *.html)"));
            if (!file.isEmpty()) {
                if (const QString problem = templates_.ReplaceListPage(file); !problem.isEmpty()) {
                    tell(problem);
                }
            }
        });
    });
    connect(reset, &QPushButton::clicked, this, [this] { templates_.ResetListPage(); });
    connect(addPicture, &QPushButton::clicked, this,
            [this] { guarded("adding a picture", [this] { addGraphic(); }); });
    connect(removePicture, &QPushButton::clicked, this,
            [this] { guarded("removing a picture", [this] { removeGraphic(); }); });
    fillTemplates(QString());
    return page;
}

QString DatabaseSettingsDialog::category() const {
    return cboCategory_->currentData().toString();
}

QString DatabaseSettingsDialog::selectedTemplate() const {
    const QListWidgetItem* item = lstTemplates_->currentItem();
    return item ? item->text() : QString();
}

void DatabaseSettingsDialog::fillTemplates(const QString& select) {
    lstTemplates_->clear();
    lstTemplates_->addItems(templates_.Names(category()));
    const auto found = lstTemplates_->findItems(select, Qt::MatchExactly);
    if (!found.isEmpty()) {
        lstTemplates_->setCurrentItem(found.first());
    }
    const QString picture =
        lstGraphics_->currentItem() ? lstGraphics_->currentItem()->text() : QString();
    lstGraphics_->clear();
    lstGraphics_->addItems(templates_.Graphics());
    const auto again = lstGraphics_->findItems(picture, Qt::MatchExactly);
    if (!again.isEmpty()) {
        lstGraphics_->setCurrentItem(again.first());
    }
}

QString DatabaseSettingsDialog::askFile(const QString& title, const QString& filter) {
    SaveDialogRequest request;
    request.title = title;
    request.filter = filter + QStringLiteral(";;All Files (*)");
    request.owner = this;
    return CommonDialogs().askOpenFileName(request);
}

void DatabaseSettingsDialog::addTemplate() {
    const QString file =
        askFile(QStringLiteral("Add a Template"), QStringLiteral("Web pages (*.htm *.html)"));
    if (file.isEmpty()) {
        return;
    }
    QString name = txtTemplateName_->text().trimmed();
    if (name.isEmpty() || templates_.Names(category()).contains(name)) {
        name = QFileInfo(file).completeBaseName();
    }
    if (const QString problem = templates_.AddTemplate(category(), name, file);
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillTemplates(name);
}

void DatabaseSettingsDialog::renameTemplate() {
    const QString name = selectedTemplate();
    const QString newName = txtTemplateName_->text().trimmed();
    if (const QString problem = templates_.RenameTemplate(category(), name, newName);
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillTemplates(newName);
}

void DatabaseSettingsDialog::removeTemplate() {
    const QString name = selectedTemplate();
    if (name.isEmpty()) {
        tell(QStringLiteral("Choose the template to remove."));
        return;
    }
    if (MsgBox(QStringLiteral("Do you want to remove the template '%1'? Its file is deleted "
                              "from the templates folder.")
                   .arg(name),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    if (const QString problem = templates_.RemoveTemplate(category(), name); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillTemplates(QString());
}

void DatabaseSettingsDialog::openTemplate() {
    const QString file = templates_.FileOf(category(), selectedTemplate());
    const QString path = QDir(database_.TemplatesPath()).filePath(file);
    if (file.isEmpty() || !QFileInfo(path).isFile()) {
        tell(QStringLiteral("The template is copied into the templates folder when you press "
                            "OK; open it then."));
        return;
    }
    if (!OpenWithDesktop(QUrl::fromLocalFile(path))) {
        tell(QStringLiteral("The desktop has no program to open '%1' with.").arg(path));
    }
}

void DatabaseSettingsDialog::addGraphic() {
    const QString file = askFile(QStringLiteral("Add a Picture"),
                                 QStringLiteral("Pictures (*.png *.gif *.jpg *.jpeg *.bmp *.svg)"));
    if (file.isEmpty()) {
        return;
    }
    if (const QString problem = templates_.AddGraphic(file); !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillTemplates(selectedTemplate());
}

void DatabaseSettingsDialog::removeGraphic() {
    const QListWidgetItem* item = lstGraphics_->currentItem();
    if (const QString problem = templates_.RemoveGraphic(item ? item->text() : QString());
        !problem.isEmpty()) {
        tell(problem);
        return;
    }
    fillTemplates(selectedTemplate());
}
