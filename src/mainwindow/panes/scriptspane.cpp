#include "mainwindow/panes/scriptspane.h"

#include "core/debuglog.h"
#include "core/dialogs/goodinputbox.h"
#include "core/errorreport.h"
#include "core/profile/cocsettings.h"
#include "mainwindow/scripttreeimages.h"
#include "platform/system/appservices.h"
#include "platform/system/filesystemhelper.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/toolbarimages.h"
#include "platform/ui/tristatebutton.h"
#include "platform/ui/twips.h"
#include "scripts/scriptfont.h"
#include "scripts/scriptnames.h"
#include "scripts/scriptrules.h"
#include "scripts/scripttext.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"

#include <QAction>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidgetItem>

namespace {
constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;
const QString kLogScript = QStringLiteral("LOGSCRIPT");
const QString kOtherScripts = QStringLiteral("OTHERSCRIPTS");
const QString kPersonalTag = QStringLiteral("<PERSONALSCRIPT>");
const QString kOtherTag = QStringLiteral("<OTHERSCRIPT>");

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

void designSize(QWidget* w, double widthTwips, double heightTwips) {
    w->resize(TwipsToPixels(widthTwips), TwipsToPixels(heightTwips));
}

struct ToolDesign {
    const char* key;
    bool separator;
    const char* tip;
    bool edit;
    const char* image; // key in the small image list, "" for none
};

QTreeWidgetItem* topNode(QTreeWidget* tree, const QString& key) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->data(0, kKeyRole).toString() == key) {
            return tree->topLevelItem(i);
        }
    }
    return nullptr;
}
} // namespace

ScriptsPane::ScriptsPane(QWidget* parent, Services services)
    : QObject(parent), services_(std::move(services)) {
    treeScripts = named(new ScriptTree(parent), "treeScripts");
    connect(treeScripts, &QTreeWidget::itemExpanded, this,
            [](QTreeWidgetItem* node) { FollowExpansion(node, true); });
    connect(treeScripts, &QTreeWidget::itemCollapsed, this,
            [](QTreeWidgetItem* node) { FollowExpansion(node, node->isExpanded()); });
    connect(treeScripts, &ScriptTree::NodeClick, this,
            [this](QTreeWidgetItem* node) { treeScripts_NodeClick(node); });

    cmdNewScript = named(new QPushButton(QStringLiteral("New Script"), parent), "cmdNewScript");
    designSize(cmdNewScript, 2000, 375);
    cmdNewScript->setEnabled(false);
    connect(cmdNewScript, &QPushButton::clicked, this, [this] { cmdNewScript_Click(); });

    toolScripts = named(new QToolBar(parent), "toolScripts");
    designSize(toolScripts, 6000, 330);
    buildToolbar();

    wbScripts = named(new ScriptView(parent), "wbScripts");
    connect(wbScripts, &ScriptView::DocumentChanged, this, [this] { wbScripts_DocumentChanged(); });
    connect(wbScripts, &ScriptView::SelectionChanged, this,
            [this] { wbScripts_SelectionChanged(); });
    connect(wbScripts, &ScriptView::ProcessEnded, this, [this] { wbScripts_ProcessEnded(); });

    cmdScriptUp = named(new QPushButton(QStringLiteral("Up"), parent), "cmdScriptUp");
    designSize(cmdScriptUp, 795, 795);
    cmdScriptUp->setToolTip(QStringLiteral("Scroll up the script display"));
    cmdScriptDown = named(new QPushButton(QStringLiteral("Down"), parent), "cmdScriptDown");
    designSize(cmdScriptDown, 795, 795);
    cmdScriptDown->setToolTip(QStringLiteral("Scroll down the Script display"));
    connect(cmdScriptDown, &QPushButton::pressed, this, [this] { cmdScriptDown_MouseDown(); });
    connect(cmdScriptUp, &QPushButton::pressed, this, [this] { cmdScriptUp_MouseDown(); });
    connect(cmdScriptDown, &QPushButton::released, this, [this] { cmdScript_MouseUp(); });
    connect(cmdScriptUp, &QPushButton::released, this, [this] { cmdScript_MouseUp(); });

    chkScriptAutoScroll = named(new QToolButton(parent), "chkScriptAutoScroll");
    chkScriptAutoScroll->setText(QStringLiteral("Auto Scroll"));
    chkScriptAutoScroll->setToolTip(QStringLiteral("Auto-Scroll the Script display"));
    chkScriptEdit = named(new QToolButton(parent), "chkScriptEdit");
    chkScriptEdit->setText(QStringLiteral("Edit Script"));
    for (QToolButton* check : {chkScriptAutoScroll, chkScriptEdit}) {
        check->setCheckable(true);
        check->setToolButtonStyle(Qt::ToolButtonTextOnly);
        designSize(check, 795, 795);
        QFont small = check->font();
        small.setPixelSize(9);
        check->setFont(small);
    }
    chkScriptEdit->setEnabled(false);
    connect(chkScriptAutoScroll, &QToolButton::clicked, this,
            [this] { chkScriptAutoScroll_Click(); });
    connect(chkScriptEdit, &QToolButton::clicked, this, [this] { chkScriptEdit_Click(); });

    tmrScriptScroll.setObjectName(QStringLiteral("tmrScriptScroll"));
    tmrScriptScrollFast.setObjectName(QStringLiteral("tmrScriptScrollFast"));
    tmrScriptScrollFast.setInterval(ScriptScroll::kFastStepMs);
    connect(&tmrScriptScroll, &QTimer::timeout, this, [this] { tmrScriptScroll_Timer(); });
    connect(&tmrScriptScrollFast, &QTimer::timeout, this, [this] { tmrScriptScrollFast_Timer(); });
}

