#pragma once

#include <QtGlobal>

// A user's rights within the studio client. Stored as one number of bits; each right is off
// unless given.
class UserRights {
public:
    enum Bit : quint32 {
        ChangeSettings = 1u << 0,
        SaveMessages = 1u << 1,
        SavePersonalMessages = 1u << 2,
        CreateScripts = 1u << 3,
        All = ChangeSettings | SaveMessages | SavePersonalMessages | CreateScripts,
    };

    UserRights() = default;
    explicit UserRights(quint32 bits) : bits_(bits & All) {}

    bool CanChangeSettings() const { return has(ChangeSettings); }
    bool CanSaveMessages() const { return has(SaveMessages); }
    bool CanSavePersonalMessages() const { return has(SavePersonalMessages); }
    bool CanCreateScripts() const { return has(CreateScripts); }

    void SetCanChangeSettings(bool on) { set(ChangeSettings, on); }
    void SetCanSaveMessages(bool on) { set(SaveMessages, on); }
    void SetCanSavePersonalMessages(bool on) { set(SavePersonalMessages, on); }
    void SetCanCreateScripts(bool on) { set(CreateScripts, on); }

    quint32 Bits() const { return bits_; }
    bool operator==(const UserRights&) const = default;

private:
    bool has(Bit b) const { return (bits_ & b) != 0; }
    void set(Bit b, bool on) { bits_ = on ? (bits_ | b) : (bits_ & ~quint32(b)); }
    quint32 bits_ = 0;
};
