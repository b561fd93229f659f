#include "core/printing/templatetags.h"

#include "platform/system/stringhelper.h"
#include "support/displaymarks.h"
#include "support/testhome.h"

#include <QFile>
#include <QHash>
#include <QLocale>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// The station "Radio Test", a fixed clock, and a directory of two contacts whose blocks
// have one tag each: <OCP_prefix_NAME>.
class FakeSource : public TemplateTagSource {
public:
    StationTagValues Station() const override {
        StationTagValues s;
        s.Name = stationName;
        s.Address = QStringLiteral("1 High Street\nTown");
        s.AddressString = QStringLiteral("1 High Street,Town");
        s.PhoneNumber = QStringLiteral("01234 567890");
        return s;
    }
    QDateTime LocalNow() const override { return QDateTime(QDate(2026, 12, 10), QTime(9, 5)); }
    QDateTime UtcNow() const override {
        return QDateTime(QDate(2026, 12, 10), QTime(8, 5), Qt::UTC);
    }
    qint32 CurrentUserReference() const override { return currentUser; }
    QString ReplaceContactTags(const QString& text, qint32 reference,
                               const QString& prefix) const override {
        const QString tag = QStringLiteral("<OCP_") + prefix + QStringLiteral("_NAME>");
        return StringHelper::ReplaceText(text, tag, contacts.value(reference), true);
    }

    QString stationName = QStringLiteral("Radio Test");
    qint32 currentUser = 0;
    QHash<qint32, QString> contacts = {{5, QStringLiteral("Ann Presenter")},
                                       {7, QStringLiteral("Bob Listener")}};
};

PrizeTagValues concertTickets() {
    PrizeTagValues p;
    p.Reference = 17;
    p.Title = QStringLiteral("Concert tickets");
    p.NumberWinners = 2;
    p.NumberSupplied = 4;
    p.SupplierReference = 5;
    PrizeWinnerTagValues w1;
    w1.Reference = 101;
    w1.PrizeReference = 17;
    w1.WinnerReference = 7;
    w1.AwardedByReference = 5;
    PrizeWinnerTagValues w2 = w1;
    w2.Reference = 102;
    w2.WinnerReference = 99; // no longer in the directory
    p.Winners = {w1, w2};
    return p;
}

struct TemplateCase {
    const char* name;
    QString text;
    QString filled;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TemplateCase& c, std::ostream* os) {
    *os << c.name;
}

class WinnersTemplateTable : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(WinnersTemplateTable, Fills) {
    FakeSource source;
    EXPECT_EQ(FillPrizeWinnersTemplateText(concertTickets(), GetParam().text, source),
              Marked(GetParam().filled));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WinnersTemplateTable,
    ::testing::Values(
        TemplateCase{
            "WinnersList",
            "<h1><OCP_PRIZE_TITLE></h1><ocp_prizewinners_repeat><p><OCP_PRIZEWINNER_REFERENCE>/"
            "<OCP_PRIZE_REFERENCE>/<OCP_STATION_NAME></p></OCP_PRIZEWINNERS_REPEAT><i>"
            "<OCP_PRIZEWINNER_REFERENCE></i><OCP_PRIZEWINNERS_REPEAT>x",
            "<h1>\u00abConcert tickets\u00bb</h1><p>101/17/\u00abRadio Test\u00bb</p><p>102/17/"
            "\u00abRadio Test\u00bb</p><i>"
            "<OCP_PRIZEWINNER_REFERENCE></i><OCP_PRIZEWINNERS_REPEAT>x"},
        TemplateCase{"NoTags", "<html><body><p>Nothing to fill</p></body></html>",
                     "<html><body><p>Nothing to fill</p></body></html>"},
        TemplateCase{"EmptyTemplate", "", ""},
        TemplateCase{"ClosingTagInAnyCase",
                     "<OCP_PrizeWinners_Repeat>[<OCP_PRIZEWINNER_REFERENCE>]</ocp_prizewinners_"
                     "repeat>",
                     "[101][102]"},
        TemplateCase{"TwoBlocksThenAnOpenOne",
                     "<OCP_PRIZEWINNERS_REPEAT>a</OCP_PRIZEWINNERS_REPEAT>|"
                     "<OCP_PRIZEWINNERS_REPEAT>b</OCP_PRIZEWINNERS_REPEAT>|"
                     "<OCP_PRIZEWINNERS_REPEAT>c",
                     "aa|bb|<OCP_PRIZEWINNERS_REPEAT>c"},
        TemplateCase{"ClosingTagBeforeAnyOpening",
                     "</OCP_PRIZEWINNERS_REPEAT><OCP_PRIZEWINNERS_REPEAT>w"
                     "</OCP_PRIZEWINNERS_REPEAT>",
                     "</OCP_PRIZEWINNERS_REPEAT>ww"},
        TemplateCase{
            "WinnerContactBlocks",
            "<OCP_PRIZEWINNERS_REPEAT><OCP_PRIZEWINNER_WINNER_NAME>;"
            "<OCP_PRIZEWINNER_AWARDEDBY_NAME>;<OCP_PRIZEWINNER_SENTBY_NAME>|"
            "</OCP_PRIZEWINNERS_REPEAT><OCP_PRIZE_SUPPLIER_NAME>",
            "\u00abBob Listener\u00bb;\u00abAnn Presenter\u00bb;|;\u00abAnn Presenter\u00bb;|"
            "\u00abAnn Presenter\u00bb"},
        TemplateCase{"WinnerTagOutsideABlockStays", "<OCP_PRIZEWINNER_WONDATE>",
                     "<OCP_PRIZEWINNER_WONDATE>"},
        // A block that holds an opening tag: its copies hold one each, and the search goes
        // on after them instead of expanding them again.
        TemplateCase{
            "FilledCopiesAreNotExpandedAgain",
            "<OCP_PRIZEWINNERS_REPEAT>x<OCP_PRIZEWINNERS_REPEAT></OCP_PRIZEWINNERS_REPEAT>"
            "</OCP_PRIZEWINNERS_REPEAT>",
            "x<OCP_PRIZEWINNERS_REPEAT>x<OCP_PRIZEWINNERS_REPEAT></OCP_PRIZEWINNERS_REPEAT>"}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) { return info.param.name; });