ScriptsPane::~ScriptsPane() = default;

void ScriptsPane::buildToolbar() {
    FillToolbarImages(imgListSmall);
    static const ToolDesign kTools[] = {
        {"savesep", true, "", true, ""},
        {"save", false, "Save Script", true, "disk"},
        {"delete", false, "Delete Script", true, "delete"},
        {"printsep", true, "", false, ""},
        {"print", false, "Print", false, "print"},
        {"editsep", true, "", false, ""},
        {"undo", false, "Undo", true, "undo"},
        {"redo", false, "Redo", true, "redo"},
        {"", true, "", false, ""},
        {"cut", false, "Cut", true, "cut"},
        {"copy", false, "Copy", false, "copy"},
        {"paste", false, "Paste", true, "paste"},
        {"fontsep", true, "", true, ""},
        {"font", false, "Font", true, "font"},
        {"bold", false, "Bold", true, "bold"},
        {"italic", false, "Italic", true, "italic"},
        {"underline", false, "Underline", true, "underline"},
        {"strikethrough", false, "Strikethrough", true, "strikethrough"},
        {"helpsep", true, "", false, ""},
        {"help", false, "Help!", false, "help"},
    };
    toolScripts->setIconSize(QSize(16, 16));
    for (const ToolDesign& t : kTools) {
        QAction* action =
            t.separator ? toolScripts->addSeparator() : toolScripts->addAction(QString());
        action->setObjectName(QLatin1String(t.key));
        action->setProperty("Tag", t.edit ? QStringLiteral("edit") : QString());
        if (t.separator) {
            continue;
        }
        if (*t.image != '\0') {
            action->setIcon(QIcon(imgListSmall.ListImages(QLatin1String(t.image))));
        }
        action->setToolTip(QLatin1String(t.tip));
        action->setText(QLatin1String(t.tip));
        const QString key = QLatin1String(t.key);
        if (key == QLatin1String("bold") || key == QLatin1String("italic") ||
            key == QLatin1String("underline") || key == QLatin1String("strikethrough")) {
            action->setCheckable(true);
        }
        action->setEnabled(!t.edit && key != QLatin1String("print"));
        connect(action, &QAction::triggered, this, [this, key] {
            // A checkable button flips itself; its look follows the document instead.
            toolScripts_ButtonClick(key);
        });
    }
}

QAction* ScriptsPane::ToolButton(const QString& key) const {
    for (QAction* a : toolScripts->actions()) {
        if (!key.isEmpty() && a->objectName() == key) {
            return a;
        }
    }
    return nullptr;
}

void ScriptsPane::setButton(const QString& key, bool enabled) {
    if (QAction* a = ToolButton(key)) {
        a->setEnabled(enabled);
    }
}

void ScriptsPane::setPressed(const QString& key, int state) {
    TriStateButton::SetState(toolScripts, ToolButton(key), state);
}

QString ScriptsPane::scriptPath() const {
    const cOCSettings* s = services_.settings ? services_.settings() : nullptr;
    return s != nullptr ? s->ScriptPath() : QString();
}

