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

#include "platform/directory/directorycontact.h"
#include "platform/directory/directorywebsite.h"
#include "support/testhome.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {
QStringList Rows(const QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        out << list->topLevelItem(i)->text(0);
    }
    return out;
}
} // namespace

TEST(WebsitePanes, TheListShowsTheWebsitesByCaptionAndReloadsWhenOneIsAdded) {
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(true, failed);
    ASSERT_FALSE(failed);
    const auto add = [&](const char* address, const char* title) {
        auto site = std::make_shared<DirectoryWebsite>();
        site->SetAddress(QString::fromUtf8(address));
        site->SetTitle(QString::fromUtf8(title));
        bool ok = false;
        directory.AddWebsite(site, ok);
        EXPECT_TRUE(ok);
        return site->Reference();
    };
    const qint32 zoo = add("https://zoo.example/", "zoo <b>Park</b>");
    add("https://b.example/", "");
    uWebSitesList list;
    list.SetDirectory(&directory);
    list.Refresh();
    EXPECT_EQ(Rows(list.lvwWebsites()),
              (QStringList{QStringLiteral("<New Website>"), QStringLiteral("https://b.example/"),
                           QStringLiteral("zoo <b>Park</b>")}));

    ASSERT_TRUE(list.SelectWebsite(zoo));
    add("https://a.example/", "Alpha");
    EXPECT_EQ(list.lvwWebsites()->topLevelItem(1)->text(0), QStringLiteral("Alpha"));
    EXPECT_EQ(list.SelectedReference(), zoo) << "the selection stays through the reload";

    QList<qint32> chosen;
    int added = 0;
    QObject::connect(&list, &uWebSitesList::WebsiteChosen,
                     [&](const KVDirectory::WebsitePtr& s) { chosen << s->Reference(); });
    QObject::connect(&list, &uWebSitesList::AddNewWebsite, [&](const KVDirectory::WebsitePtr& s) {
        EXPECT_EQ(s->Reference(), 0);
        ++added;
    });
    QTest::keyClick(list.lvwWebsites(), Qt::Key_Return);
    Q_EMIT list.lvwWebsites()->itemDoubleClicked(list.NewWebsiteItem(), 0);
    EXPECT_EQ(chosen, QList<qint32>{zoo});
    EXPECT_EQ(added, 1);
    EXPECT_FALSE(list.SelectWebsite(9999));
    bool ok = false;
    directory.Close(ok);
}

TEST(WebsitePanes, AnUnsavedWebsiteEmptiesTheBoxAndRefusedAddressesLoadNothing) {
    uWebsite pane;
    pane.txtAddress()->setText(QStringLiteral("left over"));
    pane.ShowWebsite(std::make_shared<DirectoryWebsite>());
    EXPECT_EQ(pane.txtAddress()->text(), QString());
    EXPECT_FALSE(pane.cmdAddToWebsites()->isEnabled());
    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "orlix:open?m=1"}) {
        EXPECT_FALSE(pane.ShowWebAddress(QString::fromUtf8(address))) << address;
    }
    pane.txtAddress()->setText(QStringLiteral("file:///etc/passwd"));
    QTest::keyClick(pane.txtAddress(), Qt::Key_Return);
    // None of them made the web view.
    EXPECT_EQ(pane.WebView(), nullptr);
}
