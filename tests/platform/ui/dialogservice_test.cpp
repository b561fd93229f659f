#include "platform/ui/dialogservice.h"
#include "platform/ui/qtdialogservice.h"

#include <QDialog>
#include <QMetaObject>

#include <memory>

#include <gtest/gtest.h>

TEST(QtDialogService, AModelessDialogReturnsWhenItIsHidden) {
    QDialog dialog;
    // Queued: it runs inside the wait, as a user's click would.
    QMetaObject::invokeMethod(&dialog, &QDialog::hide, Qt::QueuedConnection);
    QtDialogService service;
    service.Show(dialog, false);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
}

TEST(QtDialogService, AModelessDialogDestroyedWhileShownEndsTheWait) {
    auto* owner = new QWidget;
    auto* dialog = new QDialog(owner);
    QMetaObject::invokeMethod(
        owner, [owner] { delete owner; }, Qt::QueuedConnection);
    QtDialogService service;
    service.Show(*dialog, false);
    SUCCEED();
}

TEST(DialogInstance, SurvivesItsOwnerGoingFirst) {
    auto owner = std::make_unique<QWidget>();
    DialogInstance<QDialog> dialog(owner.get());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->parentWidget(), owner.get());
    owner.reset();
    EXPECT_FALSE(dialog);
}
