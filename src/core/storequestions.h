#pragma once

#include <QString>

// What a window asks and tells when a whole record it saves could not simply be written: the
// stored one was changed or deleted on another computer since the window read it, or the store
// refused it. item names the record as the texts begin ("The Contact 'Kate Listener'", "This
// Prize Winner").
namespace StoreQuestions {

// Yes, No and Cancel, Cancel the default: Yes writes this version over the other, No shows the
// other computer's, Cancel keeps the edits unsaved.
QString ChangedElsewhere(const QString& item);
// Yes and No, No the default: Yes saves the window's version as a new record of its kind.
QString DeletedElsewhere(const QString& item, const QString& kind);
// The failure box: the item, then the store's reason as a sentence.
QString CouldNotBeSaved(const QString& item, const QString& reason);
// "The <kind> '<name>'"
QString Named(const QString& kind, const QString& name);

} // namespace StoreQuestions
