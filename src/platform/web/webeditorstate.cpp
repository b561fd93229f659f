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
    s.fontFace =
        firstFamily(ScriptAnswer::Text(report.value(QStringLiteral("face"))).value_or(QString()));
    s.fontSize = ScriptAnswer::Number(report.value(QStringLiteral("size")), 1, 7).value_or(0);
    s.hasSelection = flagValue(report.value(QStringLiteral("selection")));
    s.canCopy = s.hasSelection;
    s.canCut = s.hasSelection && editing;
    s.canPaste = editing && clipboardHasText;
    s.canUndo = editing && flagValue(report.value(QStringLiteral("undo")));
    s.canRedo = editing && flagValue(report.value(QStringLiteral("redo")));
    return s;
}
