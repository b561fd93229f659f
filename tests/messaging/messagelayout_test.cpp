#include "messaging/messagelayout.h"

#include <gtest/gtest.h>

namespace {
using namespace messagelayout;

double bottom(const TwipsRect& r) {
    return r.top + r.height;
}
double right(const TwipsRect& r) {
    return r.left + r.width;
}

struct Size {
    const char* name;
    double width;
    double height;
};
// The design size, a small laptop, a wide studio monitor and a tiny window.
constexpr Size kSizes[] = {{"design", 11010, 6810},
                           {"laptop", 1366 * 15, 700 * 15},
                           {"studio monitor", 3440 * 15, 1380 * 15},
                           {"tiny", 300, 200}};

TEST(MessageLayout, EmailRowsAtEverySizeAndState) {
    for (const Size& size : kSizes) {
        for (const bool editable : {true, false}) {
            for (const bool personal : {false, true}) {
                for (const int attachments : {0, 1, 3}) {
                    LayoutIn in;
                    in.InnerWidth = size.width;
                    in.InnerHeight = size.height;
                    in.Editable = editable;
                    in.Personal = personal;
                    in.Attachments = attachments;
                    in.LastItemBottom = 600;
                    const LayoutOut out = EmailLayout(in);
                    const std::string what =
                        std::string(size.name) + (editable ? " editable" : " read-only") +
                        (personal ? " personal " : " ") + std::to_string(attachments);
                    ASSERT_TRUE(out.Applied) << what;
                    const double gap = editable ? 90 : 60;
                    const double w = std::max(size.width, 6000.0);
                    const double h = std::max(size.height, 3600.0);
                    EXPECT_EQ(out.Frame, (TwipsRect{120, 510, w - 240, h - 630})) << what;
                    const double limit = personal ? out.PicPersonal.left - 60 : out.Frame.width;
                    EXPECT_EQ(right(out.PicPersonal), out.Frame.width) << what;
                    EXPECT_EQ(right(out.LblDate), limit) << what;
                    EXPECT_EQ(out.LblDate.left - right(out.LblDateDesc), 240) << what;
                    EXPECT_EQ(right(out.CtlFrom), editable ? limit : out.LblDateDesc.left - 120)
                        << what;
                    EXPECT_EQ(out.CtlTo.top - bottom(out.CtlFrom), gap) << what;
                    EXPECT_EQ(out.CtlCC.top - bottom(out.CtlTo), gap) << what;
                    for (const TwipsRect& field : {out.CtlTo, out.CtlCC, out.TxtSubject}) {
                        EXPECT_EQ(right(field), out.Frame.width) << what;
                    }
                    EXPECT_EQ(out.AttachmentsVisible, attachments > 0) << what;
                    EXPECT_EQ(out.CmdAttachmentsVisible, attachments > 0 && editable) << what;
                    const double listHeight = attachments > 1 ? 690 : 285;
                    EXPECT_EQ(out.LvwAttachments.height, listHeight) << what;
                    const double aboveSubject =
                        attachments > 0 ? bottom(out.LvwAttachments) : bottom(out.CtlCC);
                    if (attachments > 0) {
                        EXPECT_EQ(out.LvwAttachments.top - bottom(out.CtlCC), gap) << what;
                    }
                    EXPECT_EQ(out.TxtSubject.top - aboveSubject, gap) << what;
                    EXPECT_EQ(out.PicBody.top - bottom(out.TxtSubject), gap) << what;
                    EXPECT_EQ(bottom(out.PicBody), out.Frame.height) << what;
                    EXPECT_EQ(out.Body, (TwipsRect{0, 0, out.PicBody.width, out.PicBody.height}))
                        << what;
                    EXPECT_EQ(out.ToolBarEdit.left, in.EditSepLeft + 30) << what;
                    EXPECT_EQ(out.CmdReply.left, in.ReplyLeft) << what;
                    EXPECT_EQ(out.CmdReplyAll.left, in.ReplyAllLeft) << what;
                    EXPECT_EQ(out.CmdForward.left, in.ForwardLeft) << what;
                    for (const TwipsRect& r : {out.CtlFrom, out.LvwAttachments, out.PicBody}) {
                        EXPECT_GE(r.width, 0) << what;
                        EXPECT_GE(r.height, 0) << what;
                    }
                }
            }
        }
    }
}

TEST(MessageLayout, TheDesignSizeAndMinimised) {
    LayoutIn in;
    in.InnerWidth = 11010;
    in.InnerHeight = 6810;
    const LayoutOut out = EmailLayout(in);
    EXPECT_EQ(out.LineDarkY, 375);
    EXPECT_EQ(out.LineLightY, 390);
    EXPECT_EQ(out.CtlFrom, (TwipsRect{1020, 30, 10770 - 1020, 285}));
    EXPECT_EQ(out.CmdFrom, (TwipsRect{0, 0, 855, 315}));
    EXPECT_EQ(out.CtlTo.top, 405);
    EXPECT_EQ(out.CtlCC.top, 780);
    EXPECT_EQ(out.TxtSubject.top, 1155);
    EXPECT_EQ(out.PicBody, (TwipsRect{0, 1530, 10770, 6180 - 1530}));

    in.Minimised = true;
    EXPECT_FALSE(EmailLayout(in).Applied);
    EXPECT_FALSE(SmsLayout(in).Applied);
}

// The edit toolbar stays beside the main one while every tool it shows fits there; otherwise
// it takes a row of its own and everything under the toolbars moves down by that row.
TEST(MessageLayout, TheEditToolbarTakesARowOfItsOwnWhenItsToolsWouldPassTheEdge) {
    const struct {
        const char* what;
        double width;
        double editSepLeft;
        double editBarWidth;
        bool ownRow;
    } cases[] = {
        {"fits beside with room to spare", 11010, 3000, 6000, false},
        {"ends exactly at the edge", 11010, 3000, 11010 - 3030, false},
        {"one twip past the edge", 11010, 3000, 11010 - 3030 + 1, true},
        {"captions push editsep far right at the design size", 11010, 9300, 7500, true},
        {"a wide studio monitor keeps it beside", 3440 * 15, 9300, 7500, false},
        {"no tool shown: nothing to make room for", 6000, 9300, 0, false},
        {"the minimum width counts, not a tinier window", 300, 1000, 4970, false},
    };
    for (const auto& c : cases) {
        for (const bool editable : {true, false}) {
            for (const auto layout : {&EmailLayout, &SmsLayout}) {
                LayoutIn in;
                in.InnerWidth = c.width;
                in.InnerHeight = 6810;
                in.Editable = editable;
                in.EditSepLeft = c.editSepLeft;
                in.EditBarWidth = c.editBarWidth;
                const LayoutOut out = layout(in);
                const std::string what = std::string(c.what) +
                                         (editable ? " editable" : " read-only") +
                                         (layout == &EmailLayout ? " e-mail" : " SMS");
                if (layout == &SmsLayout && c.width < 6000) {
                    continue; // the SMS window has no minimum of its own here
                }
                ASSERT_EQ(out.EditBarOwnRow, c.ownRow) << what;
                const double width = std::max(c.width, 6000.0);
                if (c.ownRow) {
                    EXPECT_EQ(out.ToolBarEdit, (TwipsRect{0, 360, width, 330})) << what;
                    EXPECT_EQ(out.LineDarkY, 360 + 330 + 15) << what;
                    EXPECT_EQ(out.Frame.top, 360 + 330 + 15 + 15 + 120) << what;
                } else {
                    EXPECT_EQ(out.ToolBarEdit.left, c.editSepLeft + 30) << what;
                    EXPECT_EQ(out.ToolBarEdit.top, 0) << what;
                    EXPECT_EQ(out.LineDarkY, 375) << what;
                    EXPECT_EQ(out.Frame.top, 510) << what;
                    if (c.editBarWidth > 0) {
                        EXPECT_EQ(out.ToolBarEdit.width, c.editBarWidth) << what;
                    }
                }
                // The header rows keep their gaps under wherever the toolbars end.
                EXPECT_EQ(out.CtlFrom.top, 30) << what;
                EXPECT_EQ(out.CtlTo.top - bottom(out.CtlFrom), editable ? 90 : 60) << what;
                EXPECT_EQ(bottom(out.Frame), std::max(6810.0, 3600.0) - 120) << what;
                EXPECT_EQ(bottom(out.PicBody), out.Frame.height) << what;
            }
        }
    }
}

TEST(MessageLayout, SmsRowsAtEverySizeAndState) {
    for (const Size& size : kSizes) {
        for (const bool editable : {true, false}) {
            for (const bool personal : {false, true}) {
                LayoutIn in;
                in.InnerWidth = size.width;
                in.InnerHeight = size.height;
                in.Editable = editable;
                in.Personal = personal;
                in.ForwardLeft = 1980;
                const LayoutOut out = SmsLayout(in);
                const std::string what = std::string(size.name) +
                                         (editable ? " editable" : " read-only") +
                                         (personal ? " personal" : "");
                ASSERT_TRUE(out.Applied) << what;
                const double gap = editable ? 90 : 60;
                EXPECT_EQ(out.CtlTo.top - bottom(out.CtlFrom), gap) << what;
                EXPECT_EQ(out.PicBody.top - bottom(out.CtlTo), gap) << what;
                EXPECT_EQ(out.CmdForward.left, 1980) << what;
                EXPECT_EQ(out.CmdReplyAll, TwipsRect{}) << what;
                EXPECT_EQ(out.Body.width, out.PicBody.width) << what;
                EXPECT_EQ(out.Body.height, out.PicBody.height) << what;
                for (const TwipsRect& r :
                     {out.Frame, out.CtlFrom, out.CtlTo, out.PicBody, out.LblDate}) {
                    EXPECT_GE(r.width, 0) << what;
                    EXPECT_GE(r.height, 0) << what;
                }
                if (size.width >= 6000 && size.height >= 3600) {
                    EXPECT_EQ(bottom(out.PicBody), out.Frame.height) << what;
                }
            }
        }
    }
}

} // namespace
