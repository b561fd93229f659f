#include "messagesdbfixture.h"

#include "platform/messagesdb/controls/databasesettingsdialog.h"
#include "platform/messagesdb/folderdraft.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/stationrules.h"
#include "platform/messagesdb/templatedraft.h"
#include "platform/system/desktopopener.h"
#include "platform/system/registrystore.h"
#include "support/readonlyfolder.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/waitfor.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>

namespace {
using Folder = OrlixCategoryTree::Folder;

// The tree of a new database, with the station's own Archive (5) and a folder below it.
QVector<Folder> newTree() {
    return {{1, 0, QStringLiteral("Messages"), 0},    {3, 1, QStringLiteral("Inbox"), 1},
            {6, 1, QStringLiteral("Drafts"), 2},      {2, 1, QStringLiteral("Outbox"), 3},
            {4, 1, QStringLiteral("Sent Items"), 4},  {5, 1, QStringLiteral("Archive"), 5},
            {7, 5, QStringLiteral("Competitions"), 0}};
}

QStringList childNames(const FolderDraft& draft, qint32 parent) {
    QStringList names;
    for (qint32 child : draft.Children(parent)) {
        names << draft.Find(child)->Name;
    }
    return names;
}

TEST(FolderDraftTest, ChangesAndRefusals) {
    // Messages stored per folder, as the database would count them.
    const QHash<qint32, qint64> held{{7, 2}, {3, 1}};
    const auto counter = [&](const QVector<qint32>& folders) {
        qint64 n = 0;
        for (qint32 f : folders) {
            n += held.value(f);
        }
        return n;
    };
    struct Case {
        const char* what;
        std::function<QString(FolderDraft&)> change;
        QString refusal; // "" when the change is made
        qint32 parent;   // whose children to look at afterwards
        QStringList children;
    };
    const QStringList top{"Inbox", "Drafts", "Outbox", "Sent Items", "Archive"};
    const Case cases[] = {
        {"add under the top",
         [](FolderDraft& d) { return d.Add(1, QStringLiteral("  Requests ")); }, "", 1,
         top + QStringList{"Requests"}},
        {"add under a program folder",
         [](FolderDraft& d) { return d.Add(3, QStringLiteral("Phone-in")); },
         "",
         3,
         {"Phone-in"}},
        {"rename a program folder",
         [](FolderDraft& d) { return d.Rename(3, QStringLiteral("Received")); },
         "",
         1,
         {"Received", "Drafts", "Outbox", "Sent Items", "Archive"}},
        {"rename to its own name in another case",
         [](FolderDraft& d) { return d.Rename(5, QStringLiteral("ARCHIVE")); },
         "",
         1,
         {"Inbox", "Drafts", "Outbox", "Sent Items", "ARCHIVE"}},
        {"move up past a program folder",
         [](FolderDraft& d) { return d.Move(5, -1); },
         "",
         1,
         {"Inbox", "Drafts", "Outbox", "Archive", "Sent Items"}},
        {"move down at the end", [](FolderDraft& d) { return d.Move(5, 1); }, "", 1, top},
        {"remove an empty folder",
         [](FolderDraft& d) { return d.Remove(5, nullptr); },
         "",
         1,
         {"Inbox", "Drafts", "Outbox", "Sent Items"}},
        {"duplicate in another case",
         [](FolderDraft& d) { return d.Add(1, QStringLiteral("inbox")); },
         "There is already a folder called 'Inbox' in 'Messages'.", 1, top},
        {"rename onto a sibling",
         [](FolderDraft& d) { return d.Rename(5, QStringLiteral("Drafts")); },
         "There is already a folder called 'Drafts' in 'Messages'.", 1, top},
        {"blank name", [](FolderDraft& d) { return d.Add(1, QStringLiteral("   ")); },
         "A folder needs a name.", 1, top},
        {"too long", [](FolderDraft& d) { return d.Add(1, QString(65, QLatin1Char('x'))); },
         "A folder name can be at most 64 characters long.", 1, top},
        {"remove a program folder", [&](FolderDraft& d) { return d.Remove(2, counter); },
         "The folder 'Outbox' belongs to the program and cannot be removed.", 1, top},
        {"move a program folder", [](FolderDraft& d) { return d.Move(3, 1); },
         "The folder 'Inbox' belongs to the program and cannot be moved.", 1, top},
        {"remove one whose sub-folder holds messages",
         [&](FolderDraft& d) { return d.Remove(5, counter); },
         "The folder 'Archive' cannot be removed: it and its sub-folders hold 2 messages.", 1, top},
        {"remove one holding one message",
         [&](FolderDraft& d) { return d.Remove(7, [](const QVector<qint32>&) { return 1; }); },
         "The folder 'Competitions' cannot be removed: it and its sub-folders hold 1 message.",
         5,
         {"Competitions"}},
        {"add under no folder", [](FolderDraft& d) { return d.Add(99, QStringLiteral("x")); },
         "Choose the folder to add the new folder to.", 1, top},
    };
    for (const Case& c : cases) {
        FolderDraft draft(newTree());
        EXPECT_EQ(c.change(draft), c.refusal) << c.what;
        EXPECT_EQ(childNames(draft, c.parent), c.children) << c.what;
    }
}

TEST(FolderDraftTest, NewFoldersNestAndGoWithTheirParent) {
    FolderDraft draft(newTree());
    qint32 shows = 0;
    qint32 quiz = 0;
    ASSERT_EQ(draft.Add(1, QStringLiteral("Shows"), &shows), QString());
    ASSERT_EQ(draft.Add(shows, QStringLiteral("Quiz"), &quiz), QString());
    EXPECT_LT(shows, 0);
    EXPECT_LT(quiz, 0);
    EXPECT_NE(shows, quiz);
    EXPECT_EQ(draft.Subtree(shows), (QVector<qint32>{shows, quiz}));
    // New folders hold no stored message: nothing is counted for them.
    bool counted = false;
    EXPECT_EQ(draft.Remove(shows,
                           [&](const QVector<qint32>&) {
                               counted = true;
                               return 5;
                           }),
              QString());
    EXPECT_FALSE(counted);
    EXPECT_EQ(draft.Find(quiz), nullptr);
}

TEST(StationRulesTest, SmsNumberRules) {
    const std::pair<const char*, bool> cases[] = {
        {"", true},     {"+44 7700 900123", true}, {" 07700900123 ", true}, {"+ 44", true},
        {"44+", false}, {"++44", false},           {"0770-900", false},     {"(0)7700", false},
        {"٣٤٥", false}, // other digits
    };
    for (const auto& [number, allowed] : cases) {
        EXPECT_EQ(StationRules::SmsNumberProblem(QString::fromUtf8(number)).isEmpty(), allowed)
            << number;
    }
}

class DatabaseSettingsTest : public MessagesDbTest {
protected:
    void SetUp() override {
        MessagesDbTest::SetUp();
        open();
    }
    template <typename W> static W* find(QWidget& dialog, const char* name) {
        auto* w = dialog.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QWidget& dialog, const char* name) {
        find<QPushButton>(dialog, name)->click();
    }
    static void select(QWidget& dialog, const QString& folder) {
        auto* tree = find<QTreeWidget>(dialog, "tvwFolders");
        const auto found = tree->findItems(folder, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1) << folder.toStdString();
        tree->setCurrentItem(found.first());
    }
    static void type(QWidget& dialog, const char* box, const QString& text) {
        find<QLineEdit>(dialog, box)->setText(text);
    }
    // Runs the dialog through the seam with the action as the user's part.
    int run(std::function<void(QDialog&)> action) {
        int result = -1;
        TestDialogs().queue([&](QDialog& d) {
            action(d);
            result = d.result();
        });
        db_->ShowDatabaseSettings(nullptr);
        return result;
    }
};

TEST_F(DatabaseSettingsTest, StationDetailsAreStoredTrimmedAndReadBack) {
    const int result = run([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Orlix Database Settings"));
        ASSERT_EQ(find<QTabWidget>(d, "tbsSettings")->currentIndex(), 0);
        type(d, "txtStationName", QStringLiteral("  Radio Kestova "));
        find<QPlainTextEdit>(d, "txtStationAddress")
            ->setPlainText(QStringLiteral("1 High Street\n\nTown  \n"));
        type(d, "txtStationPhone", QStringLiteral("01234 567890"));
        type(d, "txtStationSmsPhone", QStringLiteral(" +44 7700 900123"));
        type(d, "txtStationCompany", QStringLiteral("C123"));
        type(d, "txtStationVat", QStringLiteral("GB 123 4567 89"));
        click(d, "cmdOK");
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(db_->StationName(), QStringLiteral("Radio Kestova"));
    EXPECT_EQ(db_->StationAddressString(QStringLiteral(", ")),
              QStringLiteral("1 High Street, Town"));

    // Read afresh from the file, as another computer would.
    OrlixDatabase again;
    again.SetChangeWatch(0, 0);
    ASSERT_EQ(again.OpenDatabase(folder_, QString()), 0);
    EXPECT_EQ(again.StationName(), QStringLiteral("Radio Kestova"));
    EXPECT_EQ(again.StationAddress(), QStringLiteral("1 High Street\n\nTown"));
    EXPECT_EQ(again.StationPhoneNumber(), QStringLiteral("01234 567890"));
    EXPECT_EQ(again.StationSMSPhoneNumber(), QStringLiteral("+44 7700 900123"));
    EXPECT_EQ(again.StationCompanyNumber(), QStringLiteral("C123"));
    EXPECT_EQ(again.StationVATNumber(), QStringLiteral("GB 123 4567 89"));

    // The dialog shows what is stored.
    run([](QDialog& d) {
        EXPECT_EQ(find<QLineEdit>(d, "txtStationName")->text(), QStringLiteral("Radio Kestova"));
        EXPECT_EQ(find<QLineEdit>(d, "txtStationVat")->text(), QStringLiteral("GB 123 4567 89"));
        click(d, "cmdCancel");
    });
}

TEST_F(DatabaseSettingsTest, ARefusedSmsNumberAndCancelStoreNothing) {
    bool ok = false;
    db_->SetStationDetails({QStringLiteral("Studio"), {}, {}, QStringLiteral("123"), {}, {}}, ok);
    ASSERT_TRUE(ok);
    TestMessageBoxes().queue(MsgResult::OK);
    const int refused = run([](QDialog& d) {
        find<QTabWidget>(d, "tbsSettings")->setCurrentIndex(1);
        type(d, "txtStationName", QStringLiteral("Other"));
        type(d, "txtStationSmsPhone", QStringLiteral("12-34"));
        click(d, "cmdOK");
        EXPECT_EQ(find<QTabWidget>(d, "tbsSettings")->currentIndex(), 0);
        EXPECT_TRUE(d.isVisible() || d.result() != QDialog::Accepted);
        // The entries stay for the user to mend.
        EXPECT_EQ(find<QLineEdit>(d, "txtStationName")->text(), QStringLiteral("Other"));
        click(d, "cmdCancel");
    });
    EXPECT_EQ(refused, QDialog::Rejected);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("The SMS Phone Number may hold only digits, blanks and one "
                             "leading '+'."));
    EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);

    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);
    run([](QDialog& d) {
        type(d, "txtStationName", QStringLiteral("Other"));
        type(d, "txtFolderName", QStringLiteral("New"));
        click(d, "cmdAddFolder");
        d.reject(); // Esc
    });
    EXPECT_EQ(db_->StationName(), QStringLiteral("Studio"));
    EXPECT_EQ(db_->StationSMSPhoneNumber(), QStringLiteral("123"));
    EXPECT_EQ(db_->CategoryTree()->Folders().size(), 6);
    EXPECT_EQ(changed.count(), 0);
}

