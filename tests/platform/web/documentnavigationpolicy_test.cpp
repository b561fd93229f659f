#include "platform/web/documentnavigationpolicy.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using Kind = DocumentNavigationPolicy::Kind;

struct NavCase {
    const char* name;
    QUrl url;
    Kind kind;
    bool mainFrame;
    QUrl current;
    bool mayLoad;
    bool accepted;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const NavCase& c, std::ostream* os) {
    *os << c.name;
}

const QUrl kDoc = QUrl::fromLocalFile(QStringLiteral("/tmp/x/print.htm"));
const QUrl kOther = QUrl::fromLocalFile(QStringLiteral("/tmp/x/other.htm"));
const QUrl kBlank = QUrl(QStringLiteral("about:blank"));
const QUrl kAnchor = QUrl(QStringLiteral("file:///tmp/x/print.htm#winners"));
const QUrl kWeb = QUrl(QStringLiteral("http://127.0.0.1/"));

class NavigationTable : public ::testing::TestWithParam<NavCase> {};

TEST_P(NavigationTable, Decides) {
    const NavCase& c = GetParam();
    DocumentNavigationPolicy policy;
    policy.Expect(kDoc);
    EXPECT_EQ(policy.Accept(c.url, c.kind, c.mainFrame, c.current, c.mayLoad), c.accepted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NavigationTable,
    ::testing::Values(
        NavCase{"TheProgramsOwnNavigation", kDoc, Kind::Typed, true, kBlank, true, true},
        NavCase{"AnotherDocumentTyped", kOther, Kind::Typed, true, kBlank, true, false},
        NavCase{"RefusedByContentPolicy", kDoc, Kind::Typed, true, kBlank, false, false},
        NavCase{"LinkToAnotherDocument", kOther, Kind::LinkClicked, true, kDoc, true, false},
        NavCase{"LinkToTheWeb", kWeb, Kind::LinkClicked, true, kDoc, true, false},
        NavCase{"AnchorInTheDocument", kAnchor, Kind::LinkClicked, true, kDoc, true, true},
        NavCase{"FormSubmitted", kDoc, Kind::FormSubmitted, true, kDoc, true, false},
        NavCase{"HistoryBack", kBlank, Kind::BackForward, true, kDoc, true, false},
        NavCase{"ReloadOfTheDocument", kDoc, Kind::Reload, true, kDoc, true, true},
        NavCase{"Redirect", kOther, Kind::Redirect, true, kDoc, true, false},
        NavCase{"MetaRefreshElsewhere", kOther, Kind::Other, true, kDoc, true, false},
        NavCase{"FrameFirstLoad", kOther, Kind::Other, false, kDoc, true, true},
        NavCase{"FrameLinkClicked", kOther, Kind::LinkClicked, false, kDoc, true, false},
        NavCase{"FrameRefusedContent", kWeb, Kind::Other, false, kDoc, false, false}),
    [](const ::testing::TestParamInfo<NavCase>& info) { return info.param.name; });

TEST(DocumentNavigationPolicy, NothingExpectedRefusesTheFirstDocument) {
    DocumentNavigationPolicy policy;
    EXPECT_FALSE(policy.Accept(kDoc, Kind::Typed, true, QUrl(), true));
}

} // namespace
