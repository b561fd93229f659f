#include "scripts/scriptrules.h"

#include "platform/system/filesystemhelper.h"

#include <algorithm>

bool MayEditScript(ScriptNodeKind node, const QString& scriptFile, bool canCreateScripts) {
    if (!scriptFile.isEmpty() && !IsHtmlScriptFile(scriptFile)) {
        // Saving writes HTML: a text or picture file would be replaced by a page.
        return false;
    }
    switch (node) {
    case ScriptNodeKind::None:
        return false;
    case ScriptNodeKind::Personal:
        return true;
    case ScriptNodeKind::SharedRoot:
        return canCreateScripts;
    case ScriptNodeKind::Other:
        return !scriptFile.isEmpty() && canCreateScripts;
    }
    return false;
}

bool IsHtmlScriptFile(const QString& path) {
    const QString ext = FileSystemHelper::FileExtension(path).toLower();
    return ext == QLatin1String("htm") || ext == QLatin1String("html") ||
           ext == QLatin1String("asp") || ext == QLatin1String("aspx");
}

namespace ScriptScroll {
int StepInterval(int speed) {
    return (11 - std::clamp(speed, 1, 10)) * 50;
}
} // namespace ScriptScroll
