#include "platform/web/lockeddownsettings.h"

const QList<WebAttributeSetting>& LockedDownWebAttributes() {
    using A = QWebEngineSettings;
    static const QList<WebAttributeSetting> table = {
        {A::JavascriptEnabled, false},
        {A::JavascriptCanOpenWindows, false},
        {A::JavascriptCanAccessClipboard, false},
        {A::JavascriptCanPaste, false},
        {A::PluginsEnabled, false},
        {A::PdfViewerEnabled, false},
        {A::LocalContentCanAccessRemoteUrls, false},
        {A::LocalContentCanAccessFileUrls, true}, // the document's own pictures beside it
        {A::LocalStorageEnabled, false},
        {A::XSSAuditingEnabled, true},
        {A::HyperlinkAuditingEnabled, false},
        {A::ErrorPageEnabled, false},
        {A::FullScreenSupportEnabled, false},
        {A::ScreenCaptureEnabled, false},
        {A::WebGLEnabled, false},
        {A::Accelerated2dCanvasEnabled, false},
        {A::AutoLoadIconsForPage, false},
        {A::TouchIconsEnabled, false},
        {A::FocusOnNavigationEnabled, false},
        {A::AllowRunningInsecureContent, false},
        {A::AllowGeolocationOnInsecureOrigins, false},
        {A::AllowWindowActivationFromJavaScript, false},
        {A::PlaybackRequiresUserGesture, true},
        {A::WebRTCPublicInterfacesOnly, true},
        {A::DnsPrefetchEnabled, false},
        {A::NavigateOnDropEnabled, false},
        {A::AutoLoadImages, true},
        {A::PrintElementBackgrounds, true},
    };
    return table;
}

void ApplyLockedDownSettings(QWebEngineSettings* settings) {
    if (settings == nullptr) {
        return;
    }
    for (const WebAttributeSetting& s : LockedDownWebAttributes()) {
        settings->setAttribute(s.attribute, s.on);
    }
    settings->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}