TEST_F(DatabaseSettingsTest, FoldersChangedInTheDialogAreStoredAndAnnouncedToOthers) {
    // Another computer watching the same file.
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_, QString()), 0);
    QSignalSpy otherChanged(&other, &OrlixDatabase::FoldersChanged);
    QSignalSpy changed(db_.get(), &OrlixDatabase::FoldersChanged);

    const int result = run([](QDialog& d) {
        select(d, QStringLiteral("Inbox"));
        EXPECT_EQ(find<QLineEdit>(d, "txtFolderName")->text(), QStringLiteral("Inbox"));
        type(d, "txtFolderName", QStringLiteral("Received"));
        click(d, "cmdRenameFolder");
        select(d, QStringLiteral("Messages"));
        type(d, "txtFolderName", QStringLiteral("Requests"));
        click(d, "cmdAddFolder");
        type(d, "txtFolderName", QStringLiteral("Birthdays"));
        click(d, "cmdAddFolder"); // under the new Requests, which is selected
        select(d, QStringLiteral("Archive"));
        click(d, "cmdRemoveFolder");
        select(d, QStringLiteral("Requests"));
        click(d, "cmdMoveUp");
        click(d, "cmdOK");
    });
    ASSERT_EQ(result, QDialog::Accepted) << log_.join('\n').toStdString();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    ASSERT_EQ(changed.count(), 1);

    const auto names = [](const OrlixCategoryTree& tree) {
        QStringList out;
        for (const auto& node : tree.Nodes(QStringLiteral("m"), false)) {
            out << node.Text;
        }
        return out;
    };
    const QStringList expected{"Received", "Drafts",    "Outbox",
                               "Requests", "Birthdays", "Sent Items"};
    EXPECT_EQ(names(*db_->CategoryTree()), expected);

    other.CheckForChanges();
    EXPECT_EQ(otherChanged.count(), 1);
    EXPECT_EQ(names(*other.CategoryTree()), expected);

    // A message can be filed in the new folder.
    qint32 requests = 0;
    for (const auto& f : db_->CategoryTree()->Folders()) {
        if (f.Name == QStringLiteral("Requests")) {
            requests = f.Reference;
        }
    }
    ASSERT_GT(requests, 6);
    const qint32 message =
        storeReceived(QStringLiteral("a request"), QDateTime::currentDateTimeUtc());
    bool ok = false;
    db_->MoveMessage(message, requests, ok);
    EXPECT_TRUE(ok);
}

