#pragma once

#include <QList>
#include <QWebEngineSettings>

// The settings of a view that shows stored documents and listeners' text: no script, no
// plugins, nothing remote, nothing that reaches outside the page.
struct WebAttributeSetting {
    QWebEngineSettings::WebAttribute attribute;
    bool on;
};

const QList<WebAttributeSetting>& LockedDownWebAttributes();

void ApplyLockedDownSettings(QWebEngineSettings* settings);
