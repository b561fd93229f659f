#include "platform/ui/toolbarimages.h"

#include "platform/system/platformlog.h"
#include "platform/ui/imagelist.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <utility>

namespace {

constexpr int kSize = 16;

// A key and the drawing it shows, where the two names differ.
constexpr std::pair<const char*, const char*> kAliases[] = {
    {"save", "disk"},
    {"copymessage", "folderadd"},
    {"movemessage", "folderexport"},
    {"addattachment", "attach"},
    {"bullets", "bulletlist"},
};

constexpr const char* kDrawings[] = {
    "attach", "bold",    "bulletlist", "copy",          "cut",       "delete",
    "disk",   "email",   "folderadd",  "folderexport",  "font",      "forward",
    "help",   "history", "hyperlink",  "internet",      "italic",    "open",
    "paste",  "print",   "redo",       "reply",         "replyall",  "resetfont",
    "send",   "sms",     "spell",      "strikethrough", "underline", "undo",
};

QPixmap render(const QString& drawing) {
    QSvgRenderer renderer(QStringLiteral(":/toolbarimages/%1.svg").arg(drawing));
    if (!renderer.isValid()) {
        // A broken drawing leaves its buttons with their captions, not with a blank square.
        PlatformLog(QStringLiteral("Toolbar pictures: \"%1\" cannot be drawn").arg(drawing), 1);
        return {};
    }
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

} // namespace

void FillToolbarImages(ImageList& images) {
    // The resources sit in a static library: named here, the linker keeps them.
    Q_INIT_RESOURCE(toolbarimages);
    for (const char* drawing : kDrawings) {
        const QPixmap picture = render(QLatin1String(drawing));
        if (!picture.isNull()) {
            images.Add(QLatin1String(drawing), picture);
        }
    }
    for (const auto& [key, drawing] : kAliases) {
        if (images.Contains(QLatin1String(drawing))) {
            images.Add(QLatin1String(key), images.ListImages(QLatin1String(drawing)));
        }
    }
}

QStringList ToolbarImageKeys() {
    QStringList keys;
    for (const char* drawing : kDrawings) {
        keys << QLatin1String(drawing);
    }
    for (const auto& alias : kAliases) {
        keys << QLatin1String(alias.first);
    }
    return keys;
}
