#pragma once

#include "platform/ui/imagelist.h"
#include "scripts/scriptfile.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class cOCSettings;
class QAction;
class QPushButton;
class QToolBar;
class QToolButton;
class QTreeWidgetItem;
class QWidget;
class ScriptTree;
class ScriptView;

// The Scripts tab: the tree of the log script, the user's personal script and the shared
// scripts; the script browser that shows, edits and saves them; the script toolbar; and the
// automatic and fast scrolling. The main window makes one, places its controls and tells it
// what the program knows (settings, the logged-in user and their right to create scripts).
class ScriptsPane : public QObject {
    Q_OBJECT
public:
    // The logged-in user, as far as the scripts go; no name when nobody is logged in.
    struct User {
        QString name;
        QString personalFolder;
    };
    struct Services {
        std::function<const cOCSettings*()> settings;
        std::function<User()> currentUser;
        std::function<bool()> canCreateScripts;
    };

    // The controls are made as children of parent, with their design names and sizes.
    ScriptsPane(QWidget* parent, Services services);
    ~ScriptsPane() override;

    // Rebuilds the personal and shared nodes, keeping the selection by key.
    void LoadScripts();
    void treeScripts_NodeClick(QTreeWidgetItem* node);
    // Shows a script text (path "") or file; false when the show was dropped or stopped.
    bool ShowScript(const QString& ScriptText, const QString& path, bool FromPlayout);
    // Saves the shown script; false when nothing was saved.
    bool SaveScript(bool selectSaved);
    // Before a command that would drop the shown script (settings reload, logout, close):
    // asks to save a changed script; false when the user said Yes and the save did not happen.
    bool QuerySaveChanges();
    // The settings were reloaded: the browser is empty and the state starts again.
    void Reset();
    // The key of the node whose script is shown; empty when none is.
    QString ShownNodeKey() const { return shownNodeKey_; }
    // Selects the node of key and shows its script, as a click on it would; nothing when the
    // tree no longer holds it.
    void ShowNode(const QString& key);

    void chkScriptEdit_Click();
    void chkScriptAutoScroll_Click();
    void cmdNewScript_Click();
    void toolScripts_ButtonClick(const QString& key);
    void wbScripts_DocumentChanged();
    void wbScripts_SelectionChanged();
    // The view's web process ended under the shown script: told, and nothing is left to edit,
    // save or print.
    void wbScripts_ProcessEnded();
    void cmdScriptDown_MouseDown();
    void cmdScriptUp_MouseDown();
    void cmdScript_MouseUp();
    void tmrScriptScroll_Timer();
    void tmrScriptScrollFast_Timer();
    // The print dialog, then the shown script printed.
    void PrintScript();
    // The desktop's font dialog for the selected text, in edit mode.
    void ShowFont();

    // The toolbar button of a key ("save", "bold", ...); null when unknown.
    QAction* ToolButton(const QString& key) const;

    // State, for the window and its tests.
    const QString& ScriptFile() const { return scriptFile_; }
    const QString& ScriptSource() const { return scriptSource_; }
    bool ScriptChanged() const { return scriptChanged_; }
    bool ScriptEditable() const { return scriptEditable_; }

    // The toolbar's small pictures by key ("disk", "delete", "print", "undo", ... "bold").
    ImageList imgListSmall;
    ScriptTree* treeScripts = nullptr;
    QPushButton* cmdNewScript = nullptr;
    QToolBar* toolScripts = nullptr;
    ScriptView* wbScripts = nullptr;
    QPushButton* cmdScriptUp = nullptr;
    QPushButton* cmdScriptDown = nullptr;
    QToolButton* chkScriptAutoScroll = nullptr;
    QToolButton* chkScriptEdit = nullptr;
    QTimer tmrScriptScroll;
    QTimer tmrScriptScrollFast;
    // The fast timer's direction: 1 down, 0 up.
    int fastDirection = 1;

private:
    void buildToolbar();
    void setButton(const QString& key, bool enabled);
    void setPressed(const QString& key, int state);
    QString scriptPath() const;
    int scrollSpeed() const;
    bool askToSaveChanges();
    void returnToShownNode();
    void deleteShownScript();
    QString nameOf(const QString& path) const;

    Services services_;
    QString scriptFile_;
    QString scriptSource_;
    bool scriptChanged_ = false;
    bool scriptEditable_ = false;
    bool showingScript_ = false;
    // The key of the node the shown script belongs to, to come back to when a show stops.
    QString shownNodeKey_;
    // The file's bytes as shown or last saved, to see another computer's change at save.
    ScriptFile::Snapshot shown_;
    QPointer<QPushButton> fastButton_;
};
