#include "support/testhome.h"

#include "core/debuglog.h"
#include "core/errorreport.h"
#include "core/program.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/system/platformlog.h"
#include "support/scriptedcommondialogs.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {
struct TestState {
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<Program> program;
    ScriptedMessageBoxes* boxes = nullptr;
    ScriptedDialogs* dialogs = nullptr;
    ScriptedCommonDialogs* commonDialogs = nullptr;
};

TestState& state() {
    static TestState s;
    return s;
}

class FreshRunListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& /*info*/) override {
        TestState& s = state();
        s.home = std::make_unique<QTemporaryDir>();
        qputenv("ORLIX_HOME", QFile::encodeName(s.home->path()));
        AppServices::Instance().Reset();
        AppInfo::SetPath(QString());
        s.program = std::make_unique<Program>();
        ResetDebugLogState();
        ClearPendingError();
        SetPlatformLogHandler(nullptr);
        auto boxes = std::make_unique<ScriptedMessageBoxes>();
        s.boxes = boxes.get();
        InstallMessageBoxService(std::move(boxes));
        auto dialogs = std::make_unique<ScriptedDialogs>();
        s.dialogs = dialogs.get();
        InstallDialogService(std::move(dialogs));
        auto commonDialogs = std::make_unique<ScriptedCommonDialogs>();
        s.commonDialogs = commonDialogs.get();
        InstallCommonDialogService(std::move(commonDialogs));
    }
    void OnTestEnd(const ::testing::TestInfo& /*info*/) override {
        TestState& s = state();
        // The test's windows are gone by now; the program's directory and database go next.
        s.program.reset();
        InstallMessageBoxService(nullptr);
        AppServices::Instance().Reset(); // lets go of locks before the home goes
        s.boxes = nullptr;
        InstallDialogService(nullptr);
        InstallCommonDialogService(nullptr);
        s.commonDialogs = nullptr;
        s.dialogs = nullptr;
        s.home.reset();
        qunsetenv("ORLIX_HOME");
    }
};
} // namespace

QString TestHome() {
    return state().home ? state().home->path() : QString();
}

ScriptedMessageBoxes& TestMessageBoxes() {
    return *state().boxes;
}

ScriptedDialogs& TestDialogs() {
    return *state().dialogs;
}

ScriptedCommonDialogs& TestCommonDialogs() {
    return *state().commonDialogs;
}

void InstallFreshRunListener() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshRunListener);
}
