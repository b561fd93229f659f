#include "platform/messagesdb/hourpatterndialogs.h"

#include "platform/ui/messagebox.h"

#include <QCollator>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

HourPatternNameDialog::HourPatternNameDialog(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Save Hours"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter a name for these hours:"), this));
    txtName_ = new QLineEdit(this);
    txtName_->setMaxLength(kMaxName);
    layout->addWidget(txtName_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

QString HourPatternNameDialog::Name() const {
    return txtName_->text().trimmed();
}

HourPatternChooser::HourPatternChooser(const QStringList& names,
                                       std::function<bool(const QString&)> remove, QWidget* owner)
    : QDialog(owner), remove_(std::move(remove)) {
    setWindowTitle(QStringLiteral("Choose Hours"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    lstNames_ = new QListWidget(this);
    QStringList sorted = names;
    QCollator order;
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(sorted.begin(), sorted.end(),
              [&order](const QString& a, const QString& b) { return order.compare(a, b) < 0; });
    lstNames_->addItems(sorted);
    layout->addWidget(lstNames_);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOK_ = box->button(QDialogButtonBox::Ok);
    cmdOK_->setDefault(true);
    cmdDelete_ = box->addButton(QStringLiteral("Delete"), QDialogButtonBox::ActionRole);
    cmdDelete_->setAutoDefault(false);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (!lstNames_->selectedItems().isEmpty()) {
            accept();
        }
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdDelete_, &QPushButton::clicked, this, &HourPatternChooser::DeleteSelected);
    connect(lstNames_, &QListWidget::itemSelectionChanged, this, [this] { setButtons(); });
    connect(lstNames_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    setButtons();
}

QString HourPatternChooser::Chosen() const {
    const QList<QListWidgetItem*> items = lstNames_->selectedItems();
    return items.isEmpty() ? QString() : items.front()->text();
}

void HourPatternChooser::DeleteSelected() {
    const QList<QListWidgetItem*> items = lstNames_->selectedItems();
    if (items.isEmpty()) {
        return;
    }
    QListWidgetItem* item = items.front();
    const QString name = item->text();
    if (MsgBox(QStringLiteral("Are you sure you want to delete the hours '%1'?").arg(name),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    if (remove_ && remove_(name)) {
        delete lstNames_->takeItem(lstNames_->row(item));
    }
    setButtons();
}

void HourPatternChooser::setButtons() {
    const bool selected = !lstNames_->selectedItems().isEmpty();
    cmdOK_->setEnabled(selected);
    cmdDelete_->setEnabled(selected);
}
