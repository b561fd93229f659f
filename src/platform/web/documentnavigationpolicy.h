#pragma once

#include <QUrl>

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

    static bool SameDocument(const QUrl& a, const QUrl& b);

private:
    QUrl expected_;
};
