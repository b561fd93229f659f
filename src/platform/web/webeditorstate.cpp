#include "platform/web/webeditorstate.h"

#include "platform/web/scriptanswer.h"

namespace {
// -1, 0 or 1 as the editor script reports them; anything else is no style.
int styleValue(const QVariant& v) {
    return ScriptAnswer::Number(v, -1, 1).value_or(0);
}

bool flagValue(const QVariant& v) {
    return ScriptAnswer::Flag(v).value_or(false);
}
} // namespace

WebEditorState WebEditorState::FromReport(const QVariantMap& report, bool editing,
                                          bool clipboardHasText) {
    WebEditorState s;
    s.bold = styleValue(report.value(QStringLiteral("bold")));
    s.italic = styleValue(report.value(QStringLiteral("italic")));
    s.underline = styleValue(report.value(QStringLiteral("underline")));
    s.strikeThrough = styleValue(report.value(QStringLiteral("strikeThrough")));
    s.hasSelection = flagValue(report.value(QStringLiteral("selection")));
    s.canCopy = s.hasSelection;
    s.canCut = s.hasSelection && editing;
    s.canPaste = editing && clipboardHasText;
    s.canUndo = editing && flagValue(report.value(QStringLiteral("undo")));
    s.canRedo = editing && flagValue(report.value(QStringLiteral("redo")));
    return s;
}
