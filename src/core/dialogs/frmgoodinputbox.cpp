#include "core/dialogs/frmgoodinputbox.h"

#include "core/dialogs/inputboxlayout.h"
#include "platform/system/formhelper.h"
#include "platform/ui/backcolour.h"
#include "platform/ui/textbox.h"
#include "platform/ui/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

namespace {
constexpr int kLeft = 180;
constexpr int kControlWidth = 3075;
constexpr int kInnerWidth = kLeft + kControlWidth + kLeft;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 375;
constexpr int kCancelLeft = 180;
constexpr int kOkLeft = 2040;
constexpr int kListHeight = 1815;

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                   TwipsToPixels(height));
}

int HeightInTwips(const QWidget* w) {
    return static_cast<int>(PixelsToTwips(w->sizeHint().height()));
}
} // namespace

frmGoodInputBox::frmGoodInputBox(QWidget* owner)
    : QDialog(owner), lblCaption_(new QLabel(this)), text1_(new TextBox(this)),
      comboList_(new QComboBox(this)), comboSortedList_(new QComboBox(this)),
      comboCombo_(new QComboBox(this)), listMulti_(new QListWidget(this)),
      listMultiNonSel_(new QListWidget(this)), cmdCancel_(new QPushButton(tr("Cancel"), this)),
      cmdOk_(new QPushButton(tr("OK"), this)) {
    setObjectName(QStringLiteral("frmGoodInputBox"));
    // Loading makes the box topmost, so that it is never lost behind the studio windows.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    lblCaption_->setObjectName(QStringLiteral("lblCaption"));
    lblCaption_->setWordWrap(true);
    // The prompt may name a stored record: its text is shown as written, never as markup.
    lblCaption_->setTextFormat(Qt::PlainText);
    lblCaption_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setFont(QFont(QStringLiteral("Arial"), text1_->font().pointSize()));
    comboList_->setObjectName(QStringLiteral("comboList"));
    comboSortedList_->setObjectName(QStringLiteral("comboSortedList"));
    comboCombo_->setObjectName(QStringLiteral("comboCombo"));
    comboCombo_->setEditable(true);
    comboCombo_->setInsertPolicy(QComboBox::NoInsert);
    listMulti_->setObjectName(QStringLiteral("listMulti"));
    listMulti_->setSelectionMode(QAbstractItemView::SingleSelection);
    listMultiNonSel_->setObjectName(QStringLiteral("listMultiNonSel"));
    listMultiNonSel_->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    // Enter confirms; the focused button still answers Enter itself.
    cmdOk_->setDefault(true);

    setTabOrder(text1_, comboList_);
    setTabOrder(comboList_, comboSortedList_);
    setTabOrder(comboSortedList_, comboCombo_);
    setTabOrder(comboCombo_, listMulti_);
    setTabOrder(listMulti_, listMultiNonSel_);
    setTabOrder(listMultiNonSel_, cmdCancel_);
    setTabOrder(cmdCancel_, cmdOk_);

    FormHelper::SelectAllTextOnFocus(text1_);
    FormHelper::SelectAllTextOnFocus(comboCombo_);

    connect(cmdOk_, &QPushButton::clicked, this, &frmGoodInputBox::cmdOk_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmGoodInputBox::cmdCancel_Click);
    connect(listMultiNonSel_, &QListWidget::itemDoubleClicked, this, &frmGoodInputBox::cmdOk_Click);

    for (QComboBox* combo : {comboList_, comboSortedList_, comboCombo_}) {
        Place(combo, kLeft, 0, kControlWidth, HeightInTwips(combo));
    }
    Place(text1_, kLeft, 0, kControlWidth, HeightInTwips(text1_));
    Place(listMulti_, kLeft, 0, kControlWidth, kListHeight);
    Place(listMultiNonSel_, kLeft, 0, kControlWidth, kListHeight);
    Place(cmdCancel_, kCancelLeft, 0, kButtonWidth, kButtonHeight);
    Place(cmdOk_, kOkLeft, 0, kButtonWidth, kButtonHeight);
    LayOut();
}

frmGoodInputBox::~frmGoodInputBox() = default;

void frmGoodInputBox::SetTextLength(int length) {
    textLength_ = std::max(length, 0);
    text1_->SetMaxLength(textLength_);
}

void frmGoodInputBox::SetBackColour(const QColor& colour) {
    PaintBackColour(this, colour);
}

frmGoodInputBox::Mode frmGoodInputBox::CurrentMode() const {
    if (ReturnCombo) {
        return Mode::Combo;
    }
    if (ReturnList) {
        return Mode::List;
    }
    if (ReturnSortedList) {
        return Mode::SortedList;
    }
    if (ReturnMultiList) {
        return Mode::MultiList;
    }
    if (ReturnMultiListNonSel) {
        return Mode::MultiListNonSel;
    }
    return Mode::Text;
}

