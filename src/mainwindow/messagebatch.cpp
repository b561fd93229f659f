#include "mainwindow/messagebatch.h"

namespace {
class BusyGuard {
public:
    explicit BusyGuard(MessageBatchTarget& target) : target_(target) { target_.Begin(); }
    ~BusyGuard() { target_.Finish(); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    MessageBatchTarget& target_;
};
} // namespace

qint32 ActOnSelectedMessages(qint32 mode, const QList<qint32>& references,
                             MessageBatchTarget& target) {
    if (mode < kBatchDelete || mode > kBatchPrint || references.isEmpty()) {
        return 0;
    }
    qint32 folder = 0;
    if (mode == kBatchMove || mode == kBatchCopy) {
        folder = target.ChooseFolder(mode == kBatchCopy ? QStringLiteral("Copy messages to")
                                                        : QStringLiteral("Move messages to"));
        if (folder < 1) {
            return 0;
        }
    }
    qint32 count = 0;
    {
        const BusyGuard busy(target);
        for (const qint32 reference : references) {
            bool ok = false;
            switch (mode) {
            case kBatchDelete:
                ok = target.Delete(reference);
                break;
            case kBatchMove:
                ok = target.Move(reference, folder);
                break;
            case kBatchCopy:
                ok = target.Copy(reference, folder);
                break;
            default:
                ok = target.Gather(reference);
                break;
            }
            if (ok) {
                ++count;
            }
        }
    }
    if (count > 0) {
        if (mode == kBatchDelete) {
            target.AnnounceDeleted();
        } else if (mode == kBatchPrint) {
            target.PrintGathered();
        } else {
            target.AnnounceChanged();
        }
    }
    return count;
}
