#include "core/dialogs/contactchoiceline.h"

#include <gtest/gtest.h>

TEST(ContactChoiceLine, NameAndTheCompanyInBracketsWhenThereIsOne) {
    struct Case {
        QString name, company, line;
    };
    const QString longName(700, QLatin1Char('n'));
    for (const Case& c : {
             Case{"Ann Smith", "Acme Ltd", "Ann Smith (Acme Ltd)"},
             Case{"Ann Smith", "", "Ann Smith"},
             Case{"", "Acme Ltd", " (Acme Ltd)"},
             Case{"O\"Neil *?%_", "A (B)", "O\"Neil *?%_ (A (B))"},
             // No length limit: the reference never shares the line.
             Case{longName, "X", longName + " (X)"},
         }) {
        EXPECT_EQ(ContactChoiceLine(c.name, c.company), c.line);
    }
}
