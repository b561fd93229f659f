// A contacts list over a directory of a dozen pages: it reads only the pages it shows, whatever
// the user does to reach a row, and its rows are exactly the directory's lists.
#include "platform/directory/directoryfixture.h"

#include "platform/directory/contactfilter.h"
#include "platform/directory/contactlisting.h"
#include "platform/directory/contactstore.h"
#include "platform/directory/controls/contactlistmodel.h"
#include "platform/directory/controls/ucontactslist.h"
#include "support/scripteddialogs.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>

namespace {
constexpr int kContacts = 3000;

QString lineOf(const ContactRecord& r) {
    return r.company.isEmpty() ? r.name : r.name + QStringLiteral(" (") + r.company + u')';
}

class ContactsListPagesTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        ensureAdmin();
        loginAs(admin);
        addListeners(kContacts);
        DirectoryStorage storage;
        ASSERT_EQ(storage.Open(KVDirectory::DefaultFilePath(), false, nullptr),
                  StorageOpenResult::Opened);
        ContactStore store(storage);
        for (const QString& odd :
             {QStringLiteral("Pat \"The Voice\" O'Neil"), QStringLiteral("Star*Name"),
              QStringLiteral("100% Pure_Radio")}) {
            ContactRecord r;
            r.name = odd;
            ASSERT_TRUE(store.Insert(r));
        }
        all = ContactStore(storage).All();
        ASSERT_EQ(all.size(), kContacts + 4);
    }

    // The list as a presenter sees it: shown, 300 pixels tall.
    void show(uContactsList& list) {
        list.resize(300, 300);
        list.SetDirectory(directory.get());
        ASSERT_TRUE(ShowActive(list));
        QApplication::processEvents();
    }

    // The rows the view shows, from the top of its viewport to the bottom.
    static QList<int> rowsInView(const QListView* view) {
        QList<int> rows;
        for (int y = 1; y < view->viewport()->height(); ++y) {
            const QModelIndex at = view->indexAt(QPoint(4, y));
            if (at.isValid() && (rows.isEmpty() || rows.back() != at.row())) {
                rows << at.row();
            }
        }
        return rows;
    }

    // What the view shows at its rows is what the directory's whole list has there.
    void expectShowsTheDirectoryRows(const uContactsList& list, const char* where) {
        const QList<int> rows = rowsInView(list.lstContacts());
        ASSERT_FALSE(rows.isEmpty()) << where;
        for (const int row : rows) {
            ASSERT_LT(row, all.size()) << where;
            EXPECT_EQ(list.Model()->index(row).data().toString(), lineOf(all[row]))
                << where << " row " << row;
        }
    }

    static bool inView(const QListView* view, const QModelIndex& index) {
        return index.isValid() && view->viewport()->rect().contains(view->visualRect(index));
    }

    QList<ContactRecord> all; // the directory's own list, admin first
};
} // namespace

TEST_F(ContactsListPagesTest, AShownListReadsOnlyThePagesItShowsWhereverItIsTaken) {
    uContactsList list;
    show(list);
    ContactListModel* model = list.Model();
    QListView* view = list.lstContacts();
    EXPECT_EQ(model->rowCount(), all.size());
    EXPECT_LE(model->PageReads(), 2);
    expectShowsTheDirectoryRows(list, "at the top");

    view->setFocus();
    int pages = model->PageReads();
    QTest::keyClick(view, Qt::Key_End);
    QApplication::processEvents();
    EXPECT_EQ(view->currentIndex().row(), all.size() - 1);
    EXPECT_EQ(view->currentIndex().data().toString(), lineOf(all.back()));
    EXPECT_TRUE(inView(view, view->currentIndex()));
    EXPECT_EQ(list.SelectedReference(), all.back().reference);
    expectShowsTheDirectoryRows(list, "at the end");
    EXPECT_EQ(model->PageReads(), pages + 1);

    pages = model->PageReads();
    view->verticalScrollBar()->setValue(1400);
    QApplication::processEvents();
    expectShowsTheDirectoryRows(list, "in the middle");
    EXPECT_EQ(model->PageReads(), pages + 1);

    // A contact of the last page, chosen from elsewhere.
    const ContactRecord& late = all[all.size() - 20];
    list.SetSelectedReference(late.reference);
    QApplication::processEvents();
    EXPECT_EQ(list.SelectedReference(), late.reference);
    EXPECT_EQ(view->currentIndex().row(), all.size() - 20);
    EXPECT_TRUE(inView(view, view->currentIndex()));
    EXPECT_EQ(view->currentIndex().data().toString(), lineOf(late));
}

