#include "scripts/scriptfont.h"

#include <array>

int ScriptFontPixelSize(int step) {
    static constexpr std::array<int, 7> kSizes = {8, 10, 12, 14, 18, 24, 36};
    if (step < 1 || step > static_cast<int>(kSizes.size())) {
        return 0;
    }
    return kSizes[static_cast<std::size_t>(step - 1)];
}

std::optional<ScriptFontLook> ScriptFontLookOf(const FontStyle* font) {
    if (font == nullptr || font->Name.isEmpty()) {
        return std::nullopt;
    }
    ScriptFontLook look;
    look.family = font->Name;
    look.pixelSize = ScriptFontPixelSize(font->Size);
    look.bold = font->Bold == 1;
    look.italic = font->Italic == 1;
    look.underline = font->UnderLine == 1;
    look.strikeThrough = font->StrikeThru == 1;
    // The stored colour is 0x00BBGGRR.
    const auto c = static_cast<quint32>(font->TextColour);
    look.colour = QColor(static_cast<int>(c & 0xff), static_cast<int>((c >> 8) & 0xff),
                         static_cast<int>((c >> 16) & 0xff));
    return look;
}