int ScriptsPane::scrollSpeed() const {
    const cOCSettings* s = services_.settings ? services_.settings() : nullptr;
    return s != nullptr ? s->ScriptScrollSpeed() : ScriptScroll::kDefaultSpeed;
}

QString ScriptsPane::nameOf(const QString& path) const {
    return FileSystemHelper::FileTitle(path);
}

void ScriptsPane::Reset() {
    wbScripts->ClearDocument();
    scriptFile_.clear();
    scriptSource_.clear();
    scriptChanged_ = false;
    scriptEditable_ = false;
    shownNodeKey_.clear();
    shown_ = {};
    chkScriptEdit->setEnabled(false);
    chkScriptEdit_Click();
    for (const char* key : {"save", "delete", "print", "undo", "redo"}) {
        setButton(QLatin1String(key), false);
    }
    for (const char* key : {"bold", "italic", "underline", "strikethrough"}) {
        setPressed(QLatin1String(key), 0);
    }
    wbScripts->SetAllowedFolders({scriptPath()});
}

void ScriptsPane::ShowNode(const QString& key) {
    QTreeWidgetItem* node = key.isEmpty() ? nullptr : treeScripts->NodeByKey(key);
    if (node == nullptr) {
        return;
    }
    treeScripts->setCurrentItem(node);
    treeScripts_NodeClick(node);
}

void ScriptsPane::LoadScripts() {
    const QString folder = scriptPath();
    if (folder.isEmpty() || !FileSystemHelper::FolderExists(folder)) {
        return;
    }
    QString remembered = treeScripts->SelectedKey();
    for (int i = treeScripts->topLevelItemCount() - 1; i >= 0; --i) {
        if (treeScripts->topLevelItem(i)->data(0, kTagRole).toString() == kPersonalTag) {
            delete treeScripts->takeTopLevelItem(i);
        }
    }

    QStringList allowed{folder};
    QString personalKey;
    const User user = services_.currentUser ? services_.currentUser() : User();
    if (!user.name.isEmpty()) {
        const QString& personalFolder = user.personalFolder;
        personalKey = ScriptNames::PersonalScriptPath(personalFolder);
        if (!personalKey.isEmpty() && FileSystemHelper::CreateFolder(personalFolder)) {
            allowed.append(personalFolder);
            const QString text = user.name + QStringLiteral("'s script");
            auto* node = new QTreeWidgetItem(QStringList{text});
            node->setData(0, kKeyRole, personalKey);
            node->setData(0, kTagRole, kPersonalTag);
            SetScriptNodeImages(node, QStringLiteral("head"));
            treeScripts->insertTopLevelItem(0, node);
            if (!FileSystemHelper::FileExists(personalKey) &&
                !AppServices::WriteTextFile(personalKey, 0,
                                            ScriptNames::NewPersonalScriptHtml(text))) {
                DebugLog(QStringLiteral("The personal script '") + personalKey +
                         QStringLiteral("' could not be written"));
            }
            if (remembered.isEmpty()) {
                remembered = personalKey;
            }
        } else {
            personalKey.clear();
        }
    }
    wbScripts->SetAllowedFolders(allowed);

    if (QTreeWidgetItem* other = topNode(treeScripts, kOtherScripts)) {
        while (other->childCount() > 0) {
            delete other->takeChild(0);
        }
        const QString cleanFolder = QDir::cleanPath(folder);
        for (const QString& name : ScriptNames::SharedScriptFiles(folder)) {
            const QString key = cleanFolder + QLatin1Char('/') + name;
            if (key == personalKey) {
                continue; // the personal node stands for it
            }
            auto* node = new QTreeWidgetItem(other, QStringList{FileSystemHelper::FileTitle(name)});
            node->setData(0, kKeyRole, key);
            SetScriptNodeImages(node, QStringLiteral("note"));
        }
        SetScriptNodeImages(other, QStringLiteral("closed"), QStringLiteral("open"));
        other->setExpanded(true);
    }
    if (!remembered.isEmpty()) {
        if (!treeScripts->SelectKey(remembered)) {
            treeScripts->clearSelection();
        }
    }
}

