#include "messagesdbfixture.h"

#include "platform/messagesdb/messagefilter.h"
#include "platform/messagesdb/storeddates.h"

#include <QLocale>

namespace {
struct FilterCase {
    const char* Filter;
    bool Ok;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << (c.Ok ? "valid: " : "invalid: ") << c.Filter;
}

class FilterTable : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTable, IsAcceptedOrRefused) {
    const MessageFilter::Result r = MessageFilter::Parse(QString::fromUtf8(GetParam().Filter));
    EXPECT_EQ(r.Ok, GetParam().Ok) << GetParam().Filter << " : " << r.Error.toStdString();
    if (!r.Ok) {
        EXPECT_FALSE(r.Error.isEmpty());
    } else {
        EXPECT_EQ(r.Where.count(QLatin1Char('?')), r.Values.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, FilterTable,
    ::testing::Values(
        FilterCase{"", true}, FilterCase{"   ", true}, FilterCase{" [Received]>46000.25", true},
        FilterCase{" [Received]>46000.25 AND [Folder]=3", true},
        FilterCase{"[received] >= 46000 and [kind] = 2", true},
        FilterCase{"([Folder]=3 OR [Folder]=6) AND NOT [Flags] HAS 1", true},
        FilterCase{"[Subject] LIKE '*win*'", true}, FilterCase{"[From]=\"ann@example.org\"", true},
        FilterCase{"[Subject]='it''s'", true}, FilterCase{"[Received]>4.6e4", true},
        FilterCase{"[Folder]<>2", true}, FilterCase{"[Folder]!=2", true},
        FilterCase{"[Owner]=0", true}, FilterCase{"[SendAfter]<=46000.5", true},
        // Refused: unknown fields, broken syntax, wrong value types, decimal commas.
        FilterCase{"[Nonsense]=1", false}, FilterCase{"Received>1", false},
        FilterCase{"[Received]>", false}, FilterCase{"[Received] 46000", false},
        FilterCase{"[Received]>46000,5", false}, FilterCase{"[Received]>46000.5.1", false},
        FilterCase{"[Received]>'46000'", false}, FilterCase{"[Subject]=1", false},
        FilterCase{"[Subject] HAS 1", false}, FilterCase{"[Folder] LIKE '3'", false},
        FilterCase{"[Flags] HAS 1.5", false}, FilterCase{"([Folder]=3", false},
        FilterCase{"[Folder]=3)", false}, FilterCase{"[Folder]=3 AND", false},
        FilterCase{"[Folder]=3 OR OR [Folder]=2", false}, FilterCase{"[Subject]='open", false},
        FilterCase{"[Received]>1e400", false}, FilterCase{"[Received]>99999999", false},
        FilterCase{"[Folder]=3; DROP TABLE messages", false},
        FilterCase{"[Folder]=3 -- comment", false}, FilterCase{"[Folder", false},
        FilterCase{"[Folder]=abc", false}, FilterCase{"[Received]>NaN", false}));
} // namespace

TEST(MessageFilterTest, NestingAndLengthAreBounded) {
    const QString deep = QString(200, QLatin1Char('(')) + QStringLiteral("[Folder]=3") +
                         QString(200, QLatin1Char(')'));
    EXPECT_FALSE(MessageFilter::Parse(deep).Ok);
    const QString ok = QString(10, QLatin1Char('(')) + QStringLiteral("[Folder]=3") +
                       QString(10, QLatin1Char(')'));
    EXPECT_TRUE(MessageFilter::Parse(ok).Ok);
    QString longFilter = QStringLiteral("[Folder]=3");
    while (longFilter.size() <= MessageFilter::kMaxLength) {
        longFilter += QStringLiteral(" OR [Folder]=3");
    }
    EXPECT_FALSE(MessageFilter::Parse(longFilter).Ok);
}

class FilteredMessagesTest : public MessagesDbTest {
protected:
    void SetUp() override {
        MessagesDbTest::SetUp();
        open();
        now_ = QDateTime::currentDateTimeUtc();
        old_ = storeReceived(QStringLiteral("two days ago"), now_.addDays(-2));
        recent_ = storeReceived(QStringLiteral("an hour ago"), now_.addSecs(-3600));
        sms_ = storeReceived(QStringLiteral("sms ten minutes ago"), now_.addSecs(-600),
                             OrlixMessage::KindSms);
        auto draft = email(QStringLiteral("draft, never received"));
        bool ok = false;
        db_->StoreMessage(*draft, ok);
        draft_ = draft->Reference();
    }
    QList<qint32> refs(const QString& filter) {
        QList<qint32> out;
        auto list = db_->GetMessages(filter);
        if (!list) {
            out << -1;
            return out;
        }
        for (const auto& m : list->Messages()) {
            out << m->Reference();
        }
        return out;
    }
    // The main window's time term: the cut-off as a date number written with ".".
    QString cutOff(int minutes) const {
        return QStringLiteral(" [Received]>") +
               QString::number(StoredDates::ToDateNumber(now_.addSecs(-60 * minutes)), 'f', 10);
    }
    QDateTime now_;
    qint32 old_ = 0, recent_ = 0, sms_ = 0, draft_ = 0;
};

TEST_F(FilteredMessagesTest, TheReceivedCutOffGivesTheLastHoursNewestFirst) {
    EXPECT_EQ(refs(cutOff(240)), (QList<qint32>{sms_, recent_}));
    EXPECT_EQ(refs(cutOff(30)), (QList<qint32>{sms_}));
    EXPECT_EQ(refs(cutOff(24 * 60 * 3)), (QList<qint32>{sms_, recent_, old_}));
    EXPECT_EQ(refs(cutOff(240) + QStringLiteral(" AND [Kind]=1")), (QList<qint32>{recent_}));
    EXPECT_EQ(refs(QString()).size(), 4);
    EXPECT_EQ(refs(QStringLiteral("[Folder]=6")), (QList<qint32>{draft_}));
}

TEST_F(FilteredMessagesTest, ALimitKeepsTheNewestOfTheFilter) {
    auto newest = [this](const QString& filter, int limit) {
        QList<qint32> out;
        const auto list = db_->GetMessages(filter, limit);
        for (const auto& m : list->Messages()) {
            out << m->Reference();
        }
        return out;
    };
    EXPECT_EQ(newest(cutOff(24 * 60 * 3), 2), (QList<qint32>{sms_, recent_}));
    EXPECT_EQ(newest(cutOff(24 * 60 * 3), 1), (QList<qint32>{sms_}));
    EXPECT_EQ(newest(cutOff(24 * 60 * 3), 0).size(), 3) << "0: no limit";
    EXPECT_EQ(newest(QStringLiteral("[Kind]=1"), 1), (QList<qint32>{recent_}));
}

TEST_F(FilteredMessagesTest, TheCutOffReadsTheSameInALocaleWithDecimalCommas) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(refs(cutOff(240)), (QList<qint32>{sms_, recent_}));
    // A cut-off written with the locale's comma is refused, not read as a whole day.
    const QString comma =
        QLocale().toString(StoredDates::ToDateNumber(now_.addSecs(-240 * 60)), 'f', 6);
    ASSERT_TRUE(comma.contains(QLatin1Char(',')));
    EXPECT_EQ(refs(QStringLiteral(" [Received]>") + comma), (QList<qint32>{-1}));
    EXPECT_TRUE(logged(QStringLiteral("was refused")));
    QLocale::setDefault(before);
}

