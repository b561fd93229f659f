#pragma once

#include <QList>
#include <QString>

// The fields a contact look-up may compare.
enum class ContactField { Name, Email1, Email2, Email3, PhoneNumber1, PhoneNumber2, MobileNumber };
enum class ContactMatch { Equals, Contains, StartsWith, EndsWith };

// One comparison; a look-up finds the contacts that meet any of its criteria. Values are
// compared literally and without regard to case.
struct ContactCriterion {
    ContactField field = ContactField::Name;
    ContactMatch match = ContactMatch::Equals;
    QString value;
    bool operator==(const ContactCriterion&) const = default;
};

struct ContactFilterParse {
    bool ok = false;
    QList<ContactCriterion> criteria;
    QString error; // why the text was refused
};

// Reads the callers' filter text: terms `[Field]="v"`, `[Field]='v'` or `[Field] LIKE "v"`
// joined by " or " (keywords in any case). Inside a value a doubled quote stands for one.
// In a LIKE value a leading and a trailing "*" stand for any text; every other character,
// "*", "?", "%" and "_" included, is itself.
ContactFilterParse ParseContactFilter(const QString& filter);

// A value written into filter text: in double quotes, each double quote in it doubled.
QString ContactFilterValue(const QString& value);

// The field's name as the filter text spells it; false for an unknown name.
bool ContactFieldFromName(const QString& name, ContactField* field);
