#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

// One prize as the prize list shows it.
struct PrizeListLine {
    qint32 Reference = 0;
    QString Title;
    QDateTime StartDate;
    QDateTime EndDate;
    qint32 NumberSupplied = 0;
    qint32 NumberWon = 0;
};

// A prize runs until its end date has passed; one without an end date always runs.
bool PrizeRunning(const PrizeListLine& prize, const QDateTime& now);

// The list's order: running prizes first, then the ended ones, each group by title (without
// regard to letter case), equal titles by Reference.
void SortPrizeLines(QVector<PrizeListLine>& lines, const QDateTime& now);

// "won of supplied", as the list shows it.
QString PrizeWonText(const PrizeListLine& prize);
