#pragma once

#include "core/windows/editwindows.h"
#include "core/windows/windowregistry.h"

#include <QWidget>

#include <memory>

class DirectoryContact;
class OrlixMessage;
class OrlixPrize;
class OrlixPrizeWinner;

// Small stand-ins for the edit windows, holding only what the openers give them.
class TestContactWindow : public QWidget, public ContactWindow {
public:
    std::shared_ptr<DirectoryContact> Contact() const override { return contact; }
    void SetContact(const std::shared_ptr<DirectoryContact>& c) override { contact = c; }
    std::shared_ptr<DirectoryContact> contact;
};

class TestPrizeWindow : public QWidget, public PrizeWindow {
public:
    std::shared_ptr<OrlixPrize> Prize() const override { return prize; }
    bool LoadPrize(const std::shared_ptr<OrlixPrize>& p) override {
        prize = p;
        return true;
    }
    std::shared_ptr<OrlixPrize> prize;
};

class TestWinnerWindow : public QWidget, public PrizeWinnerWindow {
public:
    std::shared_ptr<OrlixPrizeWinner> PrizeWinner() const override { return winner; }
    bool LoadPrizeWinner(const std::shared_ptr<OrlixPrizeWinner>& w) override {
        winner = w;
        return true;
    }
    std::shared_ptr<OrlixPrizeWinner> winner;
};

class TestMessageWindow : public QWidget, public MessageWindow {
public:
    std::shared_ptr<OrlixMessage> Message() const override { return message; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& m) override { message = m; }
    void SetEditable(bool e) override { editable = e; }
    std::shared_ptr<OrlixMessage> message;
    bool editable = false;
};

// Registers the doubles for the contact, prize, winner and message kinds.
inline void RegisterEditWindowDoubles(WindowRegistry& windows) {
    windows.Register(WindowKind::Contact, [](QWidget*) { return new TestContactWindow; });
    windows.Register(WindowKind::Prize, [](QWidget*) { return new TestPrizeWindow; });
    windows.Register(WindowKind::PrizeWinner, [](QWidget*) { return new TestWinnerWindow; });
    windows.Register(WindowKind::Email, [](QWidget*) { return new TestMessageWindow; });
    windows.Register(WindowKind::Sms, [](QWidget*) { return new TestMessageWindow; });
}
