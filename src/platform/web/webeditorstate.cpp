#include "platform/web/webeditorstate.h"

namespace {
int styleValue(const QVariant& v) {
    const int n = v.toInt();
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}
// The first family of a CSS font-family value, without its quotes: the face the text shows in
// when the computer has it.
QString firstFamily(const QString& families) {
    QString first = families.section(QLatin1Char(','), 0, 0).trimmed();
    if (first.size() >= 2 &&
        (first.front() == QLatin1Char('"') || first.front() == QLatin1Char('\'')) &&
        first.back() == first.front()) {
        first = first.mid(1, first.size() - 2).trimmed();
    }
    return first;
}
} // namespace

WebEditorState WebEditorState::FromReport(const QVariantMap& report, bool editing,
                                          bool clipboardHasText) {
    WebEditorState s;
    s.bold = styleValue(report.value(QStringLiteral("bold")));
    s.italic = styleValue(report.value(QStringLiteral("italic")));
    s.underline = styleValue(report.value(QStringLiteral("underline")));
    s.strikeThrough = styleValue(report.value(QStringLiteral("strikeThrough")));
    s.fontFace = firstFamily(report.value(QStringLiteral("face")).toString());
    const int size = report.value(QStringLiteral("size")).toInt();
    s.fontSize = size >= 1 && size <= 7 ? size : 0;
    s.hasSelection = report.value(QStringLiteral("selection")).toBool();
    s.canCopy = s.hasSelection;
    s.canCut = s.hasSelection && editing;
    s.canPaste = editing && clipboardHasText;
    s.canUndo = editing && report.value(QStringLiteral("undo")).toBool();
    s.canRedo = editing && report.value(QStringLiteral("redo")).toBool();
    return s;
}
