#pragma once

#include "contacts/editwindowclose.h"
#include "core/windows/editwindows.h"

#include <QDialog>

#include <memory>

class OrlixPrize;
class PrizeWeekGrid;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
namespace PrizeHours {
struct BlockSwitch;
}

// One competition prize for viewing and editing: details, the hours it may be given away in,
// notes and its winners. Modeless; closing it (OK, Cancel, Esc or the close box) goes through
// the one close path with the save question, and a closed window is deleted.
class frmPrize : public QDialog, public PrizeWindow {
    Q_OBJECT
public:
    explicit frmPrize(QWidget* owner = nullptr);
    ~frmPrize() override;

    std::shared_ptr<OrlixPrize> Prize() const override { return prize_; }
    bool LoadPrize(const std::shared_ptr<OrlixPrize>& prize) override;
    bool SavePrize();
    void UpdateWinners();
    void ShowHourRestrictions();

    // The controls tests drive.
    QTabWidget* Tabs() const { return tabs_; }
    QLineEdit* TitleBox() const { return txtTitle_; }
    QLineEdit* NumberSuppliedBox() const { return txtNumberSupplied_; }
    QLabel* NumberWinnersLabel() const { return lblNumberWinners_; }
    QLabel* SupplierLabel() const { return lblSuppliedBy_; }
    QLabel* ReferenceLabel() const { return lblReference_; }
    PrizeWeekGrid* Week() const { return gridWeek_; }
    QTreeWidget* Winners() const { return lvwWinners_; }
    QPushButton* OkButton() const { return cmdOK_; }
    QPushButton* ApplyButton() const { return cmdApply_; }
    QPushButton* ClearButton() const { return cmdClear_; }
    QPushButton* DeleteButton() const { return cmdDelete_; }
    QPushButton* AddWinnerButton() const { return cmdAddWinner_; }
    QPushButton* ShowWinnerButton() const { return cmdShowWinner_; }
    QPushButton* RemoveWinnerButton() const { return cmdRemoveWinner_; }
    QPushButton* EMailWinnerButton() const { return cmdEMailWinner_; }
    QPushButton* PrintWinnersButton() const { return cmdPrintWinners_; }
    QPushButton* LoadHoursButton() const { return cmdLoadHours_; }
    QPushButton* OpenSupplierButton() const { return cmdOpenSupplier_; }
    QPushButton* ChooseSupplierButton() const { return cmdChooseSuppliedBy_; }
    QPushButton* SaveHoursButton() const { return cmdSaveHours_; }

    void AddWinner();
    void RemoveWinner();
    void ShowWinner();
    void PrintWinners();
    void DeletePrize();
    void LoadHours();
    void SaveHours();
    void ChooseSupplier();
    // A new directory contact of that name in a modal contact window; once saved it supplies
    // the prize.
    void AddNewSupplier(const QString& name);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void build();
    void connectPrize();
    void setButtons(bool edited);
    void setWinnerButtons(QTreeWidgetItem* item);
    void showSupplier();
    void titleChanged(const QString& text);
    void numberSuppliedChanged(const QString& text);
    void hoursSwitched(const PrizeHours::BlockSwitch& change);
    qint32 numberInBox() const;

    std::shared_ptr<OrlixPrize> prize_;
    bool loading_ = false;
    int busy_ = 0;
    EditWindowClose closer_;

    QTabWidget* tabs_ = nullptr;
    QLineEdit* txtTitle_ = nullptr;
    QLabel* lblReference_ = nullptr;
    QLabel* lblSuppliedBy_ = nullptr;
    QPushButton* cmdClearSuppliedBy_ = nullptr;
    QPushButton* cmdOpenSupplier_ = nullptr;
    QPushButton* cmdChooseSuppliedBy_ = nullptr;
    QPushButton* cmdAddNewSupplier_ = nullptr;
    QComboBox* comboAddedBy_ = nullptr;
    QLabel* lblAddedDate_ = nullptr;
    QLineEdit* txtNumberSupplied_ = nullptr;
    QLabel* lblNumberWinners_ = nullptr;
    QPlainTextEdit* txtScript_ = nullptr;
    QCheckBox* chkStart_ = nullptr;
    QDateEdit* dtStart_ = nullptr;
    QCheckBox* chkEnd_ = nullptr;
    QDateEdit* dtEnd_ = nullptr;
    PrizeWeekGrid* gridWeek_ = nullptr;
    QPushButton* cmdLoadHours_ = nullptr;
    QPushButton* cmdSaveHours_ = nullptr;
    QPlainTextEdit* txtNotes_ = nullptr;
    QPlainTextEdit* txtNotesToSupplier_ = nullptr;
    QTreeWidget* lvwWinners_ = nullptr;
    QPushButton* cmdAddWinner_ = nullptr;
    QPushButton* cmdShowWinner_ = nullptr;
    QPushButton* cmdRemoveWinner_ = nullptr;
    QPushButton* cmdEMailWinner_ = nullptr;
    QPushButton* cmdPrintWinners_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdClear_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
};
