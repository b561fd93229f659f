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

QString TemplatePath(OrlixDatabase& database) {
    return database.TemplatesPath() + QStringLiteral("/Messages-List.htm");
}

std::optional<QString> Render(OrlixDatabase& database, const QString& filter, RenderNotes* notes) {
    RenderNotes own;
    RenderNotes& out = notes != nullptr ? *notes : own;
    out = RenderNotes();
    const QString path = TemplatePath(database);
    const QFileInfo info(path);
    if (!info.exists()) {
        out.templateState = TemplateState::Missing;
        return std::nullopt;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        out.templateState = TemplateState::Unreadable;
        return std::nullopt;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (text.isEmpty()) {
        out.templateState = TemplateState::Empty;
        return std::nullopt;
    }
    // One past the limit tells whether the filter holds more than the page lists.
    std::unique_ptr<OrlixMessageList> list = database.GetMessages(filter, kMaxListed + 1);
    if (!list) {
        return std::nullopt;
    }
    if (list->Count() > kMaxListed) {
        out.cut = true;
        std::vector<std::shared_ptr<OrlixMessage>> shown(list->Messages().begin(),
                                                         list->Messages().begin() + kMaxListed);
        list = std::make_unique<OrlixMessageList>(std::move(shown));
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