TEST(TemplateTags, NoWinnersLeavesAnEmptyBlock) {
    FakeSource source;
    PrizeTagValues prize = concertTickets();
    prize.NumberWinners = 0;
    EXPECT_EQ(FillPrizeWinnersTemplateText(
                  prize, QStringLiteral("[<OCP_PRIZEWINNERS_REPEAT>w</OCP_PRIZEWINNERS_REPEAT>]"),
                  source),
              QStringLiteral("[]"));
}

TEST(TemplateTags, MoreWinnersClaimedThanHeldFillsTheOnesHeld) {
    FakeSource source;
    PrizeTagValues prize = concertTickets();
    prize.NumberWinners = 5;
    EXPECT_EQ(ExpandPrizeWinnerBlocks(QStringLiteral("<OCP_PRIZEWINNERS_REPEAT><OCP_PRIZEWINNER_"
                                                     "REFERENCE>,</OCP_PRIZEWINNERS_REPEAT>"),
                                      prize, source),
              QStringLiteral("101,102,"));
}

TEST(TemplateTags, HostileValuesComeOutEscaped) {
    FakeSource source;
    source.stationName = QStringLiteral("<script>alert(1)</script>");
    PrizeTagValues prize = concertTickets();
    prize.Title = QStringLiteral("\"><a href=\"http://evil/\">win</a>");
    prize.Notes = QStringLiteral("Tom &amp; Jerry &#60;");
    prize.Script = QStringLiteral("Read  slowly:\n<b>now</b>");
    prize.Winners[0].Notes = QStringLiteral("  two blanks & <i>");
    const QString filled = FillPrizeWinnersTemplateText(
        prize,
        QStringLiteral("<OCP_STATION_NAME>|<p title=\"<OCP_PRIZE_TITLE>\">|<OCP_PRIZE_NOTES>|"
                       "<OCP_PRIZE_SCRIPT>|<OCP_PRIZEWINNERS_REPEAT><OCP_PRIZEWINNER_NOTES>"
                       "</OCP_PRIZEWINNERS_REPEAT>"),
        source);
    EXPECT_EQ(filled,
              Marked(QStringLiteral(
                  "\u00ab&lt;script&gt;alert(1)&lt;/script&gt;\u00bb|"
                  "<p title=\"\u00ab&quot;&gt;&lt;a href=&quot;http://evil/&quot;&gt;win&lt;"
                  "/a&gt;\u00bb\">|\u00abTom &amp;amp; Jerry &amp;#60;\u00bb|"
                  "\u00abRead&nbsp;&nbsp;slowly:\u00bb<br>\u00ab&lt;b&gt;now&lt;/b&gt;\u00bb|"
                  "\u00ab&nbsp;&nbsp;two blanks &amp; &lt;i&gt;\u00bb")));
}

TEST(TemplateTags, StationAndClockTags) {
    FakeSource source;
    const QString shortDate = QLocale::system().toString(QDate(2026, 12, 10), QLocale::ShortFormat);
    const QString longDate = QLocale::system().toString(QDate(2026, 12, 10), QLocale::LongFormat);
    EXPECT_EQ(ReplaceTemplateTags(
                  QStringLiteral("<OCP_STATION_ADDRESS>|<OCP_STATION_ADDRESSSTRING>|"
                                 "<OCP_CURRENTTIME>|<OCP_GMTCURRENTTIME>|<OCP_CURRENTDATETIME>|"
                                 "<OCP_GMTCURRENTTIMEDATE>|<OCP_CURRENTDATE>|<OCP_CURRENTDATELONG>|"
                                 "<ocp_currenttime>"),
                  source),
              Marked(QStringLiteral("\u00ab1 High Street\u00bb<br>\u00abTown\u00bb|\u00ab1 High "
                                    "Street,Town\u00bb|09:05|08:05|")) +
                  shortDate + QStringLiteral(" 09:05|08:05 ") + shortDate + QLatin1Char('|') +
                  shortDate + QLatin1Char('|') + longDate + QStringLiteral("|<ocp_currenttime>"));
}

TEST(TemplateTags, CurrentUserBlock) {
    FakeSource source;
    const QString text = QStringLiteral("Printed by <OCP_CURRENTUSER_NAME>.");
    EXPECT_EQ(ReplaceTemplateTags(text, source), QStringLiteral("Printed by ."))
        << "nobody logged in: the empty contact's values";
    source.currentUser = 5;
    EXPECT_EQ(ReplaceTemplateTags(text, source),
              Marked(QStringLiteral("Printed by \u00abAnn Presenter\u00bb.")));
}

TEST(TemplateTags, ReadsTheTemplateFile) {
    FakeSource source;
    EXPECT_EQ(FillPrizeWinnersTemplate(concertTickets(), QString(), source), QString());
    const QString path = TestHome() + QStringLiteral("/Winners.htm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(FillPrizeWinnersTemplate(concertTickets(), path, source), QString());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Caf\xE9 <OCP_PRIZE_TITLE>");
    f.close();
    EXPECT_EQ(FillPrizeWinnersTemplate(concertTickets(), path, source),
              Marked(QStringLiteral("Caf\u00e9 \u00abConcert tickets\u00bb")));
}

} // namespace
