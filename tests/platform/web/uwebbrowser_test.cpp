#include "platform/web/uwebbrowser.h"

#include <QStringList>

#include <gtest/gtest.h>

// None of these may start the web engine: they run under the sanitizers too.

TEST(DocumentView, HasNoBrowserUntilItNavigates) {
    uWebBrowser view;
    view.AllowFolder(QStringLiteral("/srv/studio/print"));
    view.AllowFolder(QString());
    view.AllowFolder(QStringLiteral("/srv/studio/print"));
    view.ClearDocument();
    EXPECT_FALSE(view.HasBrowser());
    EXPECT_EQ(view.Browser(), nullptr);
    EXPECT_EQ(view.CurrentPath(), QString());
    EXPECT_EQ(view.AllowedFolders(), QStringList{QStringLiteral("/srv/studio/print")});
}

TEST(DocumentView, ABlankTargetIsRefusedWithoutStartingTheEngine) {
    uWebBrowser view;
    for (const QString& target : {QString(), QStringLiteral("  \t")}) {
        EXPECT_FALSE(view.Navigate(target));
        EXPECT_FALSE(view.HasBrowser());
    }
    view.ClearDocument();
    EXPECT_EQ(view.CurrentPath(), QString());
    EXPECT_FALSE(view.HasBrowser());
}
