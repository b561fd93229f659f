#pragma once

#include <QString>

#include <optional>

class OrlixDatabase;

// The messages pane's page: the database's "Messages-List.htm" filled with the messages of a
// filter, and written where the pane's browser may load it.
namespace MessageListPage {
// The rendered page: the data folder's "Temp/Messages-List.htm".
QString RenderedPath(const QString& dataFolder);
// The most messages the list shows: the newest of the filter.
inline constexpr int kMaxListed = 5000;
// The database's template of the page.
QString TemplatePath(OrlixDatabase& database);
// How the template read: a page can only be made from a readable file with text in it.
enum class TemplateState { Read, Missing, Empty, Unreadable };
// What a render found on its way, beside the page.
struct RenderNotes {
    TemplateState templateState = TemplateState::Read;
    // The filter holds more messages than the page lists.
    bool cut = false;
};
// The filled page (at most kMaxListed messages); nothing when the template is empty, missing
// or unreadable, or the query gives no list (the page shown before then stays).
std::optional<QString> Render(OrlixDatabase& database, const QString& filter,
                              RenderNotes* notes = nullptr);
// Replaces path's content whole with html as UTF-8 with a byte-order mark (a template's own
// charset line cannot garble it), followed by CR LF; false when it could not be written, in
// which case the old page is left as it was.
bool Write(const QString& path, const QString& html);
} // namespace MessageListPage
