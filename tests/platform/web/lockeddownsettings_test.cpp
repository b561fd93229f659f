#include "platform/web/lockeddownsettings.h"

#include <gtest/gtest.h>

namespace {

// The settings are a table, read here without starting the engine.
TEST(LockedDownSettings, ScriptsPluginsAndRemoteContentAreOff) {
    using A = QWebEngineSettings;
    const struct {
        A::WebAttribute attribute;
        bool on;
    } required[] = {
        {A::JavascriptEnabled, false},
        {A::JavascriptCanOpenWindows, false},
        {A::JavascriptCanAccessClipboard, false},
        {A::PluginsEnabled, false},
        {A::PdfViewerEnabled, false},
        {A::LocalContentCanAccessRemoteUrls, false},
        {A::AllowRunningInsecureContent, false},
        {A::HyperlinkAuditingEnabled, false},
        {A::DnsPrefetchEnabled, false},
        {A::NavigateOnDropEnabled, false},
        {A::LocalStorageEnabled, false},
    };
    const QList<WebAttributeSetting>& table = LockedDownWebAttributes();
    for (const auto& r : required) {
        bool found = false;
        for (const WebAttributeSetting& s : table) {
            if (s.attribute == r.attribute) {
                EXPECT_EQ(s.on, r.on) << "attribute " << static_cast<int>(r.attribute);
                found = true;
            }
        }
        EXPECT_TRUE(found) << "attribute " << static_cast<int>(r.attribute) << " is not set";
    }
}

} // namespace
