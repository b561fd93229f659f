#include "core/printing/templatetags.h"

#include "platform/system/stringhelper.h"
#include "platform/web/htmltext.h"

#include <QLocale>

#include <functional>

namespace TemplateTags {
QString FormatClock(const QDateTime& when, ClockFormat format) {
    const QLocale locale = QLocale::system();
    const QString shortDate = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time = when.time().toString(QStringLiteral("HH:mm"));
    switch (format) {
    case ClockFormat::ShortDate:
        return shortDate;
    case ClockFormat::LongDate:
        return locale.toString(when.date(), QLocale::LongFormat);
    case ClockFormat::Time:
        return time;
    case ClockFormat::DateTime:
        return shortDate + QLatin1Char(' ') + time;
    case ClockFormat::TimeDate:
        return time + QLatin1Char(' ') + shortDate;
    }
    return shortDate;
}
} // namespace TemplateTags

namespace {
QString tag(const char* name) {
    return QLatin1Char('<') + QLatin1String(name) + QLatin1Char('>');
}
QString number(qint32 n) {
    return QString::number(n);
}

// A number, date or time of the program's own: escaped, but no field of outside text, so not
// isolated (a template may put a reference into a link).
QString ownValue(const QString& text, const char* name, const QString& value) {
    QString s = text;
    return s.replace(tag(name), HtmlText::Escape(value), Qt::CaseSensitive);
}
} // namespace

QString ReplaceTemplateTags(const QString& text, const TemplateTagSource& source) {
    using TemplateTags::ClockFormat;
    using TemplateTags::FormatClock;
    const StationTagValues station = source.Station();
    QString s = text;
    const auto put = [&s](const char* name, const QString& value) {
        s = StringHelper::ReplaceText(s, tag(name), value, true);
    };
    put("OCP_STATION_NAME", station.Name);
    put("OCP_STATION_ADDRESS", station.Address);
    put("OCP_STATION_ADDRESSSTRING", station.AddressString);
    put("OCP_STATION_PHONENUMBER", station.PhoneNumber);
    put("OCP_STATION_SMSPHONENUMBER", station.SMSPhoneNumber);
    put("OCP_STATION_COMPANYNUMBER", station.CompanyNumber);
    put("OCP_STATION_VATNUMBER", station.VATNumber);
    const struct {
        const char* name;
        bool utc;
        ClockFormat format;
    } clock[] = {
        {"OCP_CURRENTDATE", false, ClockFormat::ShortDate},
        {"OCP_CURRENTDATELONG", false, ClockFormat::LongDate},
        {"OCP_CURRENTTIME", false, ClockFormat::Time},
        {"OCP_CURRENTDATETIME", false, ClockFormat::DateTime},
        {"OCP_CURRENTTIMEDATE", false, ClockFormat::TimeDate},
        {"OCP_GMTCURRENTDATE", true, ClockFormat::ShortDate},
        {"OCP_GMTCURRENTDATELONG", true, ClockFormat::LongDate},
        {"OCP_GMTCURRENTTIME", true, ClockFormat::Time},
        {"OCP_GMTCURRENTDATETIME", true, ClockFormat::DateTime},
        {"OCP_GMTCURRENTTIMEDATE", true, ClockFormat::TimeDate},
    };
    for (const auto& c : clock) {
        const QString t = tag(c.name);
        if (s.contains(t)) {
            s = ownValue(s, c.name,
                         FormatClock(c.utc ? source.UtcNow() : source.LocalNow(), c.format));
        }
    }
    return source.ReplaceContactTags(s, source.CurrentUserReference(),
                                     QStringLiteral("CURRENTUSER"));
}

