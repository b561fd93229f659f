#include "contacts/contactwindowlayout.h"

#include <algorithm>

namespace ContactWindowLayout {

namespace {
qint32 atLeast0(qint32 v) {
    return std::max<qint32>(v, 0);
}
qint32 fill(qint32 listWidth, qint32 others) {
    // The scroll bar and the list's border take the rest.
    return others < 0 ? -1 : atLeast0(listWidth - 225 - 90 - others);
}
} // namespace

Result Compute(const Input& in) {
    Result out;
    const qint32 lineTop = in.toolbarTop + in.toolbarHeight;
    out.lineDarkTop = lineTop + 15;
    out.lineLightTop = lineTop + 30;
    out.lineWidth = atLeast0(in.width);

    out.cancel = {in.width - 180 - in.cancelWidth, in.height - 90 - in.cancelHeight,
                  atLeast0(in.cancelWidth), atLeast0(in.cancelHeight)};
    out.ok = {out.cancel.left - 60 - in.okWidth, out.cancel.top, atLeast0(in.okWidth),
              atLeast0(in.okHeight)};
    out.contact = {60, in.contactTop, atLeast0(in.width - 120),
                   atLeast0(out.cancel.top - 90 - in.contactTop)};
    out.frame = {out.contact.left + in.pageLeft + 120, out.contact.top + in.pageTop + 60,
                 atLeast0(in.pageWidth - 240), atLeast0(in.pageHeight - 180)};
    out.list = {180, 300, atLeast0(out.frame.width - 360), atLeast0(out.frame.height - 540)};
    out.messagesFillWidth = fill(out.list.width, in.messagesOtherColumns);
    out.prizesFillWidth = fill(out.list.width, in.prizesOtherColumns);
    return out;
}

} // namespace ContactWindowLayout
