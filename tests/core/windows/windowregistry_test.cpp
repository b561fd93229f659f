#include "core/windows/windowregistry.h"

#include "core/debuglog.h"
#include "core/program.h"
#include "platform/system/appservices.h"
#include "platform/ui/forms.h"
#include "support/scriptedwindow.h"

#include <QApplication>
#include <QFile>

#include <gtest/gtest.h>

namespace {
QString logText() {
    QFile f(DebugLogFilePath());
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class Registry : public ::testing::Test {
protected:
    WindowRegistry& windows = Program::Instance().Windows();
    QWidget owner;
};

// One registration line each: an edit window the openers show, and a main-window dialog.
TEST_F(Registry, MakesTheWindowsItsFoldersRegistered) {
    QWidget* madeOver = &owner; // the edit window is asked for without an owner
    windows.Register(WindowKind::Contact, [&madeOver](QWidget* over) {
        madeOver = over;
        return new QWidget;
    });
    QPointer<QWidget> whileShown;
    bool wasLoaded = false;
    bool overOwner = false;
    windows.Register(WindowKind::About, ScriptedWindowMaker([&] {
                         whileShown = QApplication::activeModalWidget();
                         wasLoaded = Forms::Contains(whileShown);
                         overOwner = whileShown != nullptr && whileShown->parentWidget() == &owner;
                     }));

    std::unique_ptr<QWidget> contact(windows.Make(WindowKind::Contact));
    ASSERT_NE(contact, nullptr);
    EXPECT_EQ(madeOver, nullptr);
    EXPECT_TRUE(Forms::Contains(contact.get()));

    EXPECT_TRUE(windows.ShowModal(WindowKind::About, &owner));
    EXPECT_TRUE(wasLoaded) << "the dialog was not running modally";
    EXPECT_TRUE(overOwner);
    EXPECT_TRUE(whileShown.isNull()); // made for one showing
    EXPECT_EQ(Forms::Count(), 1);
}

TEST_F(Registry, AKindNobodyRegisteredOpensNothingAndSaysSo) {
    AppServices::Instance().SetDebugLevel(5);
    windows.Register(WindowKind::Settings, ScriptedWindowMaker());
    windows.Register(WindowKind::Settings, nullptr);
    EXPECT_FALSE(windows.Has(WindowKind::Settings));
    EXPECT_FALSE(windows.ShowModal(WindowKind::Settings, &owner));
    EXPECT_FALSE(windows.ShowModal(WindowKind::About, &owner));
    EXPECT_FALSE(windows.ShowModal(WindowKind::SupportFile, &owner));
    EXPECT_EQ(windows.Make(WindowKind::Sms), nullptr);
    EXPECT_EQ(Forms::Count(), 0);
    const QString log = logText();
    for (const char* line :
         {"The program settings dialog is not available", "The about window is not available",
          "The support-file window is not available",
          "No window is registered for this kind of item; nothing opened"}) {
        EXPECT_TRUE(log.contains(QLatin1String(line))) << line;
    }
}

TEST_F(Registry, AShowerReplacedByATestSeesEveryShowing) {
    std::vector<std::pair<QWidget*, bool>> shown;
    windows.SetShower([&shown](QWidget* w, bool modal) { shown.emplace_back(w, modal); });
    QWidget a;
    windows.Show(&a, false);
    windows.Show(&a, true);
    windows.Show(nullptr, true);
    EXPECT_EQ(shown, (std::vector<std::pair<QWidget*, bool>>{{&a, false}, {&a, true}}));
    EXPECT_FALSE(a.isVisible());

    windows.SetShower(nullptr);
    windows.Show(&a, false);
    EXPECT_TRUE(a.isVisible());
    EXPECT_EQ(a.windowModality(), Qt::NonModal);
}

TEST_F(Registry, AWindowThatClosesAsItIsShownEndsItsModalRunAtOnce) {
    class ClosesAtOnce : public QWidget {
    protected:
        void showEvent(QShowEvent*) override {
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        }
    };
    windows.Register(WindowKind::SupportFile, [](QWidget*) { return new ClosesAtOnce; });
    EXPECT_TRUE(windows.ShowModal(WindowKind::SupportFile, &owner));
    EXPECT_EQ(Forms::Count(), 0);
}
} // namespace