TEST_F(FilteredMessagesTest, MalformedFiltersGiveNoListAndALogLine) {
    for (const char* filter : {"[Nonsense]=1", "[Received]>", "garbage"}) {
        log_.clear();
        EXPECT_EQ(db_->GetMessages(QString::fromUtf8(filter)), nullptr) << filter;
        EXPECT_TRUE(logged(QStringLiteral("was refused"))) << filter;
    }
}

TEST_F(FilteredMessagesTest, HostileValuesAreOnlyEverCompared) {
    const qint32 hostile = storeReceived(QStringLiteral("x' OR 1=1 --"), now_);
    EXPECT_EQ(refs(QStringLiteral("[Subject]='x'' OR 1=1 --'")), (QList<qint32>{hostile}));
    EXPECT_EQ(refs(QStringLiteral("[Subject]='nothing'' OR ''1''=''1'")), (QList<qint32>{}));
    EXPECT_EQ(refs(QStringLiteral("[Subject] LIKE '*%*'")), (QList<qint32>{}))
        << "% is no wildcard";
    EXPECT_EQ(refs(QStringLiteral("[Subject] LIKE '*AN HOUR*'")), (QList<qint32>{recent_}));
    EXPECT_EQ(refs(QStringLiteral("[Subject]='AN HOUR AGO'")), (QList<qint32>{recent_}));
    EXPECT_EQ(db_->GetMessages(QString())->Count(), 5) << "nothing was changed by a filter";
}

TEST_F(FilteredMessagesTest, FlagsAndOwnerCanBeFiltered) {
    auto m = db_->GetMessage(recent_);
    m->SetFlags(OrlixMessage::FlagRead | 16);
    m->SetPersonalOwner(12);
    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(refs(QStringLiteral("[Flags] HAS 1")), (QList<qint32>{recent_}));
    EXPECT_EQ(refs(QStringLiteral("[Flags] HAS 17")), (QList<qint32>{recent_}));
    EXPECT_EQ(refs(QStringLiteral("[Flags] HAS 3")), (QList<qint32>{}));
    EXPECT_EQ(refs(QStringLiteral("NOT [Flags] HAS 1 AND [Folder]=3")),
              (QList<qint32>{sms_, old_}));
    EXPECT_EQ(refs(QStringLiteral("[Owner]=12")), (QList<qint32>{recent_}));
}
