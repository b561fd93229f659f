#pragma once

#include "platform/directory/kvdirectory.h"

#include <QColor>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

// The directory's contact control: one DirectoryContact shown on numbered tabs. Its own tabs
// are 0 "General" (name, company, address, numbers, e-mail addresses), 1 "Login" (login name
// and rights), 2 "Settings" (whether the contact is personal) and 3 "Notes"; a host window
// adds tabs of its own with AddTab and lays its own controls over the tab page (TabArea*),
// filling them when TabChanged reports one of its tabs.
//
// The fields are edited in the control and written into the contact only by StoreEdits; the
// host stores it through the directory. ContactChanged is True from the first edit until the
// contact is replaced or the directory announces it saved (ContactSaved), when the control
// starts afresh from the saved values; EditStateChanged tells both changes. With HostOption
// the control is a read-only display.
//
// Host tabs are numbered from 4 up. Two settings say how many there may be: MaxTabs, the
// number of tab numbers in use (own tabs included), and CustomTabs, how many of them the
// host may add. A host tab is accepted only within both.
class uContact : public QWidget {
    Q_OBJECT
public:
    using ContactPtr = KVDirectory::ContactPtr;
    static constexpr int kOwnTabs = 4;
    static constexpr int kTabLimit = 16;

    explicit uContact(QWidget* parent = nullptr);
    ~uContact() override;

    // None shows empty fields. A light record of a stored contact is completed, in the same
    // object, from the directory's whole record.
    ContactPtr Contact() const { return contact_; }
    void SetContact(const ContactPtr& contact);
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory);
    QColor BackColour() const { return backColour_; }
    // Set by a window that hosts the control in a pane of its own rather than a contact
    // window: the fields are then shown read-only.
    bool HostOption() const { return hostOption_; }
    void SetHostOption(bool on);
    void SetBackColour(const QColor& colour);

    bool ContactChanged() const { return changed_; }
    // The name as its box holds it now, typed edits not yet stored included.
    QString EditedName() const;
    // Whether the fields can be stored: a name is needed. showMessage tells the user why not,
    // with the General tab shown and the focus in the name.
    bool CheckDetails(bool showMessage);
    // Writes the fields into the contact object; ContactChanged stays as it is.
    void StoreEdits();
    // The edit commands, on the field that has the focus.
    void EditCut();
    void EditCopy();
    void EditPaste();
    void EditDelete();

    int MaxTabs() const { return maxTabs_; }
    void SetMaxTabs(int count);
    int CustomTabs() const { return customTabs_; }
    void SetCustomTabs(int count);
    // Adds a host tab, or renames it when the number is already there. False (with a log
    // line) for a number outside the settings above.
    bool AddTab(int number, const QString& caption);
    bool HasTab(int number) const;
    // "" for a number not shown.
    QString TabCaption(int number) const;
    // The numbers of the tabs in the order they are shown.
    QList<int> TabNumbers() const;

    // The number of the tab shown; setting a number not shown changes nothing.
    int CurrentTab() const;
    void SetCurrentTab(int number);

    // The rectangle of the tab page, in twips, left and top relative to this control.
    qint32 TabAreaLeft() const;
    qint32 TabAreaTop() const;
    qint32 TabAreaWidth() const;
    qint32 TabAreaHeight() const;

    QTabWidget* tabContact() const { return tabs_; }

Q_SIGNALS:
    void TabChanged(int tab);
    // True at the first edit; False when the control starts afresh.
    void EditStateChanged(bool enabled);
    // The directory keeps no activity history: "" whenever a contact is set.
    void HistoryChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect pageRect() const;
    void fill();
    void completeFromDirectory();
    void restart();
    void edited();
    void applyEditable();
    void contactSaved(const ContactPtr& saved);
    QWidget* focusedField() const;
    QLineEdit* field(QWidget* page, const char* name, const QString& label);
    QString text(const char* name) const;

    QTabWidget* tabs_;
    QMap<int, QWidget*> pages_; // tab number -> page
    QMap<QString, QLineEdit*> fields_;
    QPlainTextEdit* txtAddress_ = nullptr;
    QPlainTextEdit* txtNotes_ = nullptr;
    QMap<quint32, QCheckBox*> directoryRights_; // right bit -> box
    QMap<quint32, QCheckBox*> userRights_;
    QCheckBox* chkPersonal_ = nullptr;
    ContactPtr contact_;
    QPointer<KVDirectory> directory_;
    QColor backColour_;
    bool hostOption_ = false;
    bool changed_ = false;
    bool loading_ = false;
    int maxTabs_ = kOwnTabs;
    int customTabs_ = 0;
};
