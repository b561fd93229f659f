#pragma once

#include <QString>
#include <QVariantList>

// The message filter language, turned into a WHERE condition with bound values.
//
//   filter     := blank | expression
//   expression := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | "(" expression ")" | "[" field "]" operator value
//   operator   := "=" | "<>" | "!=" | "<" | "<=" | ">" | ">="
//                 | LIKE (text fields; "*" any text, "?" one character)
//                 | HAS (whole-number fields: every bit of the value is set)
//   value      := number | 'text' | "text"   (a quote inside is written twice)
//
// Words are matched without regard to case. Numbers are written with "." as the decimal
// separator whatever the locale. Date fields take date numbers: days since 30 December 1899,
// the fraction the time of day, in UTC; [Received] > 46000.5 is "received after noon UTC on
// that day". Fields: Reference, Folder, Kind, Flags, Owner, Inherited (whole numbers);
// Received, Sent, SendAfter (dates); Subject, From, To, Cc, Body (texts).
class MessageFilter {
public:
    struct Result {
        bool Ok = false;
        QString Where;       // "" when the filter is blank (every message)
        QVariantList Values; // in the order of the "?" in Where
        QString Error;       // why it was refused
    };

    static constexpr int kMaxLength = 8192;
    static constexpr int kMaxDepth = 32;

    static Result Parse(const QString& filter);
};