void ScriptsPane::treeScripts_NodeClick(QTreeWidgetItem* node) {
    if (node == nullptr) {
        return;
    }
    const QString key = node->data(0, kKeyRole).toString();
    const QString tag = node->data(0, kTagRole).toString();
    const bool canCreate = services_.canCreateScripts && services_.canCreateScripts();
    cmdNewScript->setEnabled(tag == kPersonalTag || canCreate);
    if (key == kLogScript) {
        ShowScript(QString(), QString(), true);
    } else if (key == kOtherScripts || key.isEmpty()) {
        ShowScript(QString(), QString(), false);
    } else {
        ShowScript(QString(), key, false);
    }
}

bool ScriptsPane::askToSaveChanges() {
    const MsgResult answer = MsgBox(
        QStringLiteral("The current script has been changed - Do you want to save the changes?"),
        MsgIcon::Question, MsgButtons::YesNo, 0, wbScripts->window());
    if (answer != MsgResult::Yes) {
        return true;
    }
    return SaveScript(false);
}

void ScriptsPane::returnToShownNode() {
    const QString key = shownNodeKey_.isEmpty() ? kOtherScripts : shownNodeKey_;
    treeScripts->SelectKey(key);
}

bool ScriptsPane::QuerySaveChanges() {
    if (!scriptEditable_ || !scriptChanged_) {
        return true;
    }
    return askToSaveChanges();
}

bool ScriptsPane::ShowScript(const QString& ScriptText, const QString& path, bool FromPlayout) {
    if (showingScript_) {
        return false;
    }
    showingScript_ = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{showingScript_};

    if (!scriptFile_.isEmpty() && scriptEditable_ && scriptChanged_ && !askToSaveChanges()) {
        returnToShownNode();
        return false;
    }
    QString text = ScriptText.isEmpty() ? path : ScriptText;
    if (text == scriptSource_ && path.isEmpty()) {
        return false;
    }
    if (FromPlayout && treeScripts->SelectedKey() != kLogScript) {
        return false;
    }
    // A new script is only asked about once the show would really replace it.
    if (scriptFile_.isEmpty() && scriptEditable_ && scriptChanged_ && !askToSaveChanges()) {
        returnToShownNode();
        return false;
    }

    setButton(QStringLiteral("save"), false);
    setButton(QStringLiteral("delete"), false);
    setButton(QStringLiteral("print"), false);
    scriptEditable_ = false;
    scriptChanged_ = false;
    wbScripts->ClearDocument();
    shown_ = {};
    bool refusedScript = false;

    if (path.isEmpty()) {
        scriptFile_.clear();
        scriptSource_ = text;
        if (treeScripts->SelectedKey() != kLogScript) {
            treeScripts->SelectKey(kOtherScripts);
        }
        if (!text.isEmpty()) {
            text = ScriptText::HtmlForScriptText(text);
            wbScripts->WriteDocument(text);
        }
    } else {
        scriptSource_ = path;
        scriptFile_ = path;
        QString error;
        bool tooLarge = false;
        if (!FileSystemHelper::FileExists(path) ||
            !wbScripts->NavigateFile(path, &shown_, &error, &tooLarge)) {
            if (tooLarge) {
                // Nothing of it is shown, so nothing of it may be edited, saved or printed.
                refusedScript = true;
                MsgBox(QStringLiteral("The script '") + nameOf(path) +
                           QStringLiteral("' cannot be shown because it is larger than 4 MB."),
                       MsgIcon::Exclamation, MsgButtons::OK, 0, wbScripts->window());
            } else if (!FileSystemHelper::FileExists(path)) {
                MsgBox(QStringLiteral("The script '") + nameOf(path) +
                           QStringLiteral("' could not be found. It may have been renamed or "
                                          "deleted on another computer."),
                       MsgIcon::Exclamation, MsgButtons::OK, 0, wbScripts->window());
            } else {
                ShowProblem(QStringLiteral("showing the script '") + path + QLatin1Char('\''),
                            error);
            }
            scriptFile_.clear();
            scriptSource_.clear();
            text.clear();
            wbScripts->ClearDocument();
            if (!tooLarge) {
                LoadScripts();
            }
        } else {
            text = IsHtmlScriptFile(path) ? path : QString();
        }
    }

    const cOCSettings* settings = services_.settings ? services_.settings() : nullptr;
    if (!text.isEmpty() && settings != nullptr) {
        if (const auto look = ScriptFontLookOf(settings->ScriptFont().get())) {
            wbScripts->ApplyFont(*look);
        }
    }

    const QString tag = treeScripts->SelectedTag();
    const QString key = treeScripts->SelectedKey();
    ScriptNodeKind kind = ScriptNodeKind::Other;
    if (treeScripts->currentItem() == nullptr || !treeScripts->currentItem()->isSelected()) {
        kind = ScriptNodeKind::None;
    } else if (tag == kPersonalTag) {
        kind = ScriptNodeKind::Personal;
    } else if (tag == kOtherTag) {
        kind = ScriptNodeKind::SharedRoot;
    }
    const bool canCreate = services_.canCreateScripts && services_.canCreateScripts();
    scriptEditable_ = !refusedScript && MayEditScript(kind, scriptFile_, canCreate);
    shownNodeKey_ = key;

    setButton(QStringLiteral("delete"), scriptEditable_ && !scriptFile_.isEmpty());
    chkScriptEdit->setEnabled(scriptEditable_);
    chkScriptEdit_Click();
    setButton(QStringLiteral("undo"), false);
    setButton(QStringLiteral("redo"), false);
    setButton(QStringLiteral("save"), scriptChanged_);
    setButton(QStringLiteral("print"), !text.isEmpty());
    scriptChanged_ = false;
    return true;
}

