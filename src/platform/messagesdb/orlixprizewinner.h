#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

// One allocation of a prize to a contact. Every setter marks the record edited and raises
// PrizeWinnerEdited(true); setting Edited raises it with the new value.
class OrlixPrizeWinner : public QObject {
    Q_OBJECT
public:
    OrlixPrizeWinner() = default;

    qint32 Reference() const { return reference_; }
    qint32 PrizeReference() const { return prizeReference_; }
    bool Edited() const { return edited_; }
    void SetEdited(bool edited);

    qint32 WinnerReference() const { return winnerReference_; }
    void SetWinnerReference(qint32 v);
    qint32 AwardedByReference() const { return awardedByReference_; }
    void SetAwardedByReference(qint32 v);
    // 0: the prize was not sent.
    qint32 SentByReference() const { return sentByReference_; }
    void SetSentByReference(qint32 v);
    QString Notes() const { return notes_; }
    void SetNotes(const QString& v);
    QString NotesToSupplier() const { return notesToSupplier_; }
    void SetNotesToSupplier(const QString& v);
    QDateTime WonDate() const { return wonDate_; }
    void SetWonDate(const QDateTime& v);
    QDateTime SentDate() const { return sentDate_; }
    void SetSentDate(const QDateTime& v);
    QString WonDateText() const;
    QString SentDateText() const;

Q_SIGNALS:
    void PrizeWinnerEdited(bool edited);

private:
    friend class PrizeTable;
    friend class OrlixDatabase;
    void touch() { SetEdited(true); }

    qint32 reference_ = 0;
    qint32 prizeReference_ = 0;
    bool edited_ = false;
    qint32 winnerReference_ = 0;
    qint32 awardedByReference_ = 0;
    qint32 sentByReference_ = 0;
    QString notes_;
    QString notesToSupplier_;
    QDateTime wonDate_;
    QDateTime sentDate_;
};
