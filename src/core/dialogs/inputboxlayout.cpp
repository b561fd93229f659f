#include "core/dialogs/inputboxlayout.h"

InputBoxLayout LayOutInputBox(const InputBoxLayoutInput& in) {
    constexpr int kGap = 120;
    InputBoxLayout out;
    out.controlTop = in.captionTop + in.captionHeight + kGap;
    out.buttonTop = out.controlTop + (in.listMode ? in.listHeight : in.textHeight) + kGap;
    out.innerHeight = out.buttonTop + in.buttonHeight + kGap;
    return out;
}
