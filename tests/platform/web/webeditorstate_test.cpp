#include "platform/web/webeditorstate.h"

#include <gtest/gtest.h>

namespace {

// The editor script reports the face as the document's computed font-family and the size as
// the HTML size the engine gives; the state keeps the face a font dialog can open on.
TEST(WebEditorState, TheFaceIsTheFirstFamilyUnquotedAndTheSizeOneToSevenOrNone) {
    const struct {
        const char* face;
        QVariant size;
        const char* expectedFace;
        int expectedSize;
    } cases[] = {
        {"serif", 5, "serif", 5},
        {"\"Times New Roman\", serif", 3, "Times New Roman", 3},
        // The script sends a number: a size in any other type is none.
        {"Arial", QStringLiteral("3"), "Arial", 0},
        {"'Liberation Sans',Arial", 7, "Liberation Sans", 7},
        {"  Courier  ", 1, "Courier", 1},
        {"\"", 0, "\"", 0},
        {"", 8, "", 0},
        {"Arial", -1, "Arial", 0},
        {"Arial", QStringLiteral("big"), "Arial", 0},
    };
    for (const auto& c : cases) {
        const WebEditorState s = WebEditorState::FromReport(
            {{QStringLiteral("face"), QString::fromUtf8(c.face)}, {QStringLiteral("size"), c.size}},
            true, false);
        EXPECT_EQ(s.fontFace, QString::fromUtf8(c.expectedFace)) << c.face;
        EXPECT_EQ(s.fontSize, c.expectedSize) << c.face;
    }
}

} // namespace
