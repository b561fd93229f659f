#include "mainwindowfixture.h"

#include "contacts/frmcontact.h"
#include "platform/directory/controls/ucontact.h"
#include "platform/ui/forms.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>

namespace {
using MainWindowContactClose = MainWindowFixture;

// A contact window with a typed, unsaved name, as the openers load it.
QPointer<frmContact> editedContactWindow() {
    auto* w = new frmContact();
    Forms::Add(w);
    w->SetContact(Program::Instance().Directory()->CreateContact());
    w->show();
    w->ContactControl()
        ->findChild<QLineEdit*>(QStringLiteral("txtName"))
        ->setText(QStringLiteral("Typed"));
    return w;
}

TEST_F(MainWindowContactClose, CancelInTheContactsQuestionKeepsTheUserAndTheProgram) {
    ASSERT_TRUE(startLoggedIn());
    QPointer<frmContact> contact = editedContactWindow();
    TestMessageBoxes().clear();

    TestMessageBoxes().queue(MsgResult::Cancel);
    window->mnuLogout->trigger();
    EXPECT_TRUE(directory()->LoggedIn());
    ASSERT_FALSE(contact.isNull());
    EXPECT_TRUE(contact->isVisible());

    TestMessageBoxes().queue(MsgResult::Cancel);
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->IsUnloaded());
    EXPECT_TRUE(directory()->LoggedIn());
    ASSERT_FALSE(contact.isNull());
    EXPECT_TRUE(contact->ContactControl()->ContactChanged());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 2u);
    // The question names the contact by the name typed, not yet stored.
    EXPECT_EQ(TestMessageBoxes().shown()[0].text,
              QStringLiteral("Do you want to save the changes you made to the Contact 'Typed'?"));

    // No lets the logout go on, and the window with it.
    TestMessageBoxes().queue(MsgResult::No);
    window->mnuLogout->trigger();
    EXPECT_FALSE(directory()->LoggedIn());
    EXPECT_FALSE(Forms::Contains(contact.data()));
}
} // namespace
