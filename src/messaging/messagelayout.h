#pragma once

#include "platform/ui/twips.h"

// Where the controls of the message windows go, in twips, from the inner size and the
// window's state; the windows only apply the answer. Header rows stack under the toolbars
// with a gap of 90 while editable and 60 while read-only, and the body takes the rest of the
// frame. The edit toolbar stands beside the main one while all its tools fit there; where they
// would pass the window's edge it takes a row of its own under the main toolbar, so no tool is
// ever hidden behind the bar's overflow. Lengths are clamped at 0, so a tiny window lays out
// without negative sizes.
namespace messagelayout {

inline constexpr int kMinimumEmailWidth = 6000;
inline constexpr int kMinimumEmailHeight = 3600;

struct LayoutIn {
    double InnerWidth = 0;
    double InnerHeight = 0;
    bool Minimised = false;
    bool Editable = true;
    bool Personal = false; // the shown message has a personal owner
    int Attachments = 0;
    // The last attachment item's Top + Height at the new width (used when there are several).
    double LastItemBottom = 0;
    // Lefts of the main toolbar's "reply", "replyall", "forward" and "editsep" buttons.
    double ReplyLeft = 1080;
    double ReplyAllLeft = 1980;
    double ForwardLeft = 3420;
    double EditSepLeft = 6510;
    // The width the edit toolbar needs to show every tool it shows; 0 when it shows none.
    double EditBarWidth = 0;
    // Widths of "Sent Date:" and of the date.
    double DateDescWidth = 855;
    double DateWidth = 1500;
};

struct LayoutOut {
    bool Applied = false;       // false while minimised: nothing moves
    bool EditBarOwnRow = false; // the edit toolbar stands under the main one
    double LineDarkY = 0;
    double LineLightY = 0;
    TwipsRect ToolBarEdit;
    TwipsRect CmdSend, CmdReply, CmdReplyAll, CmdForward;
    // The rest are relative to the frame.
    TwipsRect Frame;
    TwipsRect PicPersonal;
    TwipsRect LblDate, LblDateDesc;
    TwipsRect CtlFrom, LblFromDesc, CmdFrom;
    TwipsRect CtlTo, LblToDesc, CmdTo;
    TwipsRect CtlCC, LblCCDesc, CmdCC;
    TwipsRect LvwAttachments, LblAttachmentsDesc, CmdAttachments;
    bool AttachmentsVisible = false;
    bool CmdAttachmentsVisible = false;
    TwipsRect TxtSubject, LblSubjectDesc;
    TwipsRect PicBody;
    TwipsRect Body; // the editor or text box, inside the body area
};

// The e-mail window; an inner size below the minimum is laid out at the minimum.
LayoutOut EmailLayout(const LayoutIn& in);
// The SMS window: the From and To rows, then the body.
LayoutOut SmsLayout(const LayoutIn& in);

} // namespace messagelayout
