#pragma once

#include <QtGlobal>

// A user's rights over the directory itself. Stored as one number of bits; each right is
// off unless given.
class DirectoryRights {
public:
    enum Bit : quint32 {
        ChangeDirectorySettings = 1u << 0,
        SaveContacts = 1u << 1,
        SaveUsers = 1u << 2,
        SavePersonalContacts = 1u << 3,
        All = ChangeDirectorySettings | SaveContacts | SaveUsers | SavePersonalContacts,
    };

    DirectoryRights() = default;
    explicit DirectoryRights(quint32 bits) : bits_(bits & All) {}

    bool CanChangeDirectorySettings() const { return has(ChangeDirectorySettings); }
    bool CanSaveContacts() const { return has(SaveContacts); }
    bool CanSaveUsers() const { return has(SaveUsers); }
    bool CanSavePersonalContacts() const { return has(SavePersonalContacts); }

    void SetCanChangeDirectorySettings(bool on) { set(ChangeDirectorySettings, on); }
    void SetCanSaveContacts(bool on) { set(SaveContacts, on); }
    void SetCanSaveUsers(bool on) { set(SaveUsers, on); }
    void SetCanSavePersonalContacts(bool on) { set(SavePersonalContacts, on); }

    quint32 Bits() const { return bits_; }
    bool operator==(const DirectoryRights&) const = default;

private:
    bool has(Bit b) const { return (bits_ & b) != 0; }
    void set(Bit b, bool on) { bits_ = on ? (bits_ | b) : (bits_ & ~quint32(b)); }
    quint32 bits_ = 0;
};
