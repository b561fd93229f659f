#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class OrlixMessage;
class OrlixMessageList;
class OrlixPrize;
class OrlixPrizeWinner;
class QWidget;

// Printing messages and prize-winner lists from the database's HTML templates, and the tag
// filling over the program's directory and messages database. Without a messages database
// open, printing does nothing and the station's tags are filled empty.

// The common tags, the station's from the printing database (empty without one) and the
// current user's from the directory.
QString ReplaceTemplateTags(const QString& text);
// A contact block of the directory's contact; an unknown reference (or 0) fills the
// prefix's tags with empty values.
QString ReplaceContactTags(const QString& text, qint32 reference, const QString& prefix);
QString FillPrizeWinnersTemplate(const OrlixPrize& prize, const QString& templatePath);
QString FillPrizeWinnerFields(const QString& block, const OrlixPrizeWinner& winner);
QString FillPrizeFields(const OrlixPrize& prize, const QString& text);

// Each fills its template and opens the HTML print preview, owned by parent, on the
// result; a null input, no template, a cancelled choice or an empty template does nothing.
void PrintMessageFromTemplate(const OrlixMessage* message, QWidget* parent);
void PrintMessagesFromTemplate(const OrlixMessageList* messages, QWidget* parent);
void PrintPrizeWinnersFromTemplate(const OrlixPrize* prize, QWidget* parent);
