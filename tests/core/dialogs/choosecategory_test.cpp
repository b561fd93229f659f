#include "core/dialogs/frmchoosecategorytree.h"

#include "platform/messagesdb/folderdraft.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/ui/twips.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {
OrlixCategoryTree folders() {
    return OrlixCategoryTree({{1, 0, QStringLiteral("Orlix"), 0},
                              {3, 1, QStringLiteral("Inbox"), 1},
                              {6, 1, QStringLiteral("Drafts"), 2},
                              {2, 1, QStringLiteral("Outbox"), 3},
                              {7, 3, QStringLiteral("Competitions"), 1}});
}

frmChooseCategoryTree& form(QDialog& d) {
    return dynamic_cast<frmChooseCategoryTree&>(d);
}

struct Seen {
    QString caption;
    QString selected;
};

qint16 choose(qint16 initial, const QString& caption,
              std::function<void(frmChooseCategoryTree&)> act, Seen* seen = nullptr) {
    TestDialogs().queue([act, seen](QDialog& d) {
        frmChooseCategoryTree& f = form(d);
        if (seen != nullptr) {
            seen->caption = f.windowTitle();
            QTreeWidgetItem* item = f.treeCategories->currentItem();
            seen->selected = item != nullptr ? item->text(0) : QString();
        }
        act(f);
    });
    const OrlixCategoryTree tree = folders();
    return frmChooseCategoryTree::ChooseCategory(&tree, false, initial, caption, nullptr);
}

TEST(ChooseCategory, NoFolderTreeShowsNothing) {
    EXPECT_EQ(frmChooseCategoryTree::ChooseCategory(nullptr, false, 3, QString(), nullptr), 0);
    EXPECT_TRUE(TestDialogs().shown().empty());
}

TEST(ChooseCategory, OpensOnTheFolderShownAndGivesTheChosenOne) {
    Seen seen;
    EXPECT_EQ(choose(
                  7, QString(), [](frmChooseCategoryTree& f) { f.cmdOK->click(); }, &seen),
              7);
    EXPECT_EQ(seen.caption, QStringLiteral("Choose Category"));
    EXPECT_EQ(seen.selected, QStringLiteral("Competitions"));
    ASSERT_EQ(TestDialogs().shown().size(), 1U);
    EXPECT_TRUE(TestDialogs().shown()[0].modal);

    EXPECT_EQ(choose(
                  3, QStringLiteral("Move To"),
                  [](frmChooseCategoryTree& f) {
                      f.treeCategories->setFocus();
                      QTest::keyClick(f.treeCategories, Qt::Key_Down); // to the next folder
                      QTest::keyClick(&f, Qt::Key_Return);
                  },
                  &seen),
              7);
    EXPECT_EQ(seen.caption, QStringLiteral("Move To"));
}

TEST(ChooseCategory, OkWithoutAFolderWarnsAndStaysOpen) {
    bool stillOpen = false;
    EXPECT_EQ(choose(99, QString(),
                     [&stillOpen](frmChooseCategoryTree& f) {
                         f.cmdOK->click();
                         stillOpen = f.isVisible();
                         f.cmdCancel->click();
                     }),
              0);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("You must select a Category before you can continue!"));
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
}

TEST(ChooseCategory, CancelEscAndTheCloseBoxGiveNothingEvenWithAFolderSelected) {
    const std::vector<std::function<void(frmChooseCategoryTree&)>> ways = {
        [](frmChooseCategoryTree& f) { f.cmdCancel->click(); },
        [](frmChooseCategoryTree& f) { QTest::keyClick(&f, Qt::Key_Escape); },
        [](frmChooseCategoryTree& f) { f.close(); },
    };
    for (const auto& way : ways) {
        EXPECT_EQ(choose(3, QString(), way), 0);
    }
}

TEST(frmChooseCategoryTree, StaysWithinItsSizeLimitsWithTheButtonsBottomRight) {
    frmChooseCategoryTree f;
    f.show();
    f.resize(TwipsToPixels(1000), TwipsToPixels(1000));
    EXPECT_GE(f.width(), TwipsToPixels(3000));
    EXPECT_GE(f.height(), TwipsToPixels(4000));
    f.resize(TwipsToPixels(20000), TwipsToPixels(20000));
    EXPECT_LE(f.width(), TwipsToPixels(10000));
    f.resize(TwipsToPixels(6000), TwipsToPixels(6000));
    const QRect cancel = f.cmdCancel->geometry();
    const QRect ok = f.cmdOK->geometry();
    EXPECT_NEAR(f.width() - cancel.right() - 1, TwipsToPixels(180), 1);
    EXPECT_NEAR(f.height() - cancel.bottom() - 1, TwipsToPixels(120), 1);
    EXPECT_NEAR(cancel.left() - ok.right() - 1, TwipsToPixels(120), 1);
    EXPECT_EQ(ok.top(), cancel.top());
    const QRect tree = f.treeCategories->geometry();
    EXPECT_NEAR(f.width() - tree.right() - 1, tree.left(), 1); // equal margins
    EXPECT_NEAR(ok.top() - tree.bottom() - 1, TwipsToPixels(120), 1);
}
} // namespace

namespace {
// A folder the station added in the database settings is offered at the next choice.
TEST(ChooseCategory, OffersAFolderAddedInTheDatabaseSettings) {
    const QString folder = TestHome() + QStringLiteral("/Messages");
    QDir().mkpath(folder);
    OrlixDatabase db;
    db.SetChangeWatch(0, 0);
    ASSERT_EQ(db.OpenDatabase(folder, QString()), 0);
    FolderDraft draft(db.CategoryTree()->Folders());
    ASSERT_EQ(draft.Add(OrlixDatabase::kInboxFolder, QStringLiteral("Requests")), QString());
    QString problem;
    ASSERT_TRUE(db.StoreDatabaseSettings({}, draft.Folders(), &problem)) << problem.toStdString();

    QStringList offered;
    TestDialogs().queue([&offered](QDialog& d) {
        frmChooseCategoryTree& f = form(d);
        for (QTreeWidgetItemIterator it(f.treeCategories); *it != nullptr; ++it) {
            offered << (*it)->text(0);
            if ((*it)->text(0) == QStringLiteral("Requests")) {
                f.treeCategories->setCurrentItem(*it);
            }
        }
        f.cmdOK->click();
    });
    const qint16 chosen = frmChooseCategoryTree::ChooseCategory(db.CategoryTree().get(), false, 0,
                                                                QString(), nullptr);
    EXPECT_TRUE(offered.contains(QStringLiteral("Requests"))) << offered.join(',').toStdString();
    EXPECT_EQ(db.CategoryTree()->FolderName(chosen), QStringLiteral("Requests"));
}
} // namespace