TEST_F(DatabaseSettingsTest, AFolderHoldingMessagesIsNotRemoved) {
    const qint32 message =
        storeReceived(QStringLiteral("keep me"), QDateTime::currentDateTimeUtc());
    bool ok = false;
    db_->MoveMessage(message, 5, ok);
    ASSERT_TRUE(ok);
    TestMessageBoxes().queue(MsgResult::OK);
    run([](QDialog& d) {
        select(d, QStringLiteral("Archive"));
        click(d, "cmdRemoveFolder");
        click(d, "cmdOK");
    });
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("The folder 'Archive' cannot be removed: it and its sub-folders "
                             "hold 1 message."));
    EXPECT_TRUE(db_->CategoryTree()->Exists(5));
}

// A message filed elsewhere into a folder after the user removed it in the dialog, and a
// store that fails, keep the dialog open with its entries and store nothing.
TEST_F(DatabaseSettingsTest, AStoreThatFailsKeepsTheDialogAndItsEntries) {
    OrlixDatabase other;
    other.SetChangeWatch(0, 0);
    ASSERT_EQ(other.OpenDatabase(folder_, QString()), 0);
    TestMessageBoxes().queue(MsgResult::OK);
    const int result = run([&](QDialog& d) {
        type(d, "txtStationName", QStringLiteral("Changed"));
        select(d, QStringLiteral("Archive"));
        click(d, "cmdRemoveFolder");
        auto m = email(QStringLiteral("filed meanwhile"));
        m->SetFolder(5);
        bool ok = false;
        other.StoreMessage(*m, ok);
        ASSERT_TRUE(ok);
        click(d, "cmdOK");
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(find<QLineEdit>(d, "txtStationName")->text(), QStringLiteral("Changed"));
        click(d, "cmdCancel");
    });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("The folder 'Archive' now holds messages, so it was not removed; "
                             "nothing was stored."));
    EXPECT_EQ(db_->StationName(), QString());
    EXPECT_TRUE(db_->CategoryTree()->Exists(5));
}

