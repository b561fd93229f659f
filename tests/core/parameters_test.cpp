#include "core/parameters.h"

#include <gtest/gtest.h>

namespace {
struct Case {
    const char* source;
    const char* name;
    const char* value;
};

TEST(GetParameter, ReadsOptionsFromACommandLine) {
    const std::vector<Case> cases = {
        {"/Profile=\"Studio 2\" /User=bob", "/Profile", "Studio 2"},
        {"/Profile=\"Studio 2\" /User=bob", "/User", "bob"},
        {"/DEBUG=MAX", "/DEBUG", "MAX"},             // first in the source, no blank before it
        {"/NOPREVCHECK /User= /DEBUG", "/User", ""}, // "=" followed by a blank
        {"/USERNAME=ann /USER=bob", "/USER", "bob"}, // a longer name is not taken for it
        {"/USERNAME=ann", "/USER", ""},
        {"/Profile=\"Studio 2 /User=bob", "/Profile", "Studio 2 /User=bob"}, // unclosed quote
        {"/profile=Lower", "/PROFILE", "Lower"}, // names compare without case
        {"/DEBUG", "/DEBUG", ""},                // no assignment at all
        {"", "/User", ""},
        {"/User=bob", "/User", "bob"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetParameter(QString::fromUtf8(c.source), QString::fromUtf8(c.name),
                               QStringLiteral("="), false, QStringLiteral(" ")),
                  QString::fromUtf8(c.value))
            << c.source << " / " << c.name;
    }
}

TEST(GetParameter, ByRefKeepsTheSeparatorPutInFront) {
    QString source = QStringLiteral("Version=\"3.0.9\" AppName=VORELA3");
    QString name = QStringLiteral("AppName");
    EXPECT_EQ(GetParameterByRef(source, name, QStringLiteral("="), true, QStringLiteral(" ")),
              QStringLiteral("VORELA3"));
    EXPECT_EQ(source, QStringLiteral(" Version=\"3.0.9\" AppName=VORELA3"));
    EXPECT_EQ(name, QStringLiteral(" AppName"));
}

TEST(GetParameter, AHugeOptionTextIsReadWhole) {
    const QString value(100000, QLatin1Char('x'));
    const QString source = QStringLiteral("/A=1 /Profile=") + value + QStringLiteral(" /User=bob");
    EXPECT_EQ(GetParameter(source, QStringLiteral("/Profile"), QStringLiteral("="), false,
                           QStringLiteral(" ")),
              value);
    EXPECT_EQ(GetParameter(source, QStringLiteral("/User"), QStringLiteral("="), false,
                           QStringLiteral(" ")),
              QStringLiteral("bob"));
    const QString quoted = QStringLiteral("/Profile=\"") + QString(100000, QLatin1Char(' '));
    EXPECT_EQ(GetParameter(quoted, QStringLiteral("/Profile"), QStringLiteral("="), false,
                           QStringLiteral(" "))
                  .size(),
              100000);
}
} // namespace
