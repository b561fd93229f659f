#include "platform/web/webeditorstate.h"

namespace {
int styleValue(const QVariant& v) {
    const int n = v.toInt();
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}
} // namespace

WebEditorState WebEditorState::FromReport(const QVariantMap& report, bool editing,
                                          bool clipboardHasText) {
    WebEditorState s;
    s.bold = styleValue(report.value(QStringLiteral("bold")));
    s.italic = styleValue(report.value(QStringLiteral("italic")));
    s.underline = styleValue(report.value(QStringLiteral("underline")));
    s.strikeThrough = styleValue(report.value(QStringLiteral("strikeThrough")));
    s.hasSelection = report.value(QStringLiteral("selection")).toBool();
    s.canCopy = s.hasSelection;
    s.canCut = s.hasSelection && editing;
    s.canPaste = editing && clipboardHasText;
    s.canUndo = editing && report.value(QStringLiteral("undo")).toBool();
    s.canRedo = editing && report.value(QStringLiteral("redo")).toBool();
    return s;
}