TEST_F(DatabaseSettingsTest, NothingIsShownWithoutAnOpenDatabase) {
    bool closed = false;
    db_->CloseDatabase(closed);
    db_->ShowDatabaseSettings(nullptr); // no dialog queued: none may be shown
    EXPECT_TRUE(logged(QStringLiteral("the database settings were asked for")));
}

} // namespace

namespace {
// With ORLIX_SCREENSHOTS set, each tab is also saved as a picture in that folder.
TEST_F(DatabaseSettingsTest, EachTabDraws) {
    bool ok = false;
    db_->SetStationDetails({QStringLiteral("Radio Kestova"),
                            QStringLiteral("1 High Street\nTown"),
                            QStringLiteral("01234 567890"),
                            QStringLiteral("+44 7700 900123"),
                            {},
                            {}},
                           ok);
    ASSERT_TRUE(ok);
    DatabaseSettingsDialog dialog(*db_);
    dialog.resize(560, 420);
    ASSERT_TRUE(ShowActive(dialog));
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    auto* tabs = find<QTabWidget>(dialog, "tbsSettings");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QImage image = dialog.grab().toImage();
        EXPECT_FALSE(image.isNull());
        if (!shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QStringLiteral("/database-settings-") +
                                   tabs->tabText(i).toLower() + QStringLiteral(".png")));
        }
    }
}
} // namespace

