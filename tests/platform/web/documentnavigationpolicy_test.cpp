#include "platform/web/documentnavigationpolicy.h"
#include "platform/web/lockeddownpage.h"

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

using Verdict = DocumentNavigationPolicy::Verdict;

struct DecideCase {
    const char* name;
    QUrl url;
    Kind kind;
    bool mainFrame;
    QUrl current;
    bool filterTakesIt;
    bool offered;
    Verdict verdict;
};

void PrintTo(const DecideCase& c, std::ostream* os) {
    *os << c.name;
}

class LinkFilterTable : public ::testing::TestWithParam<DecideCase> {};

// Only the user's click on a link of the document the program asked for reaches the program;
// whatever the program leaves, the policy decides.
TEST_P(LinkFilterTable, OffersOnlyTheClicksOfTheProgramsDocument) {
    const DecideCase& c = GetParam();
    DocumentNavigationPolicy policy;
    policy.Expect(kDoc);
    QList<QUrl> offered;
    const DocumentNavigationPolicy::LinkFilter filter = [&](const QUrl& url) {
        offered << url;
        return c.filterTakesIt;
    };
    EXPECT_EQ(policy.Decide(c.url, c.kind, c.mainFrame, c.current, true, filter), c.verdict);
    EXPECT_EQ(offered, c.offered ? QList<QUrl>{c.url} : QList<QUrl>{});
    // Without a filter nothing is handled: the policy alone decides.
    const Verdict alone = policy.Decide(c.url, c.kind, c.mainFrame, c.current, true, {});
    EXPECT_EQ(alone, policy.Accept(c.url, c.kind, c.mainFrame, c.current, true) ? Verdict::Follow
                                                                                : Verdict::Refuse);
}

const QUrl kCommand = QUrl(QStringLiteral("orlix:///openmessage%2812%29"));

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkFilterTable,
    ::testing::Values(DecideCase{"TakenByTheProgram", kCommand, Kind::LinkClicked, true, kDoc, true,
                                 true, Verdict::Handled},
                      DecideCase{"LeftToThePolicyElsewhere", kOther, Kind::LinkClicked, true, kDoc,
                                 false, true, Verdict::Refuse},
                      DecideCase{"LeftToThePolicyAnAnchor", kAnchor, Kind::LinkClicked, true, kDoc,
                                 false, true, Verdict::Follow},
                      DecideCase{"AnAnchorOfTheDocumentStillShown", kCommand, Kind::LinkClicked,
                                 true, kAnchor, true, true, Verdict::Handled},
                      DecideCase{"AClickInAFrame", kCommand, Kind::LinkClicked, false, kDoc, true,
                                 false, Verdict::Refuse},
                      DecideCase{"AClickInAnotherDocument", kCommand, Kind::LinkClicked, true,
                                 kOther, true, false, Verdict::Refuse},
                      DecideCase{"AClickBeforeAnyDocument", kCommand, Kind::LinkClicked, true,
                                 QUrl(), true, false, Verdict::Refuse},
                      DecideCase{"ARedirect", kCommand, Kind::Redirect, true, kDoc, true, false,
                                 Verdict::Refuse},
                      DecideCase{"AFormSubmitted", kCommand, Kind::FormSubmitted, true, kDoc, true,
                                 false, Verdict::Refuse},
                      DecideCase{"AScriptsNavigation", kCommand, Kind::Other, true, kDoc, true,
                                 false, Verdict::Refuse},
                      DecideCase{"TheProgramsOwnLoad", kDoc, Kind::Typed, true, kBlank, true, false,
                                 Verdict::Follow}),
    [](const ::testing::TestParamInfo<DecideCase>& info) { return info.param.name; });

TEST(DocumentNavigationPolicy, RefusedContentIsRefusedWhateverTheFilterSays) {
    DocumentNavigationPolicy policy;
    policy.Expect(kDoc);
    int offered = 0;
    const auto declines = [&](const QUrl&) {
        ++offered;
        return false;
    };
    EXPECT_EQ(policy.Decide(kAnchor, Kind::LinkClicked, true, kDoc, false, declines),
              Verdict::Refuse);
    EXPECT_EQ(offered, 1);
}

TEST(DocumentNavigationPolicy, EachOfTheEnginesKindsIsItsOwn) {
    const struct {
        QWebEnginePage::NavigationType engine;
        Kind kind;
    } rows[] = {
        {QWebEnginePage::NavigationTypeLinkClicked, Kind::LinkClicked},
        {QWebEnginePage::NavigationTypeTyped, Kind::Typed},
        {QWebEnginePage::NavigationTypeFormSubmitted, Kind::FormSubmitted},
        {QWebEnginePage::NavigationTypeBackForward, Kind::BackForward},
        {QWebEnginePage::NavigationTypeReload, Kind::Reload},
        {QWebEnginePage::NavigationTypeRedirect, Kind::Redirect},
        {QWebEnginePage::NavigationTypeOther, Kind::Other},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(LockedDownPage::KindOf(row.engine), row.kind) << int(row.engine);
    }
}

} // namespace
