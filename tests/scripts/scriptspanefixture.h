#pragma once

#include "core/profile/cocsettings.h"
#include "mainwindow/panes/scriptspane.h"
#include "mainwindow/scripttreeimages.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"

#include "scriptviewdriver.h"

#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidgetItem>

#include <gtest/gtest.h>

#include <memory>

// The Scripts tab on its own: a scripts folder and a user's folder in the test's home, the
// roots the main window's settings load makes, and the pane's services answered by the test.
class ScriptsPaneFixture : public ::testing::Test {
public:
    void SetUp() override {
        scripts = TestHome() + QStringLiteral("/scripts");
        personal = TestHome() + QStringLiteral("/users/7");
        ASSERT_TRUE(QDir().mkpath(scripts));
        settings.SetScriptPath(scripts);
        qputenv("XDG_DATA_HOME", QFile::encodeName(TestHome() + QStringLiteral("/xdg")));
        QDir().mkpath(TestHome() + QStringLiteral("/xdg"));
    }
    void TearDown() override {
        host.reset();
        qunsetenv("XDG_DATA_HOME");
    }

    void logIn(const QString& name = QStringLiteral("Ann")) { user = {name, personal}; }

    // The pane after a settings load: the log-script root (selected) when a playout computer
    // is set, then "Other Scripts", then the scripts.
    void load(bool playout = false) {
        host = std::make_unique<QWidget>();
        host->resize(900, 600);
        ScriptsPane::Services services;
        services.settings = [this] { return &settings; };
        services.currentUser = [this] { return user; };
        services.canCreateScripts = [this] { return canCreate; };
        pane = new ScriptsPane(host.get(), std::move(services));
        pane->wbScripts->setGeometry(200, 40, 600, 400);
        pane->treeScripts->setGeometry(0, 0, 190, 500);
        pane->Reset();
        ScriptTree* tree = pane->treeScripts;
        if (playout) {
            auto* log = new QTreeWidgetItem(tree, QStringList{QStringLiteral("Log Scripts")});
            log->setData(0, Qt::UserRole, QStringLiteral("LOGSCRIPT"));
            SetScriptNodeImages(log, QStringLiteral("vorela"));
            tree->setCurrentItem(log);
        }
        auto* other = new QTreeWidgetItem(tree, QStringList{QStringLiteral("Other Scripts")});
        other->setData(0, Qt::UserRole, QStringLiteral("OTHERSCRIPTS"));
        other->setData(0, Qt::UserRole + 1, QStringLiteral("<OTHERSCRIPT>"));
        other->setExpanded(true);
        pane->LoadScripts();
        // As on the studio's screen: the engine leaves a page that was never shown idle.
        ShowActive(*host);
    }

    QString script(const QString& name) const { return scripts + QLatin1Char('/') + name; }

    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QStringList topTexts() const {
        QStringList out;
        for (int i = 0; i < pane->treeScripts->topLevelItemCount(); ++i) {
            out << pane->treeScripts->topLevelItem(i)->text(0);
        }
        return out;
    }
    QStringList sharedKeys() const {
        QStringList out;
        QTreeWidgetItem* other = pane->treeScripts->NodeByKey(QStringLiteral("OTHERSCRIPTS"));
        for (int i = 0; other != nullptr && i < other->childCount(); ++i) {
            out << other->child(i)->data(0, Qt::UserRole).toString();
        }
        return out;
    }

    // A node clicked as the user clicks it.
    void click(const QString& key) {
        QTreeWidgetItem* node = pane->treeScripts->NodeByKey(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        pane->treeScripts->setCurrentItem(node);
        pane->treeScripts_NodeClick(node);
    }
    void tickEdit(bool on = true) {
        pane->chkScriptEdit->setChecked(on);
        pane->chkScriptEdit_Click();
    }
    // Types at the end of the document, as the user does in edit mode.
    void typeAtEnd(const QString& text) {
        focusView();
        ASSERT_TRUE(ScriptViewDriver::CaretAtEnd(pane->wbScripts));
        type(text);
    }
    // The view shown and focused, its document loaded.
    void focusView() {
        if (!host->isVisible()) {
            ShowActive(*host);
        }
        ASSERT_TRUE(ScriptViewDriver::Settled(pane->wbScripts));
        ScriptViewDriver::Focus(pane->wbScripts);
    }
    // Key presses for each character into the shown window; in edit mode, until the pane
    // has heard of the change.
    void type(const QString& text) {
        focusView();
        ScriptViewDriver::Type(pane->wbScripts, text);
        if (pane->wbScripts->EditMode() && pane->ScriptEditable()) {
            WaitFor([&] { return pane->ScriptChanged(); }, 5000);
        }
    }
    bool enabled(const char* key) const {
        QAction* a = pane->ToolButton(QLatin1String(key));
        return a != nullptr && a->isEnabled();
    }
    QString plain() const { return ScriptViewDriver::Shown(pane->wbScripts); }

    // The name box answered with a name ("" cancels).
    static void answerName(const QString& name) {
        TestDialogs().queue([name](QDialog& d) {
            if (name.isNull()) {
                d.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
                return;
            }
            d.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(name);
            d.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        });
    }
    static QStringList boxTexts() {
        QStringList out;
        for (const MessageBoxRequest& r : TestMessageBoxes().shown()) {
            out << r.text;
        }
        return out;
    }

    QString scripts;
    QString personal;
    cOCSettings settings;
    ScriptsPane::User user;
    bool canCreate = false;
    std::unique_ptr<QWidget> host;
    ScriptsPane* pane = nullptr;
};
