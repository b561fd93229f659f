#include "core/errorreport.h"

#include "core/debuglog.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "support/scriptedmessageboxes.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
QString lastLogLine() {
    QFile f(DebugLogFilePath());
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(f.readAll());
}

struct ReportCase {
    const char* context;
    int number;
    const char* text;
};

TEST(ReportError, TextsByErrorNumber) {
    SetPendingError(31001, QStringLiteral("The directory is not open"));
    const std::vector<ReportCase> cases = {
        {"printing your labels", 0, "There was a problem printing your labels"},
        {"while printing.", 482,
         "There was a problem while printing. and the error's description was reported as : "
         "\n\n\"Printer error\""},
        {"  saving the script into '/s/a.htm'  ", 70,
         "There was a problem saving the script into '/s/a.htm' and the error's description was "
         "reported as : \n\n\"Permission denied\""},
        {"opening", 31001,
         "There was a problem opening and the error's description was reported as : "
         "\n\n\"The directory is not open (31001)\""},
        {"opening", 31002,
         "There was a problem opening and the error's description was reported as : "
         "\n\n\"Error 31002\""},
    };
    for (const ReportCase& c : cases) {
        EXPECT_EQ(ReportError(QString::fromUtf8(c.context), c.number, false),
                  QString::fromUtf8(c.text))
            << c.context << " " << c.number;
    }
}

TEST(ShowProblem, ShowsWithTheExclamationIconAndLogsAtLevelFive) {
    AppServices::Instance().SetDebugLevel(5);
    const QString text = ShowProblem(QStringLiteral("creating a temporary folder in '/x'"),
                                     QStringLiteral("  Permission denied  "), false);
    EXPECT_EQ(text,
              QStringLiteral("There was a problem creating a temporary folder in '/x' and the "
                             "error's description was reported as : \n\n\"Permission denied\""));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1U);
    const MessageBoxRequest& box = TestMessageBoxes().shown().front();
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_EQ(box.buttons, MsgButtons::OK);
    EXPECT_EQ(box.caption, AppInfo::Title());
    EXPECT_TRUE(lastLogLine().contains(QStringLiteral("There was a problem creating")));
}

TEST(ShowProblem, SilentReportsAreOnlyLogged) {
    AppServices::Instance().SetDebugLevel(5);
    ShowProblem(QStringLiteral("uploading the Support File - "), QStringLiteral("refused"), true);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(lastLogLine().contains(QStringLiteral("uploading the Support File")));
}

TEST(ShowProblem, ShownAtLevelZeroWithoutALogFile) {
    ReportError(QStringLiteral("printing your labels"), 0, false);
    EXPECT_EQ(TestMessageBoxes().shown().size(), 1U);
    EXPECT_FALSE(QFile::exists(DebugLogFilePath()));
}
} // namespace
