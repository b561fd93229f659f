#include "platform/web/documentnavigationpolicy.h"

bool DocumentNavigationPolicy::SameDocument(const QUrl& a, const QUrl& b) {
    const auto strip =
        QUrl::RemoveFragment | QUrl::NormalizePathSegments | QUrl::StripTrailingSlash;
    return !a.isEmpty() && a.adjusted(strip) == b.adjusted(strip);
}

bool DocumentNavigationPolicy::Accept(const QUrl& url, Kind kind, bool isMainFrame,
                                      const QUrl& current, bool mayLoad) const {
    if (!mayLoad) {
        return false;
    }
    if (isMainFrame) {
        if (kind == Kind::Typed || kind == Kind::Other) {
            return SameDocument(url, expected_) || SameDocument(url, current);
        }
        if (kind == Kind::LinkClicked || kind == Kind::Reload) {
            // An anchor of this document or the document again: no step away from it.
            return SameDocument(url, current);
        }
        return false;
    }
    // A frame of the document loads what the document names; no link moves it.
    return kind == Kind::Typed || kind == Kind::Other;
}

DocumentNavigationPolicy::Verdict
DocumentNavigationPolicy::Decide(const QUrl& url, Kind kind, bool isMainFrame, const QUrl& current,
                                 bool mayLoad, const LinkFilter& linkFilter) const {
    if (linkFilter && kind == Kind::LinkClicked && isMainFrame &&
        SameDocument(current, expected_) && linkFilter(url)) {
        return Verdict::Handled;
    }
    return Accept(url, kind, isMainFrame, current, mayLoad) ? Verdict::Follow : Verdict::Refuse;
}
