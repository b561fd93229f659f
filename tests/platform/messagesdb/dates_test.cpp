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
} // namespace
