#include "core/dialogs/goodinputbox.h"

#include "core/dialogs/frmgoodinputbox.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/textbox.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>

namespace {
// Steps 1 to 3 of every call: a fresh box with its icon, colour, caption and prompt.
void SetUp(frmGoodInputBox& box, QWidget* owner, const QString& prompt, const QString& title,
           const QVariant& backColour, const QIcon& icon) {
    if (!icon.isNull()) {
        box.setWindowIcon(icon);
    } else if (owner != nullptr) {
        box.setWindowIcon(owner->windowIcon());
    }
    box.SetBackColour(ColourNumber::FromVariant(backColour));
    box.setWindowTitle(title.trimmed());
    box.lblCaption()->setText(prompt.trimmed());
}

// Steps 5 to 7: show, read the outcome, release the box and bring the owner back.
bool Finish(DialogInstance<frmGoodInputBox>& box, QWidget* owner, bool modal, QString& result,
            int* chosenIndex) {
    QPointer<QWidget> keptOwner(owner);
    RunDialog(*box.get(), modal);
    bool cancelled = true;
    result.clear();
    if (chosenIndex != nullptr) {
        *chosenIndex = -1;
    }
    if (box && !box->Cancelled()) {
        cancelled = false;
        result = box->Tag();
        if (chosenIndex != nullptr) {
            *chosenIndex = box->ChosenIndex();
        }
    }
    if (box) {
        box->hide();
    }
    if (!keptOwner.isNull()) {
        keptOwner->show();
        keptOwner->activateWindow();
    }
    return cancelled;
}

bool RunList(const QString& prompt, const QString& defaultValue, QString& result,
             const QString& title, QWidget* owner, bool modal, const QVariant& items, bool multiple,
             const QVariant& backColour, const QIcon& icon, int* chosenIndex) {
    DialogInstance<frmGoodInputBox> box(owner);
    SetUp(*box.get(), owner, prompt, title, backColour, icon);
    box->Text1()->hide();
    box->comboCombo()->hide();
    box->comboSortedList()->hide();
    box->listMultiNonSel()->hide();
    box->comboList()->setVisible(!multiple);
    box->listMulti()->setVisible(multiple);

    const QStringList lines =
        items.typeId() == QMetaType::QStringList ? items.toStringList() : QStringList();
    for (const QString& line : lines) {
        if (multiple) {
            auto* item = new QListWidgetItem(line, box->listMulti());
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        } else {
            box->comboList()->addItem(line);
        }
    }
    if (multiple) {
        if (!defaultValue.isEmpty()) {
            for (const QString& part : defaultValue.split(QLatin1Char(','))) {
                bool isNumber = false;
                const int number = part.trimmed().toInt(&isNumber);
                if (isNumber && number >= 1 && number <= box->listMulti()->count()) {
                    box->listMulti()->item(number - 1)->setCheckState(Qt::Checked);
                }
            }
        }
        if (box->listMulti()->count() > 0) {
            box->listMulti()->setCurrentRow(0);
        }
    } else {
        box->comboList()->setCurrentIndex(
            box->comboList()->findText(defaultValue, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
    box->ReturnCombo = false;
    box->ReturnList = !multiple;
    box->ReturnMultiList = multiple;
    box->ReturnText = false;
    box->ReturnSortedList = false;
    return Finish(box, owner, modal, result, chosenIndex);
}
} // namespace

bool GoodInputBox(const QString& prompt, const QString& title, const QString& defaultText,
                  qint32 maxLength, QString& result, QWidget* owner, const QString& passwordChar,
                  bool modal, const QVariant& backColour, const QIcon& icon) {
    DialogInstance<frmGoodInputBox> box(owner);
    SetUp(*box.get(), owner, prompt, title, backColour, icon);
    box->Text1()->setText(defaultText);
    box->SetTextLength(maxLength);
    box->Text1()->show();
    box->comboCombo()->hide();
    box->comboList()->hide();
    box->comboSortedList()->hide();
    box->listMulti()->hide();
    box->listMultiNonSel()->hide();
    if (!passwordChar.isEmpty()) {
        box->Text1()->SetPasswordChar(passwordChar);
    }
    return Finish(box, owner, modal, result, nullptr);
}

bool GoodInputBoxList(const QString& prompt, const QString& defaultValue, QString& result,
                      const QString& title, QWidget* owner, bool modal, const QVariant& items,
                      bool multiple, const QVariant& backColour, const QIcon& icon) {
    return RunList(prompt, defaultValue, result, title, owner, modal, items, multiple, backColour,
                   icon, nullptr);
}

bool GoodInputBoxListIndex(const QString& prompt, const QString& defaultValue, QString& result,
                           int& chosenIndex, const QString& title, QWidget* owner, bool modal,
                           const QStringList& items, const QVariant& backColour,
                           const QIcon& icon) {
    return RunList(prompt, defaultValue, result, title, owner, modal, QVariant(items), false,
                   backColour, icon, &chosenIndex);
}
