#include "core/profile/cocsettings.h"
#include "platform/system/registrystore.h"
#include "settings/tool/settingstoolrun.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace {
// Two programs saving at once both succeed: each waits its turn for the store, and each
// turn is one rewrite of the file.
TEST(SettingsTool, TwoLoopsSeedingAtOnceEndWithEveryProfile) {
    constexpr int kEach = 200;
    // $0 the tool, $1 the profiles' prefix, $2 $3 $4 the folders; a refused seed is listed.
    const QString loop =
        QStringLiteral(
            "i=0; while [ $i -lt %1 ]; do i=$((i+1)); "
            "\"$0\" seed \"$1$i\" --database \"$2\" --scripts \"$3\" --talkback \"$4\" >/dev/null "
            "|| echo \"$1$i refused\"; done")
            .arg(kEach);
    QProcess loops[2];
    const char* prefixes[2] = {"Morning", "Evening"};
    for (int n = 0; n < 2; ++n) {
        loops[n].start(QStringLiteral("/bin/sh"),
                       {QStringLiteral("-c"), loop, QStringLiteral(ORLIX_SETTINGS_TOOL),
                        QLatin1String(prefixes[n]), folder("Messages"), folder("Scripts"),
                        folder("Talkback")});
    }
    for (QProcess& p : loops) {
        ASSERT_TRUE(p.waitForFinished(600000));
        EXPECT_EQ(p.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), QString());
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardError()), QString());
    }

    QFile file(RegistryStore::FilePath(RegistryRoot::LocalMachine));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonParseError error{};
    QJsonDocument::fromJson(file.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);

    const ToolRun r = tool({QStringLiteral("profiles")});
    ASSERT_EQ(r.Code, 0);
    const QStringList listed = r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QSet<QString> expected;
    for (const char* prefix : prefixes) {
        for (int i = 1; i <= kEach; ++i) {
            expected.insert(QLatin1String(prefix) + QString::number(i));
        }
    }
    EXPECT_EQ(listed.size(), 2 * kEach);
    EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()), expected);
    for (const QString& p : {QStringLiteral("Morning1"), QStringLiteral("Evening200")}) {
        cOCSettings s;
        QString name = p;
        EXPECT_TRUE(s.LoadSettings(name)) << p.toStdString();
        EXPECT_EQ(s.TalkbackSimplePath(), folder("Talkback"));
    }
}
} // namespace
