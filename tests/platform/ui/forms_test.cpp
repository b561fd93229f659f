#include "platform/ui/forms.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>

#include <gtest/gtest.h>

#include <memory>

namespace {
// A window with unsaved changes whose user answers Cancel to the save question.
class StubbornWindow : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* e) override {
        if (refuse) {
            e->ignore();
        } else {
            e->accept();
        }
    }
};

TEST(Forms, KeepsLoadOrderAndForgetsDestroyedWindows) {
    auto a = std::make_unique<QWidget>();
    auto b = std::make_unique<QDialog>();
    Forms::Add(a.get());
    Forms::Add(b.get());
    Forms::Add(a.get()); // once only
    EXPECT_EQ(Forms::All(), (QList<QWidget*>{a.get(), b.get()}));
    EXPECT_EQ(Forms::OfKind<QDialog>().size(), 1);
    b.reset();
    EXPECT_EQ(Forms::Count(), 1);
}

TEST(Forms, AWindowThatRefusesToCloseStaysLoaded) {
    auto* stubborn = new StubbornWindow;
    Forms::Add(stubborn);
    stubborn->show();
    EXPECT_FALSE(Forms::Unload(stubborn));
    EXPECT_TRUE(Forms::Contains(stubborn));
    stubborn->refuse = false;
    QPointer<QWidget> watch(stubborn);
    EXPECT_TRUE(Forms::Unload(stubborn));
    EXPECT_FALSE(Forms::Contains(stubborn));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull());
}
} // namespace