void ScriptsPane::chkScriptEdit_Click() {
    const bool editing = chkScriptEdit->isChecked() && scriptEditable_;
    wbScripts->SetEditMode(editing);
    for (QAction* a : toolScripts->actions()) {
        if (a->objectName() == QLatin1String("save")) {
            a->setEnabled(scriptChanged_);
        } else if (a->property("Tag").toString() == QLatin1String("edit")) {
            a->setEnabled(editing);
        }
    }
}

void ScriptsPane::wbScripts_DocumentChanged() {
    if (!scriptEditable_) {
        return;
    }
    setButton(QStringLiteral("save"), true);
    setButton(QStringLiteral("undo"), wbScripts->BrowserCommandEnabled(QStringLiteral("undo")));
    setButton(QStringLiteral("redo"), wbScripts->BrowserCommandEnabled(QStringLiteral("redo")));
    scriptChanged_ = true;
    wbScripts_SelectionChanged();
}

void ScriptsPane::wbScripts_ProcessEnded() {
    if (scriptSource_.isEmpty()) {
        wbScripts->ClearDocument();
        return; // nothing was shown, so nothing was lost
    }
    const QString name = !scriptFile_.isEmpty() ? nameOf(scriptFile_)
                         : treeScripts->currentItem() != nullptr
                             ? treeScripts->currentItem()->text(0)
                             : QString();
    // Cleared first: the same script may be asked for again, and must then be shown afresh.
    scriptFile_.clear();
    scriptSource_.clear();
    scriptEditable_ = false;
    scriptChanged_ = false;
    shown_ = {};
    wbScripts->ClearDocument();
    chkScriptEdit->setEnabled(false);
    chkScriptEdit_Click();
    for (const char* button : {"save", "delete", "print", "undo", "redo"}) {
        setButton(QLatin1String(button), false);
    }
    MsgBox(QStringLiteral("The script '") + name + QStringLiteral("' could not be shown."),
           MsgIcon::Exclamation, MsgButtons::OK, 0, wbScripts->window());
}

void ScriptsPane::wbScripts_SelectionChanged() {
    setPressed(QStringLiteral("bold"), wbScripts->SelBold());
    setPressed(QStringLiteral("italic"), wbScripts->SelItalic());
    setPressed(QStringLiteral("underline"), wbScripts->SelUnderline());
    setPressed(QStringLiteral("strikethrough"), wbScripts->SelStrikeThrough());
}

void ScriptsPane::toolScripts_ButtonClick(const QString& key) {
    const QString k = key.toLower();
    if (k == QLatin1String("save")) {
        SaveScript(true);
    } else if (k == QLatin1String("print")) {
        PrintScript();
    } else if (k == QLatin1String("delete")) {
        deleteShownScript();
    } else if (k == QLatin1String("cut")) {
        wbScripts->Cut();
    } else if (k == QLatin1String("copy")) {
        wbScripts->Copy();
    } else if (k == QLatin1String("paste")) {
        wbScripts->Paste();
    } else if (k == QLatin1String("undo") || k == QLatin1String("redo")) {
        wbScripts->SendBrowserCommand(k);
        wbScripts_DocumentChanged();
    } else if (k == QLatin1String("font")) {
        ShowFont();
        wbScripts_SelectionChanged();
    } else if (k == QLatin1String("bold")) {
        wbScripts->ToggleBold();
    } else if (k == QLatin1String("italic")) {
        wbScripts->ToggleItalic();
    } else if (k == QLatin1String("underline")) {
        wbScripts->ToggleUnderline();
    } else if (k == QLatin1String("strikethrough")) {
        wbScripts->ToggleStrikeThrough();
    }
    wbScripts_SelectionChanged();
}

