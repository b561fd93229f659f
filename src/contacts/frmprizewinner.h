#pragma once

#include "contacts/editwindowclose.h"
#include "core/windows/editwindows.h"
#include "platform/ui/pickcombobox.h"

#include <QDateTime>
#include <QDialog>

#include <memory>

class DirectoryContact;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;

// Who won a prize: the winner (typed and resolved against the directory, chosen or added),
// who awarded it and when, whether and when it was sent, and notes. Modeless; closing it (OK,
// Cancel, Esc or the close box) goes through the one close path with the save question, and a
// closed window is deleted.
class frmPrizeWinner : public QDialog, public PrizeWinnerWindow {
    Q_OBJECT
public:
    // How long the winner field waits after the last keystroke before resolving the name.
    static constexpr int kTypeAheadMs = 1000;

    explicit frmPrizeWinner(QWidget* owner = nullptr);
    ~frmPrizeWinner() override;

    bool LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner) override;
    bool SavePrizeWinner();
    std::shared_ptr<OrlixPrizeWinner> PrizeWinner() const override { return winner_; }
    void ChooseWinner();
    void ShowWinnerDetails(bool select);
    // A new directory contact of that name in a modal contact window; once saved it is the
    // winner.
    void AddWinnerContact(const QString& name);
    // Resolves the typed name now, as the type-ahead's tick does.
    void ResolveTypedWinner();
    void PrintAddressLabel();
    void DeleteWinner();

    // The label text of a contact: name, the company when there is one, then the address.
    static QString AddressLabelText(const DirectoryContact& contact);

    // The controls tests drive.
    PickComboBox* WinnerBox() const { return comboWinner_; }
    QLabel* WinnerDetails() const { return lblWinnerDetails_; }
    QLabel* PrizeTitle() const { return lblPrizeTitle_; }
    QLabel* ReferenceLabel() const { return lblReference_; }
    QComboBox* AwardedByBox() const { return comboAwardedBy_; }
    QComboBox* SentByBox() const { return comboSentBy_; }
    QCheckBox* SentBox() const { return chkSent_; }
    QLabel* SentDateLabel() const { return lblSentDate_; }
    QLabel* WonDateLabel() const { return lblWonDate_; }
    QPushButton* OpenPrizeButton() const { return cmdOpenPrize_; }
    QPushButton* OpenWinnerButton() const { return cmdOpenWinner_; }
    QPushButton* PrintLabelButton() const { return cmdPrintAddressLabel_; }
    QPushButton* OkButton() const { return cmdOK_; }
    QPushButton* ApplyButton() const { return cmdApply_; }
    QPushButton* DeleteButton() const { return cmdDelete_; }
    QTimer* TypeAheadTimer() const { return tmrUpdatePrizeWinner_; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void fillWinners();
    bool entrySelected() const;
    void winnerChanged();
    void sentClicked();
    void setButtons(bool edited);
    bool quiet() const;

    std::shared_ptr<OrlixPrizeWinner> winner_;
    bool loading_ = false;
    int showing_ = 0;
    EditWindowClose closer_;
    // The moment the sent date shows for a winner not yet sent.
    QDateTime shownSentDate_;

    QLabel* lblReference_ = nullptr;
    QLabel* lblPrizeTitle_ = nullptr;
    QPushButton* cmdOpenPrize_ = nullptr;
    PickComboBox* comboWinner_ = nullptr;
    QPushButton* cmdChooseWinner_ = nullptr;
    QPushButton* cmdAddNewWinner_ = nullptr;
    QPushButton* cmdOpenWinner_ = nullptr;
    QLabel* lblWinnerDetails_ = nullptr;
    QTimer* tmrUpdatePrizeWinner_ = nullptr;
    QPushButton* cmdPrintAddressLabel_ = nullptr;
    QComboBox* comboAwardedBy_ = nullptr;
    QLabel* lblWonDate_ = nullptr;
    QCheckBox* chkSent_ = nullptr;
    QComboBox* comboSentBy_ = nullptr;
    QLabel* lblSentDateDesc_ = nullptr;
    QLabel* lblSentDate_ = nullptr;
    QPushButton* cmdSetSentDate_ = nullptr;
    QPushButton* cmdSelectSentDate_ = nullptr;
    QPlainTextEdit* txtNotes_ = nullptr;
    QPlainTextEdit* txtNotesToSupplier_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdApply_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdDelete_ = nullptr;
};
