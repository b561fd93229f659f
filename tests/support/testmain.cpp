#include "platform/system/sqliteprocess.h"
#include "platform/web/webengineprelude.h"

#include <QApplication>

#include <gtest/gtest.h>

void InstallFreshRunListener();

int main(int argc, char* argv[]) {
    SqliteProcess::Prepare(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    PrepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    InstallFreshRunListener();
    return RUN_ALL_TESTS();
}
