#include "core/dialogs/contactchoiceline.h"

#include <gtest/gtest.h>

TEST(ContactChoiceLine, NameAndTheCompanyInBracketsWhenThereIsOne) {
    struct Case {
        QString name, company, line;
    };
    const QString longName(700, QLatin1Char('n'));
    // Each field between the isolate marks, written here as [ and ].
    for (const Case& c : {
             Case{"Ann Smith", "Acme Ltd", "[Ann Smith] ([Acme Ltd])"},
             Case{"Ann Smith", "", "[Ann Smith]"},
             Case{"", "Acme Ltd", " ([Acme Ltd])"},
             Case{"O\"Neil *?%_", "A (B)", "[O\"Neil *?%_] ([A (B)])"},
             // No length limit: the reference never shares the line.
             Case{longName, "X", "[" + longName + "] ([X])"},
             // An override in the name reverses neither it nor the company.
             Case{"Ctl Name\u202e", "Acme\u2069", "[Ctl Name] ([Acme])"},
         }) {
        QString line = ContactChoiceLine(c.name, c.company);
        line.replace(QChar(0x2068), u'[').replace(QChar(0x2069), u']');
        EXPECT_EQ(line, c.line);
    }
}