void ScriptsPane::deleteShownScript() {
    if (scriptFile_.isEmpty()) {
        return;
    }
    if (MsgBox(QStringLiteral("Are you sure you want to delete this script?"), MsgIcon::Question,
               MsgButtons::YesNo, 1, wbScripts->window()) != MsgResult::Yes) {
        return;
    }
    const QString path = scriptFile_;
    treeScripts->SelectKey(kOtherScripts);
    if (!ShowScript(QString(), QString(), false)) {
        if (scriptFile_ == path) {
            return; // the save question's save did not happen: nothing is deleted
        }
    }
    QString reason;
    if (FileSystemHelper::DeleteFileWithProgress(path, QStringLiteral("Deleting Script"), true,
                                                 &reason) == 0) {
        if (QTreeWidgetItem* node = treeScripts->NodeByKey(path)) {
            delete node;
        }
        return;
    }
    MsgBox(QStringLiteral("The script '") + nameOf(path) +
               QStringLiteral("' could not be deleted.") + QStringLiteral("\n\n") + reason,
           MsgIcon::Exclamation, MsgButtons::OK, 0, wbScripts->window());
}

bool ScriptsPane::SaveScript(bool selectSaved) {
    QString path;
    if (scriptFile_.isEmpty()) {
        const QString folder = scriptPath();
        for (;;) {
            QString typed;
            if (GoodInputBox(QStringLiteral("What do you want to call this Script?"),
                             QStringLiteral("Save Script"), QStringLiteral("Untitled Script"), 0,
                             typed, wbScripts->window())) {
                return false;
            }
            const ScriptNames::NameCheck check = ScriptNames::CheckName(typed);
            if (check.outcome == ScriptNames::Outcome::Cancelled) {
                return false;
            }
            if (check.outcome == ScriptNames::Outcome::Accepted) {
                path = ScriptNames::NewScriptPath(folder, check.name);
                if (!path.isEmpty()) {
                    break;
                }
            }
            MsgBox(ScriptNames::RefusalText(), MsgIcon::Exclamation, MsgButtons::OK, 0,
                   wbScripts->window());
        }
        if (FileSystemHelper::FileExists(path) &&
            MsgBox(QStringLiteral("There is already a script called '") + nameOf(path) +
                       QStringLiteral("'\n\nDo you want to overwrite it?"),
                   MsgIcon::Question, MsgButtons::YesNo, 1,
                   wbScripts->window()) != MsgResult::Yes) {
            return false;
        }
    } else {
        path = scriptFile_;
        const ScriptFile::Snapshot now = ScriptFile::Take(path);
        QString question;
        if (!now.exists) {
            question = QStringLiteral("The script '") + nameOf(path) +
                       QStringLiteral("' has been deleted on another computer since you opened "
                                      "it.\n\nDo you want to save your version?");
        } else if (shown_.exists && now.hash != shown_.hash) {
            question = QStringLiteral("The script '") + nameOf(path) +
                       QStringLiteral("' has been changed on another computer since you opened "
                                      "it.\n\nDo you want to replace it with your version?");
        }
        if (!question.isEmpty() && MsgBox(question, MsgIcon::Question, MsgButtons::YesNo, 1,
                                          wbScripts->window()) != MsgResult::Yes) {
            return false;
        }
    }

    QString error;
    ScriptFile::Snapshot written;
    const std::optional<QString> html = wbScripts->HTML();
    if (!html) {
        ShowProblem(QStringLiteral("saving the script into '") + path + QLatin1Char('\''),
                    QStringLiteral("The script browser did not give the script back in time."));
        return false;
    }
    if (!ScriptFile::Save(path, *html, &written, &error)) {
        ShowProblem(QStringLiteral("saving the script into '") + path + QLatin1Char('\''), error);
        return false;
    }
    setButton(QStringLiteral("save"), false);
    scriptChanged_ = false;
    scriptFile_ = path;
    scriptSource_ = path;
    shown_ = written;
    LoadScripts();
    if (selectSaved) {
        treeScripts->SelectKey(path);
    }
    shownNodeKey_ = treeScripts->NodeByKey(path) != nullptr ? path : shownNodeKey_;
    if (treeScripts->SelectedTag() != kPersonalTag) {
        setButton(QStringLiteral("delete"), true);
    }
    return true;
}