namespace {
TEST(TemplateDraftTest, FileNamesNeverLeaveTheTemplatesFolder) {
    const std::pair<const char*, bool> cases[] = {
        {"Winners.htm", true},   {"Winners 2.html", true},
        {"logo.png", true},      {"", false},
        {"a/b.htm", false},      {"a\\b.htm", false},
        {"..htm", false},        {"x..y.htm", false},
        {".hidden.htm", false},  {"tab\tname.htm", false},
        {"bell\x07.htm", false}, {"rtl\u202Egnp.htm", false},
    };
    for (const auto& [name, allowed] : cases) {
        EXPECT_EQ(TemplateDraft::FileNameProblem(QString::fromUtf8(name)).isEmpty(), allowed)
            << name;
    }
}

class TemplatesTest : public DatabaseSettingsTest {
protected:
    // A file outside the templates folder for the user to choose.
    QString outside(const QString& name, const QByteArray& text) {
        const QString dir = TestHome() + QStringLiteral("/chosen");
        QDir().mkpath(dir);
        const QString path = dir + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    QString inFolder(const QString& name) const {
        return db_->TemplatesPath() + QLatin1Char('/') + name;
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }
    QStringList hiddenFiles() const {
        return QDir(db_->TemplatesPath())
            .entryList(QDir::Files | QDir::Hidden)
            .filter(QRegularExpression(QStringLiteral("^\\.")));
    }
    static void category(QDialog& d, const char* name) {
        auto* box = find<QComboBox>(d, "cboCategory");
        box->setCurrentIndex(box->findData(QLatin1String(name)));
    }
    static void pick(QDialog& d, const char* list, const QString& text) {
        auto* w = find<QListWidget>(d, list);
        const auto found = w->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text.toStdString();
        w->setCurrentItem(found.first());
    }
};

TEST_F(TemplatesTest, AddRenameAndRemoveAreStoredOnOkWithTheirFiles) {
    const QString chosen = outside(QStringLiteral("Big-Winners.htm"), "<OCP_STATION_NAME>");
    TestCommonDialogs().queueOpenFileName(chosen);
    TestMessageBoxes().queue(MsgResult::Yes); // removing "Message"
    const int result = run([](QDialog& d) {
        category(d, "PrintPrizeWinners");
        type(d, "txtTemplateName", QStringLiteral("Big winners"));
        click(d, "cmdAddTemplate");
        pick(d, "lstTemplates", QStringLiteral("Winners List"));
        type(d, "txtTemplateName", QStringLiteral("Small winners"));
        click(d, "cmdRenameTemplate");
        category(d, "PrintMessage");
        pick(d, "lstTemplates", QStringLiteral("Message"));
        click(d, "cmdRemoveTemplate");
        click(d, "cmdOK");
    });
    ASSERT_EQ(result, QDialog::Accepted) << log_.join('\n').toStdString();
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintPrizeWinners")),
              (QStringList{"Small winners", "Big winners"}));
    EXPECT_EQ(
        db_->GetTemplatePath(QStringLiteral("PrintPrizeWinners"), QStringLiteral("Big winners")),
        inFolder(QStringLiteral("Big-Winners.htm")));
    EXPECT_EQ(read(inFolder(QStringLiteral("Big-Winners.htm"))), "<OCP_STATION_NAME>");
    EXPECT_TRUE(db_->GetTemplateList(QStringLiteral("PrintMessage")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("Print-Message.htm"))));
    EXPECT_TRUE(QFileInfo::exists(chosen)) << "the chosen file is copied, not moved";
    EXPECT_TRUE(hiddenFiles().isEmpty()) << hiddenFiles().join(',').toStdString();
    const auto& asked = TestCommonDialogs().openRequests();
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_EQ(asked[0].title, QStringLiteral("Add a Template"));
}

