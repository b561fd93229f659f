// Stored moments shown in the studio's local time: converted when shown, so a change of the
// system's zone, or a daylight-saving change between two messages, shows each at its hour.
#include "messagesdbfixture.h"

#include "platform/messagesdb/storeddates.h"

#include <QLocale>

#include <ctime>

namespace {
// POSIX zone rules, so the test needs no zone files on the machine.
constexpr const char* kLondon = "GMT0BST,M3.5.0/1,M10.5.0";
constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";

class ZoneGuard {
public:
    ZoneGuard() : had_(qEnvironmentVariableIsSet("TZ")), old_(qgetenv("TZ")) {}
    ~ZoneGuard() {
        if (had_) {
            qputenv("TZ", old_);
        } else {
            qunsetenv("TZ");
        }
        tzset();
    }
    static void Set(const char* zone) {
        qputenv("TZ", zone);
        tzset();
    }

private:
    bool had_;
    QByteArray old_;
};

class MessageDatesTest : public MessagesDbTest {
protected:
    QString shownTime(qint32 reference) {
        const auto m = db_->GetMessage(reference);
        EXPECT_TRUE(m);
        return m ? m->ReceivedDate().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
    }
    ZoneGuard zone;
};

TEST_F(MessageDatesTest, DatesFollowTheSystemZoneAndItsDaylightSavingChanges) {
    ZoneGuard::Set(kLondon);
    open();
    const auto utc = [](const char* text) {
        return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    };
    const qint32 winter = storeReceived(QStringLiteral("winter"), utc("2026-01-15T12:00:00Z"));
    const qint32 summer = storeReceived(QStringLiteral("summer"), utc("2026-07-01T12:00:00Z"));
    // The spring change in London: 01:00 UTC is 02:00 local, a second before is 00:59.
    const qint32 before = storeReceived(QStringLiteral("before"), utc("2026-03-29T00:59:00Z"));
    const qint32 after = storeReceived(QStringLiteral("after"), utc("2026-03-29T01:00:00Z"));

    const struct {
        qint32 reference;
        const char* london;
        const char* newYork;
    } cases[] = {
        {winter, "2026-01-15 12:00", "2026-01-15 07:00"},
        {summer, "2026-07-01 13:00", "2026-07-01 08:00"},
        {before, "2026-03-29 00:59", "2026-03-28 20:59"},
        {after, "2026-03-29 02:00", "2026-03-28 21:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shownTime(c.reference), QString::fromLatin1(c.london)) << c.london;
    }
    // A message loaded before the zone changes shows the new zone's hour once shown again.
    const auto loaded = db_->GetMessage(summer);
    ASSERT_TRUE(loaded);
    ZoneGuard::Set(kNewYork);
    EXPECT_TRUE(loaded->ReceivedDateText().endsWith(QStringLiteral(" 08:00")))
        << loaded->ReceivedDateText().toStdString();
    for (const auto& c : cases) {
        EXPECT_EQ(shownTime(c.reference), QString::fromLatin1(c.newYork)) << c.newYork;
    }
    // The moment itself never moved: stored and read back it is the same instant.
    EXPECT_EQ(loaded->ReceivedDate().toUTC(), utc("2026-07-01T12:00:00Z"));
}

// The list's date text takes the locale's short date pattern; a change of the program's
// locale shows in the next text.
TEST_F(MessageDatesTest, DateTextFollowsAChangeOfTheProgramsLocale) {
    ZoneGuard::Set(kLondon);
    const QLocale was;
    const QDateTime when =
        QDateTime::fromString(QStringLiteral("2026-11-05T09:07:00Z"), Qt::ISODate);
    for (const auto& [language, country] : {std::pair{QLocale::English, QLocale::UnitedStates},
                                            std::pair{QLocale::German, QLocale::Germany}}) {
        QLocale::setDefault(QLocale(language, country));
        const QLocale locale;
        EXPECT_EQ(StoredDates::Text(when),
                  locale.toString(QDate(2026, 11, 5), QLocale::ShortFormat) +
                      QStringLiteral(" 09:07"));
    }
    QLocale::setDefault(was);
}

// The date text is the local time of the moment, minute by minute through a change of the
// clocks, a day's end and a zone whose offset is not a whole hour (or not even a whole
// minute, as the local mean times before standard zones): as a conversion of each moment on
// its own gives it. A change of zone between two moments of the same quarter hour shows too.
// A page's formatter, which keeps the last day's text, gives the same texts in sequence.
TEST_F(MessageDatesTest, DateTextIsEachMomentsLocalTimeThroughClockChanges) {
    const auto utc = [](const char* text) {
        return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    };
    const struct {
        const char* zone;
        const char* around;
    } cases[] = {
        {kLondon, "2026-03-29T01:00:00Z"},
        {kLondon, "2026-10-25T01:00:00Z"},
        {kLondon, "2026-12-31T23:59:30Z"},
        {kNewYork, "2026-11-01T06:00:00Z"},
        {"<+0545>-5:45", "2026-06-30T18:15:00Z"},
        {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", "2026-04-04T15:00:00Z"},
        {"<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", "2026-10-03T15:30:00Z"},
        {"NST3:30NDT,M3.2.0,M11.1.0", "2026-03-08T05:30:00Z"},
        {"<LMT>-0:19:32", "1900-01-01T23:40:28Z"},
    };
    for (const auto& c : cases) {
        ZoneGuard::Set(c.zone);
        const QLocale locale;
        const QString pattern = locale.dateFormat(QLocale::ShortFormat);
        const QDateTime middle = utc(c.around);
        StoredDates::PageDates page;
        for (int minute = -150; minute <= 150; ++minute) {
            for (const int second : {0, 59}) {
                const QDateTime when = middle.addSecs(minute * 60 + second);
                const QDateTime local = when.toLocalTime();
                ASSERT_EQ(StoredDates::Text(when), locale.toString(local.date(), pattern) +
                                                       local.toString(QStringLiteral(" HH:mm")))
                    << c.zone << " " << when.toString(Qt::ISODate).toStdString();
                ASSERT_EQ(page.Text(when), StoredDates::Text(when));
            }
            ASSERT_EQ(page.Text(QDateTime()), QString());
        }
    }
    const QDateTime noon = utc("2026-07-01T12:00:00Z");
    ZoneGuard::Set(kLondon);
    EXPECT_TRUE(StoredDates::Text(noon).endsWith(QStringLiteral(" 13:00")));
    ZoneGuard::Set(kNewYork);
    EXPECT_TRUE(StoredDates::Text(noon.addSecs(60)).endsWith(QStringLiteral(" 08:01")));
}
} // namespace
