#pragma once

#include <memory>

class DirectoryContact;
class OrlixMessage;
class OrlixPrize;
class OrlixPrizeWinner;

// What the openers need of the edit windows. Each window is a QWidget that also implements
// the interface of its kind; the openers find open windows of a kind among the loaded forms.

class ContactWindow {
public:
    virtual ~ContactWindow() = default;
    // The contact shown by the window's contact control; null before one is set.
    virtual std::shared_ptr<DirectoryContact> Contact() const = 0;
    virtual void SetContact(const std::shared_ptr<DirectoryContact>& contact) = 0;
};

class PrizeWindow {
public:
    virtual ~PrizeWindow() = default;
    virtual std::shared_ptr<OrlixPrize> Prize() const = 0;
    // Null for a new prize of the current user.
    virtual bool LoadPrize(const std::shared_ptr<OrlixPrize>& prize) = 0;
};

class PrizeWinnerWindow {
public:
    virtual ~PrizeWinnerWindow() = default;
    virtual std::shared_ptr<OrlixPrizeWinner> PrizeWinner() const = 0;
    virtual bool LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& winner) = 0;
};

// The e-mail and the SMS window: one kind for the window limit.
class MessageWindow {
public:
    virtual ~MessageWindow() = default;
    virtual std::shared_ptr<OrlixMessage> Message() const = 0;
    virtual void SetMessage(const std::shared_ptr<OrlixMessage>& message) = 0;
    virtual void SetEditable(bool editable) = 0;
};
