#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class OrlixPrizeWinner;

// A competition prize. Every setter (and SetHour) marks it edited and raises
// PrizeEdited(true); setting Edited raises it with the new value.
//
// Hour restrictions: day 1 (Monday) to 7; hour h (0..23) is available exactly when the
// capital letter chr(65 + h) ("A".."X") occurs in the day's text, compared case-sensitively.
// A new prize is available in every hour.
class OrlixPrize : public QObject {
    Q_OBJECT
public:
    static const QString kAllHours;

    OrlixPrize();
    ~OrlixPrize() override;

    qint32 Reference() const { return reference_; }
    bool Edited() const { return edited_; }
    void SetEdited(bool edited);

    QString Title() const { return title_; }
    void SetTitle(const QString& v);
    QString Notes() const { return notes_; }
    void SetNotes(const QString& v);
    QString NotesToSupplier() const { return notesToSupplier_; }
    void SetNotesToSupplier(const QString& v);
    QString Script() const { return script_; }
    void SetScript(const QString& v);

    QDateTime StartDate() const { return startDate_; }
    void SetStartDate(const QDateTime& v);
    QDateTime EndDate() const { return endDate_; }
    void SetEndDate(const QDateTime& v);
    QDateTime AddedDate() const { return addedDate_; }
    void SetAddedDate(const QDateTime& v);
    QString StartDateText() const;
    QString EndDateText() const;
    QString AddedDateText() const;

    // Day 1..7; "" outside.
    QString HourRestrictions(int day) const;
    void SetHourRestrictions(int day, const QString& text);
    void SetHour(int day, int hour, bool allowed);
    bool HourAllowed(int day, int hour) const;

    qint32 NumberSupplied() const { return numberSupplied_; }
    void SetNumberSupplied(qint32 v);
    qint32 SupplierReference() const { return supplierReference_; }
    void SetSupplierReference(qint32 v);
    qint32 AddedByReference() const { return addedByReference_; }
    void SetAddedByReference(qint32 v);

    // Loads the winners from the database; false when they could not be read.
    bool LoadWinners();
    // The count of loaded winners.
    qint32 NumberWinners() const { return static_cast<qint32>(winners_.size()); }
    // 1..NumberWinners, in the order they were allocated; null outside.
    std::shared_ptr<OrlixPrizeWinner> Winner(int index) const;

Q_SIGNALS:
    void PrizeEdited(bool edited);

private:
    friend class PrizeTable;
    friend class OrlixDatabase;
    void touch() { SetEdited(true); }

    qint32 reference_ = 0;
    bool edited_ = false;
    QString title_;
    QString notes_;
    QString notesToSupplier_;
    QString script_;
    QDateTime startDate_;
    QDateTime endDate_;
    QDateTime addedDate_;
    std::array<QString, 7> hours_;
    qint32 numberSupplied_ = 0;
    qint32 supplierReference_ = 0;
    qint32 addedByReference_ = 0;
    std::vector<std::shared_ptr<OrlixPrizeWinner>> winners_;
    std::function<bool(qint32, std::vector<std::shared_ptr<OrlixPrizeWinner>>&)> winnerLoader_;
};
