#include "chooserfixture.h"
#include "core/dialogs/frmchoosecontact.h"
#include "dialogtestkit.h"
#include "platform/directory/controls/contactlistmodel.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/system/graphicsrenderer.h"
#include "platform/system/renderer.h"
#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <functional>

namespace {
frmChooseContact& Chooser(QDialog& d) {
    return *qobject_cast<frmChooseContact*>(&d);
}

void DoubleClick(uContactsList* list, const QModelIndex& item) {
    ASSERT_TRUE(item.isValid());
    QListView* view = list->lstContacts();
    const QPoint at = view->visualRect(item).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

class ChooseContactTest : public ChooserFixture {
protected:
    void SetUp() override {
        ChooserFixture::SetUp();
        ann = save(QStringLiteral("Ann Smith"), QStringLiteral("Acme Ltd"));
        bob = save(QStringLiteral("Bob Jones"));
    }

    qint32 Choose(ScriptedDialogs::Action action, qint32 types = -1, bool allowAddNew = false,
                  const QString& search = {}) {
        TestDialogs().queue(std::move(action));
        return frmChooseContact::ChooseContact(directory.get(), &owner, types, allowAddNew, search);
    }

    void Select(QDialog& d, const KVDirectory::ContactPtr& c) {
        uContactsList* list = Chooser(d).ctlContacts();
        const QModelIndex item = list->ItemOf(c->Reference());
        ASSERT_TRUE(item.isValid());
        QListView* view = list->lstContacts();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
        ASSERT_EQ(list->SelectedReference(), c->Reference());
    }

    KVDirectory::ContactPtr ann, bob;
    QWidget owner;
};
} // namespace

TEST_F(ChooseContactTest, OkReturnsTheSelectedContactFromAModalDialogOverItsOwner) {
    const qint32 r = Choose([this](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Choose Contact"));
        EXPECT_EQ(d.palette().color(QPalette::Window), GraphicsRenderer().WindowBackColour());
        EXPECT_FALSE(Chooser(d).ctlContacts()->AutoUpdate());
        EXPECT_EQ(Chooser(d).ctlContacts()->lstContacts()->model()->rowCount(), 3); // the admin too
        Select(d, bob);
        Click(Chooser(d).cmdOK());
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(r, bob->Reference());
    ASSERT_EQ(TestDialogs().shown().size(), 1U);
    EXPECT_EQ(TestDialogs().shown()[0].className, QStringLiteral("frmChooseContact"));
    EXPECT_TRUE(TestDialogs().shown()[0].modal);
    EXPECT_EQ(TestDialogs().shown()[0].owner, &owner);
}

TEST_F(ChooseContactTest, CancelEscAndTheCloseBoxReturnNothingWhateverIsSelected) {
    const struct {
        const char* name;
        std::function<void(QDialog&)> leave;
    } ways[] = {
        {"Cancel", [](QDialog& d) { Click(Chooser(d).cmdCancel()); }},
        {"Esc in the list",
         [](QDialog& d) {
             Chooser(d).ctlContacts()->lstContacts()->setFocus();
             Press(Qt::Key_Escape);
         }},
        {"Esc in the search box",
         [](QDialog& d) {
             Chooser(d).ctlContacts()->txtSearch()->setFocus();
             Press(Qt::Key_Escape);
         }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    for (const auto& way : ways) {
        const qint32 r = Choose([&](QDialog& d) {
            Select(d, ann);
            way.leave(d);
            EXPECT_FALSE(d.isVisible()) << way.name;
        });
        EXPECT_EQ(r, 0) << way.name;
    }
}

TEST_F(ChooseContactTest, OkWithNothingSelectedReturnsNothing) {
    EXPECT_EQ(Choose([](QDialog& d) { Click(Chooser(d).cmdOK()); }), 0);
}

TEST_F(ChooseContactTest, DoubleClickOrEnterOnAContactReturnsItAtOnce) {
    const struct {
        const char* name;
        std::function<void(uContactsList*, const QModelIndex&)> choose;
    } ways[] = {
        {"double-click",
         [](uContactsList* list, const QModelIndex& item) { DoubleClick(list, item); }},
        {"Enter",
         [](uContactsList* list, const QModelIndex& item) {
             list->lstContacts()->setFocus();
             list->lstContacts()->setCurrentIndex(item);
             Press(Qt::Key_Return);
         }},
    };
    for (const auto& way : ways) {
        const qint32 r = Choose([&](QDialog& d) {
            uContactsList* list = Chooser(d).ctlContacts();
            way.choose(list, list->ItemOf(ann->Reference()));
            EXPECT_FALSE(d.isVisible()) << way.name;
        });
        EXPECT_EQ(r, ann->Reference()) << way.name;
    }
}

TEST_F(ChooseContactTest, TheKeyboardAloneSearchesPicksAndConfirms) {
    const qint32 r = Choose([this](QDialog& d) {
        frmChooseContact& c = Chooser(d);
        EXPECT_EQ(Focused(), c.ctlContacts()->txtSearch());
        Type(QStringLiteral("jones"));
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), c.ctlContacts()->lstContacts());
        Press(Qt::Key_Down);
        EXPECT_EQ(c.ctlContacts()->SelectedReference(), bob->Reference());
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), c.cmdOK());
        Press(Qt::Key_Tab);
        EXPECT_EQ(Focused(), c.cmdCancel());
        Press(Qt::Key_Backtab);
        Press(Qt::Key_Space);
    });
    EXPECT_EQ(r, bob->Reference());
}

TEST_F(ChooseContactTest, TheSearchStringIsTrimmedAndABlankOneSetsNoSearch) {
    const struct {
        const char* search;
        QString text;
        int listed;
    } cases[] = {
        {"   ", QString(), 3},
        {"  smith ", QStringLiteral("smith"), 1},
        {"", QString(), 3},
    };
    for (const auto& c : cases) {
        Choose(
            [&c](QDialog& d) {
                EXPECT_EQ(Chooser(d).ctlContacts()->SearchText(), c.text) << c.search;
                EXPECT_EQ(Chooser(d).ctlContacts()->lstContacts()->model()->rowCount(), c.listed)
                    << c.search;
            },
            -1, false, QString::fromLatin1(c.search));
    }
}

TEST_F(ChooseContactTest, ShowContactTypesChoosesWhoIsListed) {
    Choose(
        [](QDialog& d) {
            EXPECT_EQ(Chooser(d).ctlContacts()->ContactTypes(), 2);
            EXPECT_EQ(Chooser(d).ctlContacts()->lstContacts()->model()->rowCount(), 1); // the admin
        },
        2);
}

TEST_F(ChooseContactTest, ANewContactSavedInItsWindowIsSelectedAndReturned) {
    onOpen = [this](const KVDirectory::ContactPtr& c) {
        c->SetName(QStringLiteral("Cat New"));
        bool ok = false;
        directory->SaveContact(0, c, true, true, ok);
        ASSERT_TRUE(ok);
    };
    const qint32 r = Choose(
        [this](QDialog& d) {
            uContactsList* list = Chooser(d).ctlContacts();
            DoubleClick(list, list->NewContactItem());
            EXPECT_TRUE(d.isVisible()); // the user still confirms
            EXPECT_EQ(list->SelectedReference(), opened.at(0).reference);
            Click(Chooser(d).cmdOK());
        },
        -1, true, QStringLiteral("Bob"));
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].modal, 1);
    EXPECT_GT(r, 0);
    EXPECT_EQ(r, directory->FindContacts(QStringLiteral("[Name]=\"Cat New\""))[0]->Reference());
}

