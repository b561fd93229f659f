#pragma once

#include "platform/directory/kvdirectory.h"

#include <QColor>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

// The directory's contact control: one DirectoryContact shown on numbered tabs. Its own tabs
// are 0 "Details", 1 "Address", 2 "Numbers" and 3 "E-mail"; a host window adds tabs of its own
// with AddTab and lays its own controls over the tab page (TabArea*), filling them when
// TabChanged reports one of its tabs.
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

    // None shows empty fields.
    ContactPtr Contact() const { return contact_; }
    void SetContact(const ContactPtr& contact);
    KVDirectory* Directory() const { return directory_; }
    void SetDirectory(KVDirectory* directory) { directory_ = directory; }
    QColor BackColour() const { return backColour_; }
    // Set by a window that hosts the control in a pane of its own rather than a contact
    // window; kept for the host's use.
    bool HostOption() const { return hostOption_; }
    void SetHostOption(bool on) { hostOption_ = on; }
    void SetBackColour(const QColor& colour);

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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect pageRect() const;
    void fill();
    QLineEdit* field(QWidget* page, const char* name, const QString& label);

    QTabWidget* tabs_;
    QMap<int, QWidget*> pages_; // tab number -> page
    QMap<QString, QLineEdit*> fields_;
    QPlainTextEdit* txtAddress_ = nullptr;
    ContactPtr contact_;
    QPointer<KVDirectory> directory_;
    QColor backColour_;
    bool hostOption_ = false;
    int maxTabs_ = kOwnTabs;
    int customTabs_ = 0;
};
