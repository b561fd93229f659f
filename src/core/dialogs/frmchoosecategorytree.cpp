#include "core/dialogs/frmchoosecategorytree.h"

#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {
const QString kDefaultCaption = QStringLiteral("Choose Category");
}

frmChooseCategoryTree::frmChooseCategoryTree(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChooseCategoryTree"));
    setWindowTitle(kDefaultCaption);
    setModal(true);
    treeCategories = new QTreeWidget(this);
    treeCategories->setHeaderHidden(true);
    treeCategories->setGeometry(TwipsRect{120, 120, 4395, 3915}.toPixels());
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(TwipsRect{2100, 4140, 1095, 375}.toPixels());
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(TwipsRect{3300, 4140, 1095, 375}.toPixels());
    cmdCancel->setAutoDefault(false);
    setMinimumSize(TwipsToPixels(kMinWidthTwips), TwipsToPixels(kMinHeightTwips));
    setMaximumSize(TwipsToPixels(kMaxTwips), TwipsToPixels(kMaxTwips));
    resize(TwipsToPixels(120 + 4395 + 120), TwipsToPixels(4140 + 375 + 120));
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    setTabOrder(treeCategories, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

qint16 frmChooseCategoryTree::FolderOfKey(const QString& key) {
    bool ok = false;
    const int n = key.mid(1).toInt(&ok);
    return ok && n >= 1 && n <= 32767 ? static_cast<qint16>(n) : 0;
}

void frmChooseCategoryTree::cmdOK_Click() {
    if (treeCategories->currentItem() == nullptr || !treeCategories->currentItem()->isSelected()) {
        MsgBox(QStringLiteral("You must select a Category before you can continue!"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    cancelled_ = false;
    hide();
}

void frmChooseCategoryTree::cmdCancel_Click() {
    cancelled_ = true;
    hide();
}

void frmChooseCategoryTree::reject() {
    cmdCancel_Click();
}

void frmChooseCategoryTree::closeEvent(QCloseEvent* event) {
    cmdCancel_Click();
    event->ignore();
}

void frmChooseCategoryTree::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const double w = PixelsToTwips(width());
    const double h = PixelsToTwips(height());
    const double bw = 1095;
    const double bh = 375;
    const TwipsRect cancel{w - 180 - bw, h - 120 - bh, bw, bh};
    const TwipsRect ok{cancel.left - 120 - bw, cancel.top, bw, bh};
    cmdCancel->setGeometry(cancel.toPixels());
    cmdOK->setGeometry(ok.toPixels());
    const double treeHeight = ok.top - 120 - 120;
    treeCategories->setGeometry(
        TwipsRect{120, 120, std::max(0.0, w - 240), std::max(0.0, treeHeight)}.toPixels());
}

qint16 frmChooseCategoryTree::ChooseCategory(const OrlixCategoryTree* clsCategory,
                                             bool IncludeTopLevel, qint16 InitialCategory,
                                             const QString& Caption, QWidget* ParentForm) {
    if (clsCategory == nullptr) {
        return 0;
    }
    DialogInstance<frmChooseCategoryTree> form(ParentForm);
    form->setWindowTitle(Caption.isEmpty() ? kDefaultCaption : Caption);
    form->cancelled_ = false;
    clsCategory->FillTreeView(form->treeCategories, QStringLiteral("m"), IncludeTopLevel);
    form->treeCategories->expandAll();
    int visited = 0;
    for (QTreeWidgetItemIterator it(form->treeCategories); *it != nullptr && visited < 32767;
         ++it, ++visited) {
        if (FolderOfKey((*it)->data(0, Qt::UserRole).toString()) == InitialCategory &&
            InitialCategory != 0) {
            form->treeCategories->setCurrentItem(*it);
            break;
        }
    }
    RunDialog(*form.get(), true);
    if (!form) {
        return 0;
    }
    qint16 result = 0;
    QTreeWidgetItem* selected = form->treeCategories->currentItem();
    if (selected != nullptr && selected->isSelected() && !form->cancelled_) {
        result = FolderOfKey(selected->data(0, Qt::UserRole).toString());
    }
    form->cancelled_ = false;
    return result;
}
