#include "mainwindowfixture.h"

#include "platform/directory/controls/ucontact.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/ui/twips.h"
#include "platform/ui/uclockstrip.h"
#include "platform/ui/upanel3.h"
#include "platform/ui/usplitpanel.h"
#include "platform/web/uwebbrowser.h"
#include "scripts/scriptview.h"

#include <QApplication>
#include <QGroupBox>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>

namespace {
QRect pixels(const TwipsRect& p) {
    return p.toPixels();
}

struct TabCase {
    const char* name;
    std::function<uPanel3*(frmMain&)> button;
    std::function<uSplitPanel*(frmMain&)> splitter;
    std::function<QList<QWidget*>(frmMain&)> first;
    std::function<QList<QWidget*>(frmMain&)> second;
};

QList<QWidget*> widgets(std::initializer_list<QWidget*> list) {
    return QList<QWidget*>(list);
}

const TabCase kTabs[] = {
    {"contacts", [](frmMain& w) { return w.optContacts; },
     [](frmMain& w) { return w.splitContacts; },
     [](frmMain& w) { return widgets({w.ctlContacts}); },
     [](frmMain& w) {
         return widgets({w.ctlContact, w.cmdOpenContact, w.cmdNewContact, w.pnlContactButtonsSep,
                         w.cmdRecentContacts, w.cmdAddContactToRecent});
     }},
    {"prizes", [](frmMain& w) { return w.optPrize; }, [](frmMain& w) { return w.splitPrize; },
     [](frmMain& w) { return widgets({w.ctlPrizes}); },
     [](frmMain& w) {
         return widgets({w.ctlPrize, w.cmdOpenPrize});
     }},
    {"scripts", [](frmMain& w) { return w.optScripts; }, [](frmMain& w) { return w.splitScripts; },
     [](frmMain& w) {
         return widgets({w.treeScripts, w.cmdNewScript});
     },
     [](frmMain& w) {
         return widgets({w.toolScripts, w.wbScripts, w.cmdScriptUp, w.chkScriptAutoScroll,
                         w.chkScriptEdit, w.cmdScriptDown});
     }},
    {"web", [](frmMain& w) { return w.optWeb; }, [](frmMain& w) { return w.splitWebsites; },
     [](frmMain& w) { return widgets({w.ctlWebsites}); },
     [](frmMain& w) { return widgets({w.ctlWebsite}); }},
    {"messages", [](frmMain& w) { return w.optMessages; },
     [](frmMain& w) { return w.splitMessages; },
     [](frmMain& w) { return widgets({w.ctlMessages}); },
     [](frmMain& w) {
         return widgets({w.toolbarMessages, w.ctlMessageBrowser});
     }},
};

void expectApart(const QList<QWidget*>& list) {
    for (qsizetype i = 0; i < list.size(); ++i) {
        for (qsizetype j = i + 1; j < list.size(); ++j) {
            EXPECT_FALSE(list[i]->geometry().intersects(list[j]->geometry()))
                << list[i]->objectName().toStdString() << " overlaps "
                << list[j]->objectName().toStdString();
        }
    }
}

void expectInside(const QList<QWidget*>& list, const QRect& area) {
    for (QWidget* w : list) {
        EXPECT_TRUE(area.contains(w->geometry()))
            << w->objectName().toStdString() << " lies outside its area";
        EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    }
}

using MainWindowPanes = MainWindowFixture;

// A studio laptop's window: every pane's controls inside the pane and apart, on each tab.
// With ORLIX_SCREENSHOTS set, each tab is also saved as a picture in that folder.
TEST_F(MainWindowPanes, EachTabLaysItsControlsInsideTheirPanesAndApart) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();

    const QRect client = w.centralWidget()->rect();
    expectInside(widgets({w.pnlClock, w.picPanes, w.pnlTalkback}), client);
    expectApart(widgets({w.pnlClock, w.picPanes, w.pnlTalkback}));
    const QList<QWidget*> strip =
        widgets({w.optContacts, w.optPrize, w.optScripts, w.optWeb, w.optMessages, w.chkTalkback});
    expectInside(strip, w.pnlClock->rect());
    expectApart(strip);

    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    for (const TabCase& tab : kTabs) {
        SCOPED_TRACE(tab.name);
        uPanel3* button = tab.button(w);
        button->SetValue(1);
        Q_EMIT button->Click();
        QApplication::processEvents();
        uSplitPanel* splitter = tab.splitter(w);
        EXPECT_FALSE(splitter->isHidden());
        EXPECT_EQ(splitter->geometry(), w.picPanes->rect());
        const QList<QWidget*> first = tab.first(w);
        const QList<QWidget*> second = tab.second(w);
        expectInside(first, pixels(splitter->FirstPaneRect()));
        expectInside(second, pixels(splitter->SecondPaneRect()));
        expectApart(first + second);
        if (!shots.isEmpty()) {
            w.grab().save(shots + QLatin1Char('/') + QLatin1String(tab.name) +
                          QStringLiteral(".png"));
        }
    }
}

