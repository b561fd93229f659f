#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class DirectoryContact;
class OrlixDatabase;
class OrlixMessage;
class OrlixPrize;
class OrlixPrizeWinner;

// Every contact, prize, prize-winner and message window is opened here: an open window that
// shows the same item is brought forward, the window limits and the user's rights are
// enforced, the recent lists kept and a message marked read. Each opener returns the window it
// showed, null when it showed none; a refusal is told to the user here.

enum class EditWindowKind { Contact, Prize, PrizeWinner, Email, Sms };

// The windows themselves come from their own parts of the program, each registered here.
using WindowMaker = std::function<QWidget*()>;
void RegisterWindowMaker(EditWindowKind kind, WindowMaker maker);

// The window openers centre on (the main window); null centres on the primary screen.
void SetOpenersMainWindow(QWidget* mainWindow);
// The messages database the openers store read flags through (owned by the main window).
void SetOpenersDatabase(OrlixDatabase* database);

// How a window is shown: modeless, or modal (returning once it is closed). Tests replace it.
using WindowShower = std::function<void(QWidget* window, bool modal)>;
void SetWindowShower(WindowShower shower);

// Makes the openers the way the shared dialogs open contacts; called once at start-up.
void InstallWindowOpeners();

QPointer<QWidget> NewContact(qint16 ContactListValue);
QPointer<QWidget> OpenContact(const std::shared_ptr<DirectoryContact>& contact, qint32 modal);
QPointer<QWidget> OpenPrize(const std::shared_ptr<OrlixPrize>& prize);
QPointer<QWidget> OpenPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner);
QPointer<QWidget> NewMessage(std::shared_ptr<OrlixMessage>& message, qint32 kind);
QPointer<QWidget> OpenMessage(const std::shared_ptr<OrlixMessage>& message, qint32 modal);
