#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class LabelSheetSettings;
class QAction;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QToolBar;

// The address-label sheet: one address on the chosen labels of a sheet of adhesive labels
// whose geometry the station keeps in the messages database. Modal; what the user selected
// and edited is gone once it closes.
//
// To print an address from any window: frmAddressLabels::PrintAddresses(text, true, owner),
// the text's lines separated by CR LF (or LF). It returns once the sheet is closed.
class frmAddressLabels : public QDialog {
    Q_OBJECT
public:
    // The inner area and the toolbar, in twips.
    static constexpr int kInnerWidth = 8040;
    static constexpr int kInnerHeight = 8000;
    static constexpr int kToolbarHeight = 360;

    explicit frmAddressLabels(QWidget* owner = nullptr);
    ~frmAddressLabels() override;

    // Shows the sheet modally (through the dialog seam) with every label holding the address.
    // bAll has no effect; it is kept for the callers' sake.
    static void PrintAddresses(const QString& address, bool bAll, QWidget* parentForm);

    // The address every label starts with, laid out with every label holding it.
    void SetAddress(const QString& address);
    // Lays the grid out from the settings; with fillAll every label gets the address again,
    // else only the selected ones and the new ones do.
    void LayoutLabelSheet(bool fillAll);
    void PrintSelectedLabels();

    // The slots made so far (some may be beyond the grid), numbered from 1.
    int SlotCount() const { return static_cast<int>(slots_.size()); }
    int GridSlots() const;
    QFrame* LabelPanel(int n) const;
    QLabel* CaptionPanel(int n) const;
    QString Caption(int n) const;
    bool Selected(int n) const;
    bool EditMarked(int n) const;
    // A click on a label or its caption.
    void ClickLabel(int n);
    // The toolbar button of a key: "print", "printsetup", "clear", "selectall", "deselectall",
    // "edit".
    QAction* Button(const QString& key) const;
    QPlainTextEdit* EditBox() const { return txtEdit_; }
    bool Editing() const { return editing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LabelSlot {
        QFrame* panel = nullptr;
        QLabel* caption = nullptr;
        bool selected = false;
        bool marked = false;
    };
    void addButton(const QString& key, const QString& text, const QString& tip);
    void toolbarClicked(const QString& key);
    void setSelected(LabelSlot& slot, bool selected);
    void paintSlot(const LabelSlot& slot);
    void startEditing();
    void endEditing();
    void editChanged();
    void printSetup();
    const LabelSheetSettings& settings() const;

    QString sAddress_;
    std::vector<LabelSlot> slots_;
    QToolBar* toolbar_ = nullptr;
    QPlainTextEdit* txtEdit_ = nullptr;
    bool editing_ = false;
    bool busy_ = false;
};
