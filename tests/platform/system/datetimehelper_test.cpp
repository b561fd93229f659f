#include "platform/system/datetimehelper.h"

#include <gtest/gtest.h>

namespace {
struct RecordCase {
    QDateTime date;
    DateTimeRecord record;
};

TEST(DateTimeRecord, ConvertsBothWaysAroundTheEpochAndLeapDays) {
    const auto utc = [](int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
        return QDateTime(QDate(y, m, d), QTime(h, mi, s), Qt::UTC);
    };
    const std::vector<RecordCase> cases = {
        {utc(1899, 12, 30), {0, 0.0F}},
        {utc(1899, 12, 29, 18), {-1, 64800.0F}},
        {utc(1899, 12, 31, 0, 0, 1), {1, 1.0F}},
        {utc(2000, 1, 1), {36526, 0.0F}},
        {utc(2000, 2, 29, 12), {36585, 43200.0F}},
        {utc(2024, 2, 29, 23, 59, 59), {45351, 86399.0F}},
        {utc(2009, 3, 10, 14, 30), {39882, 52200.0F}},
    };
    for (const RecordCase& c : cases) {
        const DateTimeRecord r = DateTimeHelper::DateToTimeRecord(c.date);
        EXPECT_EQ(r, c.record) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(DateTimeHelper::TimeRecordToDate(c.record, Qt::UTC), c.date)
            << c.date.toString(Qt::ISODate).toStdString();
    }
}

TEST(DateTimeRecord, LocalTimeKeepsTheWallClock) {
    const QDateTime local(QDate(2026, 12, 9), QTime(10, 15, 30), Qt::LocalTime);
    const DateTimeRecord r = DateTimeHelper::DateToTimeRecord(local);
    EXPECT_EQ(r.Day, DateTimeHelper::DaySerial(QDate(2026, 12, 9)));
    EXPECT_EQ(r.Seconds, 36930.0F);
    EXPECT_EQ(DateTimeHelper::TimeRecordToDate(r), local);
}

TEST(DateTimeHelper, TimeTextsAndTheirReadingBack) {
    EXPECT_EQ(DateTimeHelper::TimeOfDayText(0, DateTimeHelper::LongTime),
              QStringLiteral("00:00:00"));
    EXPECT_EQ(DateTimeHelper::TimeOfDayText(25200, DateTimeHelper::ShortTime),
              QStringLiteral("07:00"));
    EXPECT_EQ(DateTimeHelper::TimeOfDayText(86399.9, DateTimeHelper::LongTime),
              QStringLiteral("23:59:59"));

    DateTimeRecord r;
    ASSERT_TRUE(DateTimeHelper::ParseDateText(
        QStringLiteral("2026-12-09T") +
            DateTimeHelper::TimeOfDayText(45296, DateTimeHelper::LongTime),
        r));
    EXPECT_EQ(r, (DateTimeRecord{DateTimeHelper::DaySerial(QDate(2026, 12, 9)), 45296.0F}));

    for (const char* bad : {"", "2026-13-01T00:00:00", "2026-02-30T00:00:00", "2026-12-09T24:00:00",
                            "yesterday", "2026-12-09T10:00:00junk"}) {
        EXPECT_FALSE(DateTimeHelper::ParseDateText(QString::fromLatin1(bad), r)) << bad;
        EXPECT_EQ(r, DateTimeRecord{});
    }
}
} // namespace
