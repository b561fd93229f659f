#pragma once

#include <QList>
#include <QString>

// What a batch action on the ticked messages needs from the program: the database's calls, the
// folder chooser and the printing of the gathered messages.
class MessageBatchTarget {
public:
    virtual ~MessageBatchTarget() = default;
    // The chosen folder, less than 1 when cancelled.
    virtual qint32 ChooseFolder(const QString& caption) = 0;
    // The hourglass and the database's events off; Finish puts both back.
    virtual void Begin() = 0;
    virtual void Finish() = 0;
    virtual bool Delete(qint32 reference) = 0;
    virtual bool Move(qint32 reference, qint32 folder) = 0;
    virtual bool Copy(qint32 reference, qint32 folder) = 0;
    // The message fetched and added to the list to print; false when it is gone.
    virtual bool Gather(qint32 reference) = 0;
    virtual void AnnounceDeleted() = 0;
    virtual void AnnounceChanged() = 0;
    virtual void PrintGathered() = 0;
};

enum MessageBatchMode : qint32 {
    kBatchDelete = 0,
    kBatchMove = 1,
    kBatchCopy = 2,
    kBatchPrint = 3,
};

// Runs mode on each reference in order and returns how many succeeded. Nothing ticked or the
// chooser cancelled does nothing; a failure is skipped; only a batch with a success announces
// or prints. Deleting asks nothing. Finish runs whatever a call throws.
qint32 ActOnSelectedMessages(qint32 mode, const QList<qint32>& references,
                             MessageBatchTarget& target);
