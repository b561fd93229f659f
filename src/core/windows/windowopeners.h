#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class DirectoryContact;
class OrlixMessage;
class OrlixPrize;
class OrlixPrizeWinner;

// Every contact, prize, prize-winner and message window is opened here: an open window that
// shows the same item is brought forward, the window limits and the user's rights are
// enforced, the recent lists kept and a message marked read. Each opener returns the window it
// showed, null when it showed none; a refusal is told to the user here.
//
// The windows come from the program's window registry, centred on its main window; read flags
// are stored in its messages database. A modal opener returns once the window has closed: the
// window it returns is then null when the window went with its closing.

// Makes the openers the way the shared dialogs open contacts; called once at start-up.
void InstallWindowOpeners();

QPointer<QWidget> NewContact(qint16 ContactListValue);
QPointer<QWidget> OpenContact(const std::shared_ptr<DirectoryContact>& contact, qint32 modal);
QPointer<QWidget> OpenPrize(const std::shared_ptr<OrlixPrize>& prize);
QPointer<QWidget> OpenPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner);
QPointer<QWidget> NewMessage(std::shared_ptr<OrlixMessage>& message, qint32 kind);
QPointer<QWidget> OpenMessage(const std::shared_ptr<OrlixMessage>& message, qint32 modal);
