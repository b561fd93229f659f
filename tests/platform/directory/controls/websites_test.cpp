#include "platform/directory/controls/uwebsite.h"
#include "platform/directory/controls/uwebsiteslist.h"
#include "platform/directory/kvdirectory.h"
#include "platform/ui/paneframe.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

TEST(WebsitePanes, TheListHoldsItsSettingsAndForgetsADestroyedDirectory) {
    auto directory = std::make_unique<KVDirectory>();
    uWebSitesList list;
    EXPECT_FALSE(list.HostOption());
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No directory"));
    list.SetDirectory(directory.get());
    list.SetHostOption(true);
    EXPECT_EQ(list.Directory(), directory.get());
    EXPECT_TRUE(list.HostOption());
    EXPECT_EQ(list.fraList()->Text(), QString());

    auto font = std::make_shared<StdFont>();
    font->Name = QStringLiteral("Courier New");
    font->Size = 9;
    list.SetFont(font);
    EXPECT_EQ(list.Font(), font);
    EXPECT_EQ(list.font().family(), QStringLiteral("Courier New"));
    font->Underline = true; // changed in place, shown on the next Refresh
    list.Refresh();
    EXPECT_TRUE(list.font().underline());
    EXPECT_EQ(list.RefreshCount(), 1);
    list.SetFont(nullptr);
    EXPECT_EQ(list.font(), QApplication::font());

    list.SetBackColour(QColor(Qt::cyan));
    EXPECT_EQ(list.BackColour(), QColor(Qt::cyan));
    EXPECT_EQ(list.palette().color(QPalette::Window), QColor(Qt::cyan));
    list.SetBackColour(QColor()); // no colour: the inherited look again
    EXPECT_EQ(list.palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Window));

    directory.reset();
    EXPECT_EQ(list.Directory(), nullptr);
    list.Refresh();
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No directory"));
}

TEST(WebsitePanes, AWebsiteShowsItsCaptionAndAddressAsPlainText) {
    uWebsite pane;
    auto site = std::make_shared<DirectoryWebsite>();
    site->SetAddress(QStringLiteral("https://example.org/?a=<b>"));
    pane.SetWebsite(site);
    EXPECT_EQ(pane.Website(), site);
    // No title: the caption is the address.
    EXPECT_EQ(pane.lblCaption()->text(), QStringLiteral("https://example.org/?a=<b>"));
    site->SetTitle(QStringLiteral("<i>Station</i>"));
    pane.SetWebsite(site);
    EXPECT_EQ(pane.lblCaption()->text(), QStringLiteral("<i>Station</i>"));
    EXPECT_EQ(pane.lblAddress()->text(), QStringLiteral("https://example.org/?a=<b>"));
    for (QLabel* label : {pane.lblCaption(), pane.lblAddress()}) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    pane.SetWebsite(nullptr);
    EXPECT_EQ(pane.lblCaption()->text(), QString());
    EXPECT_EQ(pane.lblAddress()->text(), QString());

    pane.SetBackColour(QColor(0x80, 0x80, 0x40));
    EXPECT_EQ(pane.BackColour(), QColor(0x80, 0x80, 0x40));
    EXPECT_EQ(pane.palette().color(QPalette::Window), QColor(0x80, 0x80, 0x40));
}
