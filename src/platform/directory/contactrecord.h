#pragma once

#include <QString>
#include <QtGlobal>

// One row of the contacts table as the storage reads and writes it.
struct ContactRecord {
    qint32 reference = 0;
    QString name;
    QString company;
    QString email1;
    QString email2;
    QString email3;
    QString phoneNumber1;
    QString phoneNumber2;
    QString mobileNumber;
    QString otherNumber;
    QString address;
    QString notes;
    QString loginName; // not empty exactly for a user
    qint32 ownerReference = 0;
    qint32 contactListValue = 0;
    quint32 directoryRights = 0;
    quint32 userRights = 0;
    bool passwordSet = false;
    // The row's change counter as it was read; a store succeeds only while the row still has
    // it, and raises it.
    qint64 changeCount = 0;
    // False for the light record of lists and captions: it lacks the address and the notes.
    bool full = true;
    // False while notes is unread (the light record); a record whose address alone was set
    // then keeps its stored notes.
    bool notesRead = true;
};
// Texts and numbers only: a list of thousands grows by moving its memory, not its records.
Q_DECLARE_TYPEINFO(ContactRecord, Q_RELOCATABLE_TYPE);
