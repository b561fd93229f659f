#pragma once

#include <QString>
#include <QUrl>

// What the website view may show: pages of the web, over http and https, and nothing of this
// computer or of the program (files, scripts typed as addresses, the program's own scheme).
namespace WebsiteAddressPolicy {
constexpr int kMaxText = 200;

// An http or https address with a host.
bool MayShow(const QUrl& url);
// What a shown page may fetch for itself: what MayShow allows, and its own inline data.
bool MayRequest(const QUrl& url);
// Where a navigation may take the view: the main frame only to what MayShow allows, a frame
// of the page also to what the page may fetch (its inline documents).
bool MayNavigate(const QUrl& url, bool isMainFrame);
// The address typed into the box: trimmed, a bare host given "https://". Invalid when it is
// not one MayShow allows.
QUrl FromTyped(const QString& text);
// A text handed on to the directory: trimmed, at most kMaxText characters.
QString Bounded(const QString& text);
} // namespace WebsiteAddressPolicy