void frmGoodInputBox::LayOut() {
    const Mode mode = CurrentMode();
    const int width = TwipsToPixels(kControlWidth);
    lblCaption_->setGeometry(TwipsToPixels(kLeft), TwipsToPixels(120), width,
                             std::max(lblCaption_->heightForWidth(width), 0));

    InputBoxLayoutInput in;
    in.captionTop = 120;
    in.captionHeight = static_cast<int>(PixelsToTwips(lblCaption_->height()));
    // The combo boxes take Text1's row; the row is as tall as the tallest of them.
    in.textHeight = static_cast<int>(
        PixelsToTwips(std::max({text1_->height(), comboList_->height(), comboSortedList_->height(),
                                comboCombo_->height()})));
    in.listMode = mode == Mode::MultiList || mode == Mode::MultiListNonSel;
    in.listHeight = static_cast<int>(PixelsToTwips(
        mode == Mode::MultiListNonSel ? listMultiNonSel_->height() : listMulti_->height()));
    in.buttonHeight = kButtonHeight;
    const InputBoxLayout out = LayOutInputBox(in);

    const int top = TwipsToPixels(out.controlTop);
    for (QWidget* w : std::initializer_list<QWidget*>{comboCombo_, comboList_, comboSortedList_,
                                                      listMulti_, listMultiNonSel_, text1_}) {
        w->move(w->x(), top);
    }
    cmdCancel_->move(cmdCancel_->x(), TwipsToPixels(out.buttonTop));
    cmdOk_->move(cmdOk_->x(), TwipsToPixels(out.buttonTop));
    setFixedSize(TwipsToPixels(kInnerWidth), TwipsToPixels(out.innerHeight));
}

void frmGoodInputBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (CurrentMode() == Mode::SortedList) {
        const QString chosen = comboSortedList_->currentText();
        comboSortedList_->model()->sort(0);
        comboSortedList_->setCurrentIndex(comboSortedList_->findText(chosen, Qt::MatchExactly));
    }
    LayOut();
    QWidget* focus = nullptr;
    switch (CurrentMode()) {
    case Mode::Combo:
        focus = comboCombo_;
        break;
    case Mode::List:
        focus = comboList_;
        break;
    case Mode::SortedList:
        focus = comboSortedList_;
        break;
    case Mode::MultiList:
        focus = listMulti_;
        break;
    case Mode::MultiListNonSel:
        focus = listMultiNonSel_;
        break;
    case Mode::Text:
        text1_->SetMaxLength(textLength_);
        focus = text1_;
        break;
    }
    if (focus != nullptr && !focus->isHidden()) {
        focus->setFocus(Qt::OtherFocusReason);
    }
    // A caller busy behind the box (hourglass) must not leave the user without a pointer.
    pointer_.emplace(MousePointerGuard::Default);
}

void frmGoodInputBox::hideEvent(QHideEvent* event) {
    pointer_.reset();
    QDialog::hideEvent(event);
}

void frmGoodInputBox::cmdOk_Click() {
    cancelled_ = false;
    chosenIndex_ = -1;
    switch (CurrentMode()) {
    case Mode::Combo:
        tag_ = comboCombo_->currentText();
        break;
    case Mode::List:
        chosenIndex_ = comboList_->currentIndex();
        tag_ = chosenIndex_ >= 0 ? comboList_->itemText(chosenIndex_) : QString();
        break;
    case Mode::SortedList:
        tag_ = comboSortedList_->currentIndex() >= 0 ? comboSortedList_->currentText() : QString();
        break;
    case Mode::MultiList: {
        QString ticked;
        for (int i = 0; i < listMulti_->count(); ++i) {
            if (listMulti_->item(i)->checkState() == Qt::Checked) {
                ticked += QString::number(i + 1) + QLatin1Char(',');
            }
        }
        ticked.chop(1);
        tag_ = ticked;
        break;
    }
    case Mode::MultiListNonSel:
        tag_ = QString::number(listMultiNonSel_->selectionModel()->hasSelection()
                                   ? listMultiNonSel_->currentRow() + 1
                                   : 0);
        break;
    case Mode::Text:
        tag_ = text1_->text();
        break;
    }
    hide();
}

void frmGoodInputBox::cmdCancel_Click() {
    cancelled_ = true;
    tag_.clear();
    chosenIndex_ = -1;
    hide();
}

void frmGoodInputBox::reject() {
    cmdCancel_Click();
}

void frmGoodInputBox::closeEvent(QCloseEvent* event) {
    // The close box never unloads the box: it is hidden, and the outcome stays a cancel.
    event->ignore();
    hide();
}