TEST_F(TemplatesTest, CancelLeavesTheTemplatesAndTheirFolderAlone) {
    const QByteArray list = read(inFolder(QStringLiteral("Messages-List.htm")));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("New.htm"), "new"));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("List.htm"), "list"));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("logo.png"), "png"));
    run([](QDialog& d) {
        click(d, "cmdAddTemplate");
        click(d, "cmdReplaceListPage");
        click(d, "cmdAddGraphic");
        pick(d, "lstGraphics", QStringLiteral("email.svg"));
        click(d, "cmdRemoveGraphic");
        click(d, "cmdCancel");
    });
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintMessage")), QStringList{"Message"});
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("New.htm"))));
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("logo.png"))));
    EXPECT_TRUE(QFileInfo::exists(inFolder(QStringLiteral("email.svg"))));
    EXPECT_EQ(read(inFolder(QStringLiteral("Messages-List.htm"))), list);
}

TEST_F(TemplatesTest, TheListPageIsReplacedAndResetAndPicturesAddedAndRemoved) {
    const QByteArray original = read(inFolder(QStringLiteral("Messages-List.htm")));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("Mine.htm"), "my list"));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("logo.png"), "png"));
    ASSERT_EQ(run([](QDialog& d) {
                  click(d, "cmdReplaceListPage");
                  click(d, "cmdAddGraphic");
                  pick(d, "lstGraphics", QStringLiteral("sms.svg"));
                  click(d, "cmdRemoveGraphic");
                  click(d, "cmdOK");
              }),
              QDialog::Accepted);
    EXPECT_EQ(read(inFolder(QStringLiteral("Messages-List.htm"))), "my list");
    EXPECT_EQ(read(inFolder(QStringLiteral("logo.png"))), "png");
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("sms.svg"))));
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("Mine.htm"))));

    ASSERT_EQ(run([](QDialog& d) {
                  EXPECT_EQ(find<QListWidget>(d, "lstGraphics")->count(), 2); // email, logo
                  click(d, "cmdResetListPage");
                  click(d, "cmdOK");
              }),
              QDialog::Accepted);
    EXPECT_EQ(read(inFolder(QStringLiteral("Messages-List.htm"))), original);
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral("sms.svg")))) << "reset only the page";
}

TEST_F(TemplatesTest, RefusedFilesAndNamesAreToldAndChangeNothing) {
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral(".hidden.htm"), "x"));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("Print-Message.htm"), "x"));
    TestCommonDialogs().queueOpenFileName(outside(QStringLiteral("notes.txt"), "x"));
    TestCommonDialogs().queueOpenFileName(QString()); // cancelled
    for (int i = 0; i < 4; ++i) {
        TestMessageBoxes().queue(MsgResult::OK);
    }
    run([](QDialog& d) {
        click(d, "cmdAddTemplate");
        click(d, "cmdAddTemplate");
        click(d, "cmdAddGraphic");
        click(d, "cmdAddTemplate");
        type(d, "txtTemplateName", QStringLiteral("  "));
        pick(d, "lstTemplates", QStringLiteral("Message"));
        type(d, "txtTemplateName", QStringLiteral(" "));
        click(d, "cmdRenameTemplate");
        click(d, "cmdOK");
    });
    QStringList told;
    for (const auto& box : TestMessageBoxes().shown()) {
        told << box.text;
    }
    EXPECT_EQ(told, (QStringList{
                        "The file name '.hidden.htm' cannot be used in the templates folder.",
                        "A file called 'Print-Message.htm' is already in the templates folder.",
                        "The file 'notes.txt' is not a picture.",
                        "A template needs a name.",
                    }));
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintMessage")), QStringList{"Message"});
    EXPECT_FALSE(QFileInfo::exists(inFolder(QStringLiteral(".hidden.htm"))));
}

TEST_F(TemplatesTest, OpenShowsAStoredTemplateInTheDesktopsEditor) {
    QList<QUrl> opened;
    SetDesktopOpener([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    run([](QDialog& d) {
        pick(d, "lstTemplates", QStringLiteral("Message"));
        click(d, "cmdOpenTemplate");
        click(d, "cmdCancel");
    });
    SetDesktopOpener(nullptr);
    EXPECT_EQ(opened,
              QList<QUrl>{QUrl::fromLocalFile(inFolder(QStringLiteral("Print-Message.htm")))});
}
} // namespace
