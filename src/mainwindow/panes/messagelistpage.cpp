#include "mainwindow/panes/messagelistpage.h"

#include "core/printing/templateprinting.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessagelist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr int kOnScreenList = 3;
} // namespace

namespace MessageListPage {

QString RenderedPath(const QString& dataFolder) {
    return dataFolder + QStringLiteral("/Temp/Messages-List.htm");
}

std::optional<QString> Render(OrlixDatabase& database, const QString& filter) {
    QFile file(database.TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const std::unique_ptr<OrlixMessageList> list = database.GetMessages(filter, kMaxListed);
    if (!list) {
        return std::nullopt;
    }
    return list->ApplyTemplate(ReplaceTemplateTags(text), kOnScreenList);
}

bool Write(const QString& path, const QString& html) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += html.toUtf8();
    bytes += "\r\n";
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace MessageListPage
