#include "mainwindow/panes/messagelistpage.h"

#include "core/printing/templateprinting.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessagelist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

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
    const QString folder = QFileInfo(path).absolutePath();
    QDir().mkpath(folder);
    // Written beside the page and renamed over it, so the view never meets half a page. Not
    // synced to the disk: the page is made again at every build, and the wait for the disk
    // cost as much as making it.
    QTemporaryFile file(folder + QStringLiteral("/Messages-List.XXXXXX"));
    if (!file.open()) {
        return false;
    }
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += html.toUtf8();
    bytes += "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        return false;
    }
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

} // namespace MessageListPage
