#include "messaging/messagelayout.h"

#include <algorithm>
#include <cmath>

namespace messagelayout {
namespace {

constexpr double kToolbarHeight = 360;
constexpr double kEditBarHeight = 330;
constexpr double kEditBarDesignWidth = 9405;
constexpr double kRowHeight = 285;
constexpr double kLabelHeight = 195;
constexpr double kLabelLeft = 180;
constexpr double kFieldLeft = 1020;
constexpr double kChooserWidth = 855;
constexpr double kButtonHeight = 315;
constexpr double kPersonalSize = 315;

TwipsRect rect(double left, double top, double width, double height) {
    return {left, top, std::max(0.0, width), std::max(0.0, height)};
}

double bottom(const TwipsRect& r) {
    return r.top + r.height;
}

// A header row at top: the field, its caption and its chooser button.
void row(double top, double fieldWidth, TwipsRect& field, TwipsRect& label, TwipsRect& chooser) {
    field = rect(kFieldLeft, top, fieldWidth, kRowHeight);
    label = rect(kLabelLeft, top, 780, kLabelHeight);
    chooser = rect(0, top - 30, kChooserWidth, kButtonHeight);
}

// Steps shared by both windows up to the To row; y is left at the To row's bottom.
LayoutOut header(const LayoutIn& in, double width, double height, bool replyAll, double& y,
                 double& gap) {
    LayoutOut out;
    out.Applied = true;
    gap = in.Editable ? 90 : 60;
    const double editLeft = in.EditSepLeft + 30;
    out.EditBarOwnRow = in.EditBarWidth > 0 && editLeft + in.EditBarWidth > width;
    double toolbarsBottom = kToolbarHeight;
    if (out.EditBarOwnRow) {
        out.ToolBarEdit = rect(0, kToolbarHeight, width, kEditBarHeight);
        toolbarsBottom += kEditBarHeight;
    } else {
        out.ToolBarEdit =
            rect(editLeft, 0, in.EditBarWidth > 0 ? in.EditBarWidth : kEditBarDesignWidth,
                 kEditBarHeight);
    }
    out.LineDarkY = toolbarsBottom + 15;
    out.LineLightY = out.LineDarkY + 15;
    const double top = std::round(out.LineLightY + 120);
    out.Frame = rect(120, top, width - 240, height - 120 - top);
    const double frameWidth = out.Frame.width;
    out.PicPersonal = rect(frameWidth - kPersonalSize, 0, kPersonalSize, kPersonalSize);
    const double right = in.Personal ? out.PicPersonal.left - 60 : frameWidth;

    out.CmdSend = rect(120, 0, 855, kButtonHeight);
    out.CmdReply = rect(in.ReplyLeft, 0, 855, kButtonHeight);
    if (replyAll) {
        out.CmdReplyAll = rect(in.ReplyAllLeft, 0, 1395, kButtonHeight);
    }
    out.CmdForward = rect(in.ForwardLeft, 0, 1035, kButtonHeight);

    out.LblDate = rect(right - in.DateWidth, 30, in.DateWidth, kLabelHeight);
    out.LblDateDesc =
        rect(out.LblDate.left - 240 - in.DateDescWidth, 30, in.DateDescWidth, kLabelHeight);
    const double fromWidth =
        in.Editable ? right - kFieldLeft : out.LblDateDesc.left - 120 - kFieldLeft;
    row(30, fromWidth, out.CtlFrom, out.LblFromDesc, out.CmdFrom);
    y = bottom(out.CtlFrom);
    row(y + gap, frameWidth - kFieldLeft, out.CtlTo, out.LblToDesc, out.CmdTo);
    y = bottom(out.CtlTo);
    return out;
}

void body(LayoutOut& out, double y, double gap) {
    out.PicBody = rect(0, y + gap, out.Frame.width, out.Frame.height - (y + gap));
    out.Body = rect(0, 0, out.PicBody.width, out.PicBody.height);
}

} // namespace

LayoutOut EmailLayout(const LayoutIn& in) {
    if (in.Minimised) {
        return {};
    }
    const double width = std::max(in.InnerWidth, static_cast<double>(kMinimumEmailWidth));
    const double height = std::max(in.InnerHeight, static_cast<double>(kMinimumEmailHeight));
    double y = 0;
    double gap = 0;
    LayoutOut out = header(in, width, height, true, y, gap);
    const double fieldWidth = out.Frame.width - kFieldLeft;
    row(y + gap, fieldWidth, out.CtlCC, out.LblCCDesc, out.CmdCC);
    y = bottom(out.CtlCC);

    const int n = std::max(0, in.Attachments);
    if (n > 0) {
        y += gap;
    }
    const double listHeight = n > 1 ? in.LastItemBottom + 90 : kRowHeight;
    row(y, fieldWidth, out.LvwAttachments, out.LblAttachmentsDesc, out.CmdAttachments);
    out.LvwAttachments.height = std::max(0.0, listHeight);
    if (n > 0) {
        y = bottom(out.LvwAttachments);
    }
    out.AttachmentsVisible = n > 0;
    out.CmdAttachmentsVisible = n >= 1 && in.Editable;

    out.TxtSubject = rect(kFieldLeft, y + gap, fieldWidth, kRowHeight);
    out.LblSubjectDesc = rect(kLabelLeft, out.TxtSubject.top, 780, kLabelHeight);
    y = bottom(out.TxtSubject);
    body(out, y, gap);
    return out;
}

LayoutOut SmsLayout(const LayoutIn& in) {
    if (in.Minimised) {
        return {};
    }
    double y = 0;
    double gap = 0;
    LayoutOut out =
        header(in, std::max(0.0, in.InnerWidth), std::max(0.0, in.InnerHeight), false, y, gap);
    body(out, y, gap);
    return out;
}

} // namespace messagelayout
