#pragma once

#include "platform/ui/mousepointer.h"

#include <QDialog>
#include <QString>

#include <optional>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class TextBox;

// The small dialog that asks for one value: a free text, one item of a list, or any number
// of items of a list. The front ends (GoodInputBox, GoodInputBoxList) make one per call,
// fill it, show it and read Tag and Cancelled.
class frmGoodInputBox : public QDialog {
    Q_OBJECT
public:
    explicit frmGoodInputBox(QWidget* owner = nullptr);
    ~frmGoodInputBox() override;

    // The mode: the first flag that is true wins; none gives the text mode.
    bool ReturnCombo = false;
    bool ReturnList = false;
    bool ReturnText = true;
    bool ReturnMultiList = false;
    bool ReturnMultiListNonSel = false;
    bool ReturnSortedList = false;

    QLabel* lblCaption() const { return lblCaption_; }
    TextBox* Text1() const { return text1_; }
    QComboBox* comboList() const { return comboList_; }
    QComboBox* comboSortedList() const { return comboSortedList_; }
    QComboBox* comboCombo() const { return comboCombo_; }
    QListWidget* listMulti() const { return listMulti_; }
    QListWidget* listMultiNonSel() const { return listMultiNonSel_; }
    QPushButton* cmdOk() const { return cmdOk_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }

    // The longest text the user may type in Text1; 0 = no limit.
    void SetTextLength(int length);
    int TextLength() const { return textLength_; }

    // The outcome: cancelled until OK is pressed (so the close box is a cancel).
    bool Cancelled() const { return cancelled_; }
    // The value entered, as the mode gives it.
    const QString& Tag() const { return tag_; }
    // In the single-choice list mode: the 0-based position of the chosen item, -1 when none.
    int ChosenIndex() const { return chosenIndex_; }

    void SetBackColour(const QColor& colour);

public Q_SLOTS:
    void cmdOk_Click();
    void cmdCancel_Click();

public:
    // Esc is the Cancel button.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Mode { Combo, List, SortedList, MultiList, MultiListNonSel, Text };
    Mode CurrentMode() const;
    void LayOut();

    QLabel* lblCaption_;
    TextBox* text1_;
    QComboBox* comboList_;
    QComboBox* comboSortedList_;
    QComboBox* comboCombo_;
    QListWidget* listMulti_;
    QListWidget* listMultiNonSel_;
    QPushButton* cmdCancel_;
    QPushButton* cmdOk_;

    int textLength_ = 0;
    bool cancelled_ = true;
    QString tag_;
    int chosenIndex_ = -1;
    std::optional<MousePointerGuard> pointer_;
};