TEST_F(MainWindowPanes, TheTalkbackToggleWidensThePaneArea) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    QApplication::processEvents();
    const int clientWidth = w.centralWidget()->width();
    EXPECT_EQ(w.picPanes->geometry().right() + 1, w.pnlTalkback->x() - TwipsToPixels(60));

    w.chkTalkback->SetValue(0);
    w.chkTalkback_Click();
    EXPECT_TRUE(w.pnlTalkback->isHidden());
    EXPECT_EQ(w.picPanes->geometry().right() + 1, clientWidth - TwipsToPixels(60));
    EXPECT_EQ(w.pnlTalkback->width(), TwipsToPixels(3495));
}

TEST_F(MainWindowPanes, TheKeyboardPanelAndItsShowBarBoundTheMiddleBand) {
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    w.mnuViewVorelaKeyboard->setChecked(true);
    w.Form_Resize();
    EXPECT_FALSE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_EQ(w.picPanes->geometry().bottom() + 1 + TwipsToPixels(60),
              w.playoutPanel->pnlVorelaKeyboard->y());

    QApplication::processEvents();
    QTest::mouseClick(w.playoutPanel->pnlVorelaHide, Qt::LeftButton);
    EXPECT_TRUE(w.VorelaPanelHidden());
    EXPECT_TRUE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_FALSE(w.playoutPanel->cmdShowVorelaKeyboard->isHidden());
    EXPECT_EQ(w.picPanes->geometry().bottom() + 1 + TwipsToPixels(60),
              w.playoutPanel->cmdShowVorelaKeyboard->y());
    // A change of height alone moves the show bar with the window's bottom.
    w.resize(1280, 700);
    QApplication::processEvents();
    EXPECT_EQ(w.playoutPanel->cmdShowVorelaKeyboard->geometry().bottom() + 1 + TwipsToPixels(60),
              w.centralWidget()->height());

    QTest::mouseClick(w.playoutPanel->cmdShowVorelaKeyboard, Qt::LeftButton);
    EXPECT_FALSE(w.VorelaPanelHidden());
    EXPECT_FALSE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_TRUE(w.playoutPanel->cmdShowVorelaKeyboard->isHidden());

    w.mnuViewVorelaKeyboard->setChecked(false);
    w.Form_Resize();
    EXPECT_TRUE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_TRUE(w.playoutPanel->cmdShowVorelaKeyboard->isHidden());
    EXPECT_EQ(w.picPanes->geometry().bottom() + 1 + TwipsToPixels(60), w.centralWidget()->height());
}

TEST_F(MainWindowPanes, DraggingOverTheScriptsTabSelectsIt) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    w.optScripts_DragOver(2);
    EXPECT_EQ(w.optScripts->Value(), 0);
    w.optScripts_DragOver(1);
    EXPECT_EQ(w.optScripts->Value(), 1);
    EXPECT_EQ(w.optContacts->Value(), 0);
    EXPECT_FALSE(w.splitScripts->isHidden());
}

TEST_F(MainWindowPanes, ATinyWindowLaysOutWithoutNegativeSizes) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    w.show();
    w.resize(120, 90);
    QApplication::processEvents();
    // Every control the window places (the controls' own insides are theirs).
    const QList<QWidget*> areas = {
        w.centralWidget(), w.pnlClock,      w.picPanes,      w.splitContacts, w.splitPrize,
        w.splitScripts,    w.splitWebsites, w.splitMessages, w.pnlTalkback,   w.pnlTalkbackInner};
    for (QWidget* area : areas) {
        for (QWidget* c : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_GE(c->width(), 0) << c->objectName().toStdString();
            EXPECT_GE(c->height(), 0) << c->objectName().toStdString();
        }
    }
}
} // namespace
