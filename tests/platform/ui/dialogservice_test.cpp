#include "platform/ui/dialogservice.h"
#include "platform/ui/qtdialogservice.h"
#include "support/scripteddialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {
// A small dialog of ours: a name to type, OK only once something is typed.
class NameDialog : public QDialog {
    Q_OBJECT
public:
    explicit NameDialog(QWidget* owner = nullptr) : QDialog(owner) {
        setObjectName(QStringLiteral("frmName"));
        setWindowTitle(QStringLiteral("Name"));
        auto* layout = new QVBoxLayout(this);
        name = new QLineEdit(this);
        layout->addWidget(name);
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] {
            if (!name->text().isEmpty()) {
                accept();
            }
        });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }
    QPushButton* button(QDialogButtonBox::StandardButton which) const {
        return buttons->button(which);
    }
    QLineEdit* name = nullptr;
    QDialogButtonBox* buttons = nullptr;
};

// Another kind, to tell standing answers from queued ones.
class ConfirmDialog : public QDialog {
    Q_OBJECT
public:
    ConfirmDialog() { setObjectName(QStringLiteral("frmConfirm")); }
};

NameDialog& Name(QDialog& d) {
    return dynamic_cast<NameDialog&>(d);
}
} // namespace

TEST(OneDialogSeam, TheScriptedDoubleAnswersAsTheUserAndTheResultComesBack) {
    struct Case {
        const char* name;
        std::function<void(QDialog&)> action; // empty: nothing queued
        int result;
        QString typed;
    };
    const Case cases[] = {
        {"typed and OK",
         [](QDialog& d) {
             Name(d).name->setText(QStringLiteral("Ann"));
             Name(d).button(QDialogButtonBox::Ok)->click();
         },
         QDialog::Accepted, QStringLiteral("Ann")},
        {"OK refused while empty, then closed",
         [](QDialog& d) {
             Name(d).button(QDialogButtonBox::Ok)->click();
             EXPECT_TRUE(d.isVisible());
         },
         QDialog::Rejected, QString()},
        {"Cancel",
         [](QDialog& d) {
             Name(d).name->setText(QStringLiteral("Bob"));
             Name(d).button(QDialogButtonBox::Cancel)->click();
         },
         QDialog::Rejected, QStringLiteral("Bob")},
        {"nothing queued", {}, QDialog::Rejected, QString()},
    };
    QWidget owner;
    for (const Case& c : cases) {
        if (c.action) {
            TestDialogs().queue(c.action);
        }
        DialogInstance<NameDialog> dialog(&owner);
        EXPECT_EQ(RunDialog(*dialog.get()), c.result) << c.name;
        EXPECT_FALSE(dialog->isVisible()) << c.name;
        EXPECT_EQ(dialog->name->text(), c.typed) << c.name;
        const ScriptedDialogs::Shown& shown = TestDialogs().shown().back();
        EXPECT_EQ(shown.className, QStringLiteral("NameDialog")) << c.name;
        EXPECT_EQ(shown.objectName, QStringLiteral("frmName")) << c.name;
        EXPECT_EQ(shown.title, QStringLiteral("Name")) << c.name;
        EXPECT_TRUE(shown.modal) << c.name;
        EXPECT_EQ(shown.owner, &owner) << c.name;
        EXPECT_EQ(shown.result, c.result) << c.name;
    }
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("NameDialog")), int(std::size(cases)));
}

TEST(OneDialogSeam, AStandingAnswerTakesItsKindAheadOfTheQueue) {
    int confirmations = 0;
    TestDialogs().answerEvery<ConfirmDialog>([&](ConfirmDialog& d) {
        ++confirmations;
        d.accept();
    });
    QStringList order;
    // The first name dialog opens a confirmation and, from inside, a second name dialog: that
    // one takes the next queued action, the confirmation the standing answer.
    TestDialogs().queue([&](QDialog& d) {
        order << QStringLiteral("outer");
        ConfirmDialog confirm;
        EXPECT_EQ(RunDialog(confirm), QDialog::Accepted);
        NameDialog inner;
        EXPECT_EQ(RunDialog(inner, false), QDialog::Rejected);
        Name(d).name->setText(QStringLiteral("outer"));
        Name(d).button(QDialogButtonBox::Ok)->click();
    });
    TestDialogs().queue([&](QDialog&) { order << QStringLiteral("inner"); });
    NameDialog outer;
    EXPECT_EQ(RunDialog(outer), QDialog::Accepted);
    ConfirmDialog again;
    EXPECT_EQ(RunDialog(again), QDialog::Accepted);
    EXPECT_EQ(order, (QStringList{QStringLiteral("outer"), QStringLiteral("inner")}));
    EXPECT_EQ(confirmations, 2);
    ASSERT_EQ(TestDialogs().shown().size(), 4U);
    EXPECT_EQ(TestDialogs().shown()[0].result, QDialog::Accepted);
    EXPECT_EQ(TestDialogs().shown()[1].className, QStringLiteral("ConfirmDialog"));
    EXPECT_FALSE(TestDialogs().shown()[2].modal);
}

TEST(OneDialogSeam, ADialogThatGoesAwayWhileShownCountsAsCancelled) {
    auto* owner = new QWidget;
    auto* dialog = new NameDialog(owner);
    TestDialogs().queue([owner](QDialog&) { delete owner; });
    EXPECT_EQ(RunDialog(*dialog), QDialog::Rejected);
    EXPECT_EQ(TestDialogs().shown().back().result, QDialog::Rejected);
}

TEST(QtDialogService, AModelessDialogReturnsWhenItIsHidden) {
    QDialog dialog;
    // Queued: it runs inside the wait, as a user's click would.
    QMetaObject::invokeMethod(&dialog, &QDialog::hide, Qt::QueuedConnection);
    QtDialogService service;
    service.Show(dialog, false);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
}

TEST(QtDialogService, ReturnsTheResultOfAModalAndAModelessRun) {
    QtDialogService service;
    for (const bool modal : {true, false}) {
        QDialog accepted;
        QMetaObject::invokeMethod(&accepted, &QDialog::accept, Qt::QueuedConnection);
        EXPECT_EQ(service.Show(accepted, modal), QDialog::Accepted) << modal;
        QDialog rejected;
        QMetaObject::invokeMethod(&rejected, &QDialog::reject, Qt::QueuedConnection);
        EXPECT_EQ(service.Show(rejected, modal), QDialog::Rejected) << modal;
    }
}

TEST(QtDialogService, AModelessDialogDestroyedWhileShownEndsTheWait) {
    auto* owner = new QWidget;
    auto* dialog = new QDialog(owner);
    QMetaObject::invokeMethod(
        owner, [owner] { delete owner; }, Qt::QueuedConnection);
    QtDialogService service;
    EXPECT_EQ(service.Show(*dialog, false), QDialog::Rejected);
}

TEST(DialogInstance, SurvivesItsOwnerGoingFirst) {
    auto owner = std::make_unique<QWidget>();
    DialogInstance<QDialog> dialog(owner.get());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    owner.reset();
    EXPECT_FALSE(dialog);
}

#include "dialogservice_test.moc"
