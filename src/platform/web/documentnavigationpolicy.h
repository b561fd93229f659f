#pragma once

#include <QUrl>

#include <functional>

// Which navigations a document view obeys. It shows one document: the one the program asked
// for. Links, forms, history and redirects never take it elsewhere; jumps inside the
// document and its own frames' first loads are fine.
class DocumentNavigationPolicy {
public:
    enum class Kind { Typed, LinkClicked, FormSubmitted, BackForward, Reload, Redirect, Other };

    // The program is about to show url (its own navigate call).
    void Expect(const QUrl& url) { expected_ = url; }
    const QUrl& Expected() const { return expected_; }

    // current: the document shown now (empty before the first one). mayLoad: the content
    // policy's word on url.
    bool Accept(const QUrl& url, Kind kind, bool isMainFrame, const QUrl& current,
                bool mayLoad) const;

    // What a view does with a navigation: follow it, refuse it, or nothing more, as the
    // program has dealt with the link itself.
    enum class Verdict { Follow, Refuse, Handled };
    // Offered a link the user clicked; true when the program has dealt with it.
    using LinkFilter = std::function<bool(const QUrl& url)>;

    // The view's whole decision. A click on a link in the main frame of the document the
    // program asked for goes to linkFilter first (when there is one); links in any other
    // document, in frames, redirects and forms never reach it. The rest is Accept's.
    Verdict Decide(const QUrl& url, Kind kind, bool isMainFrame, const QUrl& current, bool mayLoad,
                   const LinkFilter& linkFilter) const;

    static bool SameDocument(const QUrl& a, const QUrl& b);

private:
    QUrl expected_;
};