TEST_F(ChooseContactTest, ANewContactClosedUnsavedLeavesTheSelectionAlone) {
    const qint32 r = Choose(
        [this](QDialog& d) {
            uContactsList* list = Chooser(d).ctlContacts();
            Select(d, ann);
            DoubleClick(list, list->NewContactItem());
            EXPECT_EQ(opened.size(), 1U);
            EXPECT_EQ(list->SelectedReference(), ann->Reference());
            Click(Chooser(d).cmdOK());
        },
        -1, true);
    EXPECT_EQ(r, ann->Reference());
}

TEST_F(ChooseContactTest, NoNewContactEntryUnlessAllowed) {
    for (const bool allow : {false, true}) {
        Choose(
            [allow](QDialog& d) {
                EXPECT_EQ(Chooser(d).ctlContacts()->NewContactItem().isValid(), allow);
            },
            -1, allow);
    }
}

TEST_F(ChooseContactTest, ComingBackToTheDialogReloadsTheList) {
    Choose([this](QDialog& d) {
        uContactsList* list = Chooser(d).ctlContacts();
        EXPECT_EQ(list->lstContacts()->model()->rowCount(), 3);
        const auto later = save(QStringLiteral("Cat Later"));
        QWidget elsewhere;
        ASSERT_TRUE(ShowActive(elsewhere));
        d.activateWindow();
        ASSERT_TRUE(WaitFor([&d] { return QApplication::activeWindow() == &d; }));
        EXPECT_TRUE(list->ItemOf(later->Reference()).isValid());
    });
}

// Over a directory of a dozen pages: the opening reads a count and the pages shown, each
// coming back one count more.
TEST_F(ChooseContactTest, OpeningAndComingBackReadACountAndThePagesShownEach) {
    addListeners(3000);
    Choose([](QDialog& d) {
        const ContactListModel* model = Chooser(d).ctlContacts()->Model();
        QApplication::processEvents();
        EXPECT_EQ(model->rowCount(), 3003);
        EXPECT_EQ(model->CountReads(), 1);
        EXPECT_LE(model->PageReads(), 2);
        for (int i = 1; i <= 2; ++i) {
            QWidget elsewhere;
            ASSERT_TRUE(ShowActive(elsewhere));
            d.activateWindow();
            ASSERT_TRUE(WaitFor([&d] { return QApplication::activeWindow() == &d; }));
            QApplication::processEvents();
            EXPECT_EQ(model->CountReads(), 1 + i);
            EXPECT_LE(model->PageReads(), 2 + 2 * i);
        }
        Click(Chooser(d).cmdCancel());
    });
}