void ScriptsPane::cmdNewScript_Click() {
    treeScripts->SelectKey(kOtherScripts);
    if (!ShowScript(QStringLiteral("<New Script>"), QString(), false)) {
        return;
    }
    wbScripts->SelectAll();
    wbScripts->setFocus();
}

void ScriptsPane::chkScriptAutoScroll_Click() {
    if (chkScriptAutoScroll->isChecked()) {
        tmrScriptScroll.setInterval(ScriptScroll::kFirstStepMs);
        tmrScriptScroll.start();
    } else {
        tmrScriptScroll.stop();
    }
}

void ScriptsPane::tmrScriptScroll_Timer() {
    tmrScriptScroll.setInterval(ScriptScroll::StepInterval(scrollSpeed()));
    wbScripts->ScrollBy(0, ScriptScroll::kAutoStep);
}

void ScriptsPane::cmdScriptDown_MouseDown() {
    fastDirection = 1;
    fastButton_ = cmdScriptDown;
    tmrScriptScrollFast.start();
}

void ScriptsPane::cmdScriptUp_MouseDown() {
    fastDirection = 0;
    fastButton_ = cmdScriptUp;
    tmrScriptScrollFast.start();
}

void ScriptsPane::cmdScript_MouseUp() {
    tmrScriptScrollFast.stop();
    fastButton_ = nullptr;
}

void ScriptsPane::tmrScriptScrollFast_Timer() {
    // A release that never came (a box opened over the window) must not scroll for ever.
    QPushButton* held = fastButton_;
    if (held == nullptr || !held->isDown() || !held->isVisible() || !held->isEnabled() ||
        !held->window()->isActiveWindow()) {
        cmdScript_MouseUp();
        return;
    }
    wbScripts->ScrollBy(0, fastDirection != 0 ? ScriptScroll::kFastStep : -ScriptScroll::kFastStep);
}

void ScriptsPane::PrintScript() {
    QPrinter printer(QPrinter::HighResolution);
    PrintDialogRequest request;
    request.owner = wbScripts->window();
    request.allowSelection = wbScripts->HasSelection();
    if (!CommonDialogs().askPrint(printer, request)) {
        return;
    }
    wbScripts->Print(&printer);
}

void ScriptsPane::ShowFont() {
    if (!wbScripts->EditMode()) {
        return;
    }
    const cOCSettings* settings = services_.settings ? services_.settings() : nullptr;
    const std::optional<ScriptFontLook> look =
        settings != nullptr ? ScriptFontLookOf(settings->ScriptFont().get()) : std::nullopt;
    QFont initial = wbScripts->font();
    QColor colour = Qt::black;
    if (look) {
        initial.setFamily(look->family);
        // The chooser is given points, the unit its answer is read in: a pixel size would come
        // back as a smaller size in points.
        if (look->pixelSize > 0) {
            initial.setPointSizeF(look->pixelSize * 72.0 / 96.0);
        }
        initial.setBold(look->bold);
        initial.setItalic(look->italic);
        colour = look->colour.isValid() ? look->colour : colour;
    }
    initial.setBold(wbScripts->SelBold() == 1);
    initial.setItalic(wbScripts->SelItalic() == 1);
    initial.setUnderline(wbScripts->SelUnderline() == 1);
    initial.setStrikeOut(wbScripts->SelStrikeThrough() == 1);
    FontDialogRequest request;
    request.title = QStringLiteral("Font");
    request.initial = initial;
    request.withColour = true;
    request.colour = colour;
    request.owner = wbScripts->window();
    const auto answer = CommonDialogs().askFont(request);
    // OK with nothing changed leaves the script as it was.
    if (!answer || (answer->font == initial && answer->colour == colour)) {
        return;
    }
    wbScripts->ApplySelectionFont(answer->font, answer->colour);
}
