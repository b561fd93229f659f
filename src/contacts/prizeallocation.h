#pragma once

#include <QString>

#include <functional>

// The rules under which the prize window adds and removes winners, apart from the window so
// that each answer of the user can be tried in a table. The numbers are the prize object's as
// edited, saved or not; the storage refuses a winner beyond the stored number on its own.
namespace PrizeAllocation {

extern const char* const kZeroSupplied;
extern const char* const kFullyAllocated;
extern const char* const kSaveBeforeAdding;
extern const char* const kSaveBeforeRemoving;
extern const char* const kConfirmRemoval;

enum class AddOutcome { RefusedZero, RefusedFullyAllocated, SaveDeclined, SaveFailed, OpenWinner };

struct AddInputs {
    qint32 numberSupplied = 0;
    qint32 numberWinners = 0;
    bool edited = false;
};

// askSave puts the save question (Yes the default) and gives true for Yes; save stores the
// prize and gives whether it was stored. Neither is called when the counts refuse first.
AddOutcome AddWinner(const AddInputs& in, const std::function<bool()>& askSave,
                     const std::function<bool()>& save);

// The message shown for a refusal of AddWinner, empty for the other outcomes.
QString AddRefusalText(AddOutcome outcome);

enum class RemoveOutcome { SaveDeclined, SaveFailed, NothingToRemove, Declined, Remove };

// What is to be removed, read after a save (which gives an unstored prize its Reference).
struct RemoveTarget {
    qint32 prizeReference = 0;
    bool selected = false;
    // The selected winner's Reference; 0 or less when the position names no stored winner.
    qint32 winnerReference = 0;
};

// askSave as for AddWinner (its text is kSaveBeforeRemoving); askRemove puts kConfirmRemoval
// (No the default) and gives true for Yes. Remove means: delete the winner now.
RemoveOutcome RemoveWinner(bool edited, const std::function<bool()>& askSave,
                           const std::function<bool()>& save,
                           const std::function<RemoveTarget()>& target,
                           const std::function<bool()>& askRemove);

} // namespace PrizeAllocation
