#include "contacts/prizeallocation.h"

namespace PrizeAllocation {

const char* const kZeroSupplied =
    "You cannot add any Winners to this Prize because the 'Number Supplied' is zero!";
const char* const kFullyAllocated =
    "You cannot add any more Winners to this Prize because it has been fully allocated!";
const char* const kSaveBeforeAdding = "This Prize must be saved before you can add a Winner.\n\n"
                                      "Do you want to save the Prize's details now?";
const char* const kSaveBeforeRemoving =
    "This Prize must be saved before you can remove a Winner.\n\n"
    "Do you want to save the Prize's details now?";
const char* const kConfirmRemoval = "Are you sure you want to remove this Winner from this Prize?";

AddOutcome AddWinner(const AddInputs& in, const std::function<bool()>& askSave,
                     const std::function<bool()>& save) {
    if (in.numberSupplied < 1) {
        return AddOutcome::RefusedZero;
    }
    if (in.numberWinners >= in.numberSupplied) {
        return AddOutcome::RefusedFullyAllocated;
    }
    if (in.edited) {
        if (!askSave || !askSave()) {
            return AddOutcome::SaveDeclined;
        }
        if (!save || !save()) {
            return AddOutcome::SaveFailed;
        }
    }
    return AddOutcome::OpenWinner;
}

QString AddRefusalText(AddOutcome outcome) {
    switch (outcome) {
    case AddOutcome::RefusedZero:
        return QString::fromUtf8(kZeroSupplied);
    case AddOutcome::RefusedFullyAllocated:
        return QString::fromUtf8(kFullyAllocated);
    default:
        return QString();
    }
}

RemoveOutcome RemoveWinner(bool edited, const std::function<bool()>& askSave,
                           const std::function<bool()>& save,
                           const std::function<RemoveTarget()>& target,
                           const std::function<bool()>& askRemove) {
    if (edited) {
        if (!askSave || !askSave()) {
            return RemoveOutcome::SaveDeclined;
        }
        if (!save || !save()) {
            return RemoveOutcome::SaveFailed;
        }
    }
    const RemoveTarget in = target ? target() : RemoveTarget{};
    if (in.prizeReference <= 0 || !in.selected || in.winnerReference <= 0) {
        return RemoveOutcome::NothingToRemove;
    }
    if (!askRemove || !askRemove()) {
        return RemoveOutcome::Declined;
    }
    return RemoveOutcome::Remove;
}

} // namespace PrizeAllocation
