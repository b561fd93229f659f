#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

#include <optional>

// The program's own command links ("orlix://word..."). A URL cannot hold them as pages write
// them ("orlix://openmessage(1234)" reads as a host and comes out empty; the word comes out
// lower-cased), so a script in the engine's application world rewrites each such link to
// "orlix:///" and the percent-encoded rest before the user can click it; the click's URL then
// gives back the text as the page wrote it. Links of schemes the engine would hand to the
// desktop by itself, or drop without a word (mailto, ftp, javascript...), are wrapped the
// same way in "orlixlink:///", so that the program sees and decides on those clicks too.
namespace CommandLinks {
inline constexpr const char* kScheme = "orlix";
inline constexpr const char* kWrappedScheme = "orlixlink";
// Runs once the document is ready; the page's own scripts neither see nor need it.
QString RewriteScript();
// The link as the page wrote it, for a rewritten "orlix" or "orlixlink" URL; nothing for any
// other URL.
std::optional<QString> LinkText(const QUrl& url);
} // namespace CommandLinks

// Answers every request of the two schemes with a refusal. Without a handler the engine
// blanks the view on such a click before the program could cancel it; commands are taken
// from the click itself, never from a load.
class RefusingSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override;
};