TEST_F(ContactsListPagesTest, LettersTypedInTheListGoToTheFirstNameBeginningWithThem) {
    uContactsList list;
    list.SetDisplayNewContact(true);
    show(list);
    QListView* view = list.lstContacts();
    view->setFocus();
    ASSERT_TRUE(WaitFor([view] { return view->hasFocus(); }));
    const int pages = list.Model()->PageReads();
    QTest::keyClicks(view, QStringLiteral("Listener 2"));
    QApplication::processEvents();

    int first = -1;
    for (int i = 0; i < all.size() && first < 0; ++i) {
        if (all[i].name.startsWith(QStringLiteral("Listener 2"))) {
            first = i;
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_EQ(view->currentIndex().row(), first + 1); // below the new-contact row
    EXPECT_EQ(list.SelectedReference(), all[first].reference);
    EXPECT_TRUE(inView(view, view->currentIndex()));
    EXPECT_LE(list.Model()->PageReads(), pages + 2);

    // A letter no name begins with leaves the selection where it was.
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClicks(view, QStringLiteral("q"));
    EXPECT_EQ(list.SelectedReference(), all[first].reference);
}

TEST_F(ContactsListPagesTest, ASearchListsExactlyWhatFindContactsFindsOnEitherRoad) {
    struct Case {
        const char* term;
        qint32 types;
    };
    const Case cases[] = {
        {"3", -1},                         // one character: most of the directory
        {"r 1", -1},                       // three, through the index
        {"12", -1},                        // two
        {"wright", -1},                    // more than a page
        {"5 Wright", -1},                  // a name's words
        {"LISTENER 29", -1},               // any case
        {"zzz", -1},                       // nothing
        {"q", -1},                         // nothing, one letter
        {"\"The", -1},                     // a quote is a letter
        {"*", -1},                         // and so is a star
        {"%", -1},           {"Admin", 2}, // the users only
        {"Listener", 2},     {"", 2},
    };
    for (const Case& c : cases) {
        const QString term = QString::fromUtf8(c.term);
        QList<qint32> expected;
        if (term.isEmpty()) {
            for (const auto& u : directory->ListContacts(2)) {
                expected << u->Reference();
            }
        } else {
            for (const auto& found : directory->FindContacts(
                     {ContactCriterion{ContactField::Name, ContactMatch::Contains, term}})) {
                if (c.types != 2 || found->IsUser()) {
                    expected << found->Reference();
                }
            }
        }
        // Held as references, and walked through the name index from page to page.
        for (const qint64 heldMost : {ContactListing::kHeldMost, qint64(0)}) {
            ContactListModel model;
            model.SetListing(directory->Listing(c.types, term, heldMost), false);
            ASSERT_EQ(model.rowCount(), expected.size()) << c.term << " held " << heldMost;
            QList<qint32> listed;
            for (int row = 0; row < model.rowCount(); ++row) {
                listed << model.ReferenceAt(row);
            }
            EXPECT_EQ(listed, expected) << c.term << " held " << heldMost;
            EXPECT_EQ(model.PageReads(), (expected.size() + ContactListModel::kPageRows - 1) /
                                             ContactListModel::kPageRows)
                << c.term;
            // Found again by reference, the last first: counted from its key, not walked to.
            if (!expected.isEmpty()) {
                EXPECT_EQ(model.RowOf(expected.back()), expected.size() - 1) << c.term;
                EXPECT_EQ(model.RowOf(expected.front()), 0) << c.term;
            }
        }
    }

    // Typed in the search box of a shown list: no more than the pages in view are read.
    uContactsList list;
    show(list);
    list.txtSearch()->setFocus();
    for (const char* typed : {"w", "wr", "wri", "5 Wright"}) {
        list.txtSearch()->clear();
        const int pages = list.Model()->PageReads();
        const int counts = list.Model()->CountReads();
        QTest::keyClicks(list.txtSearch(), QString::fromUtf8(typed));
        QApplication::processEvents();
        EXPECT_LE(list.Model()->PageReads(), pages + 2) << typed;
        EXPECT_EQ(list.Model()->CountReads(), counts + 1) << typed;
        const auto found = directory->FindContacts({ContactCriterion{
            ContactField::Name, ContactMatch::Contains, QString::fromUtf8(typed)}});
        ASSERT_EQ(list.Model()->rowCount(), found.size()) << typed;
        EXPECT_EQ(list.Model()->ReferenceAt(0), found.front()->Reference()) << typed;
    }
}

TEST_F(ContactsListPagesTest, PagesReachedFromTheEndOrFromAKnownRowHoldTheDirectorysRows) {
    const int pages =
        int((all.size() + ContactListModel::kPageRows - 1) / ContactListModel::kPageRows);
    const int middle = int(all.size() / 2);
    // Each way a view reaches its rows without a neighbouring page: the last page first, a
    // contact found by reference and then its page, a page just beyond a row found that way,
    // a page between two known ones.
    const struct {
        const char* how;
        std::vector<int> rowsFirst;     // rows read in this order before the whole list is checked
        std::vector<qint32> foundFirst; // indexes into all, found by reference first
    } cases[] = {
        {"the end first", {int(all.size()) - 1, 0}, {}},
        {"a row found by reference", {middle}, {middle}},
        {"beyond a found row", {middle + 600, middle - 600}, {middle}},
        {"between found rows", {middle}, {100, int(all.size()) - 100}},
    };
    for (const auto& c : cases) {
        ContactListModel model;
        model.SetListing(directory->Listing(-1, QString()), false);
        ASSERT_EQ(model.rowCount(), all.size()) << c.how;
        for (const qint32 at : c.foundFirst) {
            EXPECT_EQ(model.RowOf(all[at].reference), at) << c.how;
        }
        for (const int row : c.rowsFirst) {
            EXPECT_EQ(model.ReferenceAt(row), all[row].reference) << c.how << " row " << row;
        }
        for (int row = 0; row < model.rowCount(); ++row) {
            ASSERT_EQ(model.ReferenceAt(row), all[row].reference) << c.how << " row " << row;
            ASSERT_EQ(model.index(row).data().toString(), lineOf(all[row])) << c.how;
        }
        EXPECT_LE(model.PageReads(), pages + int(c.rowsFirst.size())) << c.how;
    }

    // The same over a search walked in the name index, from its end.
    const auto found = directory->FindContacts(
        {ContactCriterion{ContactField::Name, ContactMatch::Contains, QStringLiteral("wright")}});
    ContactListModel model;
    model.SetListing(directory->Listing(-1, QStringLiteral("wright"), 0), false);
    ASSERT_EQ(model.rowCount(), found.size());
    EXPECT_EQ(model.ReferenceAt(int(found.size()) - 1), found.back()->Reference());
    EXPECT_EQ(model.RowOf(found[found.size() / 2]->Reference()), found.size() / 2);
    for (int row = int(found.size()) - 1; row >= 0; --row) {
        ASSERT_EQ(model.ReferenceAt(row), found[row]->Reference()) << "row " << row;
    }
}