QString FillPrizeWinnerFields(const QString& block, const PrizeWinnerTagValues& winner,
                              const TemplateTagSource& source) {
    QString s = block;
    const auto put = [&s](const char* name, const QString& value, bool option) {
        s = StringHelper::ReplaceText(s, tag(name), value, option);
    };
    const auto own = [&s](const char* name, const QString& value) { s = ownValue(s, name, value); };
    own("OCP_PRIZEWINNER_REFERENCE", number(winner.Reference));
    own("OCP_PRIZEWINNER_PRIZEREFERENCE", number(winner.PrizeReference));
    own("OCP_PRIZEWINNER_WINNERREFERENCE", number(winner.WinnerReference));
    own("OCP_PRIZEWINNER_SENTBYREFERENCE", number(winner.SentByReference));
    own("OCP_PRIZEWINNER_AWARDEDBYREFERENCE", number(winner.AwardedByReference));
    own("OCP_PRIZEWINNER_SENTDATE", winner.SentDate);
    own("OCP_PRIZEWINNER_WONDATE", winner.WonDate);
    put("OCP_PRIZEWINNER_NOTES", winner.Notes, false);
    put("OCP_PRIZEWINNER_NOTESTOSUPPLIER", winner.NotesToSupplier, false);
    s = source.ReplaceContactTags(s, winner.AwardedByReference,
                                  QStringLiteral("PRIZEWINNER_AWARDEDBY"));
    s = source.ReplaceContactTags(s, winner.SentByReference, QStringLiteral("PRIZEWINNER_SENTBY"));
    s = source.ReplaceContactTags(s, winner.WinnerReference, QStringLiteral("PRIZEWINNER_WINNER"));
    return s;
}

QString FillPrizeFields(const PrizeTagValues& prize, const QString& text,
                        const TemplateTagSource& source) {
    QString s = text;
    const auto put = [&s](const char* name, const QString& value, bool option) {
        s = StringHelper::ReplaceText(s, tag(name), value, option);
    };
    const auto own = [&s](const char* name, const QString& value) { s = ownValue(s, name, value); };
    own("OCP_PRIZE_REFERENCE", number(prize.Reference));
    put("OCP_PRIZE_TITLE", prize.Title, true);
    own("OCP_PRIZE_NUMBERSUPPLIED", number(prize.NumberSupplied));
    own("OCP_PRIZE_NUMBERWINNERS", number(prize.NumberWinners));
    own("OCP_PRIZE_ADDEDDATE", prize.AddedDate);
    own("OCP_PRIZE_STARTDATE", prize.StartDate);
    own("OCP_PRIZE_ENDDATE", prize.EndDate);
    put("OCP_PRIZE_NOTES", prize.Notes, true);
    put("OCP_PRIZE_NOTESTOSUPPLIER", prize.NotesToSupplier, true);
    put("OCP_PRIZE_SCRIPT", prize.Script, false);
    s = source.ReplaceContactTags(s, prize.AddedByReference, QStringLiteral("PRIZE_ADDEDBY"));
    s = source.ReplaceContactTags(s, prize.SupplierReference, QStringLiteral("PRIZE_SUPPLIER"));
    return s;
}

QString ExpandPrizeWinnerBlocks(const QString& text, const PrizeTagValues& prize,
                                const TemplateTagSource& source) {
    using TemplateTags::kRepeatClose;
    using TemplateTags::kRepeatOpen;
    QString s = text;
    qsizetype from = 0;
    for (;;) {
        const qsizetype open = s.indexOf(kRepeatOpen, from, Qt::CaseInsensitive);
        if (open < 0) {
            break;
        }
        const qsizetype close = s.indexOf(kRepeatClose, open, Qt::CaseInsensitive);
        if (close < 0) {
            break;
        }
        const qsizetype blockStart = open + kRepeatOpen.size();
        const QString block = s.mid(blockStart, close - blockStart);
        QString expansion;
        // A record that claims more winners than it holds fills the ones it has.
        const qsizetype count = qMin<qsizetype>(qMax(prize.NumberWinners, 0), prize.Winners.size());
        for (qsizetype i = 0; i < count; ++i) {
            expansion += FillPrizeWinnerFields(block, prize.Winners[i], source);
        }
        s.replace(open, close + kRepeatClose.size() - open, expansion);
        from = open + expansion.size();
    }
    return s;
}

QString FillPrizeWinnersTemplateText(const PrizeTagValues& prize, const QString& templateText,
                                     const TemplateTagSource& source) {
    if (templateText.isEmpty()) {
        return {};
    }
    QString s = ReplaceTemplateTags(templateText, source);
    s = ExpandPrizeWinnerBlocks(s, prize, source);
    return FillPrizeFields(prize, s, source);
}

QString FillPrizeWinnersTemplate(const PrizeTagValues& prize, const QString& templatePath,
                                 const TemplateTagSource& source) {
    if (templatePath.isEmpty()) {
        return {};
    }
    return FillPrizeWinnersTemplateText(prize, StringHelper::ReadTextFile(templatePath, -1),
                                        source);
}
