#include "scripts/scriptnames.h"

#include "support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using ScriptNames::Outcome;

namespace {

struct NameCase {
    const char* name;
    QString typed;
    Outcome outcome;
    QString accepted;
};

TEST(ScriptNamesTest, TypedNames) {
    const NameCase cases[] = {
        {"plain", QStringLiteral("Intro"), Outcome::Accepted, QStringLiteral("Intro")},
        {"trimmed", QStringLiteral("  Top of the hour "), Outcome::Accepted,
         QStringLiteral("Top of the hour")},
        {"blank is cancel", QStringLiteral("   "), Outcome::Cancelled, QString()},
        {"empty is cancel", QString(), Outcome::Cancelled, QString()},
        {"inner full stop", QStringLiteral("News 1.2"), Outcome::Accepted,
         QStringLiteral("News 1.2")},
        {"unicode", QStringLiteral("Café ☕"), Outcome::Accepted, QStringLiteral("Café ☕")},
        {"parent folder", QStringLiteral("../x"), Outcome::Refused, QString()},
        {"dot dot", QStringLiteral(".."), Outcome::Refused, QString()},
        {"leading full stop", QStringLiteral(".hidden"), Outcome::Refused, QString()},
        {"trailing full stop", QStringLiteral("name."), Outcome::Refused, QString()},
        {"slash", QStringLiteral("a/b"), Outcome::Refused, QString()},
        {"backslash", QStringLiteral("a\\b"), Outcome::Refused, QString()},
        {"colon", QStringLiteral("a:b"), Outcome::Refused, QString()},
        {"star", QStringLiteral("a*"), Outcome::Refused, QString()},
        {"question", QStringLiteral("a?"), Outcome::Refused, QString()},
        {"quote", QStringLiteral("a\"b"), Outcome::Refused, QString()},
        {"angle brackets", QStringLiteral("<a>"), Outcome::Refused, QString()},
        {"bar", QStringLiteral("a|b"), Outcome::Refused, QString()},
        {"tab inside", QStringLiteral("a\tb"), Outcome::Refused, QString()},
        {"line feed inside", QStringLiteral("a\nb"), Outcome::Refused, QString()},
        {"200 characters", QString(200, QLatin1Char('x')), Outcome::Accepted,
         QString(200, QLatin1Char('x'))},
        {"201 characters", QString(201, QLatin1Char('x')), Outcome::Refused, QString()},
    };
    for (const NameCase& c : cases) {
        const ScriptNames::NameCheck check = ScriptNames::CheckName(c.typed);
        EXPECT_EQ(check.outcome, c.outcome) << c.name;
        EXPECT_EQ(check.name, c.accepted) << c.name;
    }
}

TEST(ScriptNamesTest, NewScriptPathsStayInTheFolder) {
    EXPECT_EQ(ScriptNames::NewScriptPath(QStringLiteral("/s/scripts"), QStringLiteral("Intro")),
              QStringLiteral("/s/scripts/Intro.htm"));
    EXPECT_EQ(ScriptNames::NewScriptPath(QStringLiteral("/s/scripts/"), QStringLiteral("Intro")),
              QStringLiteral("/s/scripts/Intro.htm"));
    EXPECT_EQ(ScriptNames::NewScriptPath(QStringLiteral("/s/scripts"), QStringLiteral("../x")),
              QString());
    EXPECT_EQ(ScriptNames::NewScriptPath(QString(), QStringLiteral("Intro")), QString());
}

TEST(ScriptNamesTest, PersonalScript) {
    EXPECT_EQ(ScriptNames::PersonalScriptPath(QString()), QString());
    EXPECT_EQ(ScriptNames::PersonalScriptPath(QStringLiteral("  ")), QString());
    EXPECT_EQ(ScriptNames::PersonalScriptPath(QStringLiteral("/home/ann/")),
              QStringLiteral("/home/ann/OrlixScript.htm"));
    const QString html = ScriptNames::NewPersonalScriptHtml(QStringLiteral("<b>Ann</b>'s script"));
    EXPECT_TRUE(html.contains(QStringLiteral("<title>&lt;b&gt;Ann&lt;/b&gt;&#39;s script</title>")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<body>&lt;b&gt;Ann&lt;/b&gt;&#39;s script:<br><br>")))
        << html.toStdString();
    EXPECT_FALSE(html.contains(QStringLiteral("<b>")));
}

TEST(ScriptNamesTest, SharedScriptListing) {
    const QString folder = TestHome() + QStringLiteral("/scripts");
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/sub.htm")));
    const auto touch = [&](const char* name) {
        QFile f(folder + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    };
    touch("b.htm");
    touch("a.txt");
    touch("a.htm");
    touch("C.htm");
    touch(".hidden.htm");
    touch(".~AbCdEf");
    touch("noext");
    ASSERT_TRUE(
        QFile::link(folder + QStringLiteral("/b.htm"), folder + QStringLiteral("/link.htm")));
    ASSERT_TRUE(QFile::link(folder + QStringLiteral("/gone.htm"),
                            folder + QStringLiteral("/dangling.htm")));
    EXPECT_EQ(
        ScriptNames::SharedScriptFiles(folder),
        (QStringList{QStringLiteral("a.htm"), QStringLiteral("a.txt"), QStringLiteral("b.htm"),
                     QStringLiteral("C.htm"), QStringLiteral("noext")}));
    EXPECT_TRUE(ScriptNames::SharedScriptFiles(folder + QStringLiteral("/missing")).isEmpty());
}

} // namespace
