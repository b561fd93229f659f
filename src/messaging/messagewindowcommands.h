#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <optional>

class DirectoryContact;
class KVDirectory;
class OrlixDatabase;
class OrlixMessage;
class QAction;
class QWidget;
class cOCSettings;

// What the e-mail and SMS windows do alike with the message they show: the program's
// services read at each use (a window never keeps them), saving with the user's rights,
// queueing for sending, deleting, moving or copying to a folder, answering and closing. The
// boxes they show go to the window given as owner.
namespace messagewindow {

// The window's inner area placed by emailrules::PlaceWindow against the main window (else
// the primary screen), its screen's available area and the main window's frame margins, which
// a window not yet shown shares. `last` is the last window's inner area, none for the first.
QRect PlaceOnScreen(const std::optional<QRect>& last, const QSize& size);

OrlixDatabase* Database();
KVDirectory* Directory();
const cOCSettings* StationSettings();

// How the main window's message list is asked for its folder and told to read again; one set
// for both windows, which tests replace. Empty hooks: no list to refresh.
void SetMessageListHooks(std::function<qint32()> currentFolder, std::function<void()> refresh);
// The list reads again when it shows the folder the message left or the one it went to.
void RefreshListShowing(qint32 oldFolder, qint32 newFolder);

// Stored when the logged-in user may save it, then added to the user's recent messages;
// refusals and a failed store show their boxes. True when stored.
bool Save(OrlixMessage& message, QWidget* owner);
// Queued in the Outbox and stored. A failed store puts back what queueing changed (the user
// is told it was not sent: a later save must not queue it after all) and says so.
bool QueueAndStore(OrlixMessage& message, QWidget* owner);
// A message opened in a window leaves the Outbox queue until it is sent again; a failed
// store is logged silently with the context given.
void TakeOutOfQueue(OrlixMessage& message, const char* context);

// Asked first; true when the stored message was deleted and the window should go.
bool Delete(OrlixMessage& message, QWidget* owner);
// The folder chooser, then the message moved there (true: the window should go) or a copy of
// it stored there. A failed move puts the old folder back; failures show their boxes.
bool MoveOrCopy(OrlixMessage& message, bool move, QWidget* owner);

// Save enabled exactly while edited, Move exactly while not.
void ShowEditedState(QAction* save, QAction* move, bool edited);
// The From menu's captions: the station's sender, and the logged-in user's while the user
// has an e-mail address (the item hidden otherwise).
void PrepareFromMenu(QAction* station, QAction* personal);
// The directory's contact chooser; null when cancelled or the contact is gone.
std::shared_ptr<DirectoryContact> ChooseContact(QWidget* owner);
// A contact window opened from an address, brought to the front. The window, or null.
QWidget* Raised(QWidget* window);

// The close question about an edited message of an editable window: Yes saves through save
// and closes only when it stored, No closes, Cancel stays. True when the window may close.
bool MayClose(const OrlixMessage* message, bool editable, QWidget* owner,
              const std::function<bool()>& save);
// The window closes itself through the loaded forms when it is one of them.
void CloseSelf(QWidget* window);
// The window closes, then the answer opens in a window of its own. Nothing of the closed
// window is touched after it is gone.
void OpenAnswerInstead(QWidget* window, std::shared_ptr<OrlixMessage> answer);

} // namespace messagewindow
