#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The template tag scheme's text work: the common tags (station, clock, current user), the
// prize and prize-winner tags and the winners' repeat block. What the tags read from the
// rest of the program comes through TemplateTagSource, so the filling is plain text work.

struct StationTagValues {
    QString Name;
    QString Address;
    QString AddressString; // the address on one line, parts joined by ","
    QString PhoneNumber;
    QString SMSPhoneNumber;
    QString CompanyNumber;
    QString VATNumber;
};

struct PrizeWinnerTagValues {
    qint32 Reference = 0;
    qint32 PrizeReference = 0;
    qint32 WinnerReference = 0;
    qint32 AwardedByReference = 0;
    qint32 SentByReference = 0; // 0: the prize was not sent
    QString Notes;
    QString NotesToSupplier;
    QString WonDate; // the records' own date texts
    QString SentDate;
};

struct PrizeTagValues {
    qint32 Reference = 0;
    qint32 NumberSupplied = 0;
    qint32 NumberWinners = 0;
    qint32 SupplierReference = 0;
    qint32 AddedByReference = 0;
    QString Title;
    QString Notes;
    QString NotesToSupplier;
    QString Script;
    QString AddedDate;
    QString StartDate;
    QString EndDate;
    QList<PrizeWinnerTagValues> Winners; // Winner(1) .. Winner(NumberWinners)
};

class TemplateTagSource {
public:
    virtual ~TemplateTagSource() = default;
    virtual StationTagValues Station() const = 0;
    // Read again for every clock tag.
    virtual QDateTime LocalNow() const = 0;
    virtual QDateTime UtcNow() const = 0;
    // 0 when nobody is logged in.
    virtual qint32 CurrentUserReference() const = 0;
    // The contact block of one directory contact under prefix; an unknown reference (or 0)
    // fills the prefix's tags with empty values.
    virtual QString ReplaceContactTags(const QString& text, qint32 reference,
                                       const QString& prefix) const = 0;
};

namespace TemplateTags {
inline const QString kRepeatOpen = QStringLiteral("<OCP_PRIZEWINNERS_REPEAT>");
inline const QString kRepeatClose = QStringLiteral("</OCP_PRIZEWINNERS_REPEAT>");

// "ddddd" (the system's short date), "dddddd" (its long date), "hh:nn" and their pairs.
enum class ClockFormat { ShortDate, LongDate, Time, DateTime, TimeDate };
QString FormatClock(const QDateTime& when, ClockFormat format);
} // namespace TemplateTags

// The common tags in their order, the CURRENTUSER contact block last.
QString ReplaceTemplateTags(const QString& text, const TemplateTagSource& source);

QString FillPrizeWinnerFields(const QString& block, const PrizeWinnerTagValues& winner,
                              const TemplateTagSource& source);
QString FillPrizeFields(const PrizeTagValues& prize, const QString& text,
                        const TemplateTagSource& source);

// Copies the text between each repeat tag pair once per winner, in order, filled with that
// winner's tags; the search goes on after the copies just made, so a filled copy that holds
// a repeat tag is never expanded again. An opening tag without its closing tag ends the
// expansion and stays in the text as written.
QString ExpandPrizeWinnerBlocks(const QString& text, const PrizeTagValues& prize,
                                const TemplateTagSource& source);

// A winners template's text filled: common tags, repeat blocks, then prize tags. "" for an
// empty template.
QString FillPrizeWinnersTemplateText(const PrizeTagValues& prize, const QString& templateText,
                                     const TemplateTagSource& source);
// The same read from the template file; "" when the path is empty or the file's text is.
QString FillPrizeWinnersTemplate(const PrizeTagValues& prize, const QString& templatePath,
                                 const TemplateTagSource& source);
