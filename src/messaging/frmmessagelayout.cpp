// The e-mail window's layout: the pure rules of messagelayout applied to the controls.
#include "messaging/frmmessage.h"

#include "messaging/messagelayout.h"
#include "messaging/safebodyview.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/ui/twips.h"
#include "platform/ui/umessageaddress.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolBar>

#include <algorithm>

namespace {

double leftOf(QToolBar* bar, const QString& key) {
    QAction* action = bar->findChild<QAction*>(key, Qt::FindDirectChildrenOnly);
    return action != nullptr ? PixelsToTwips(bar->actionGeometry(action).left()) : 0;
}

double textWidth(const QLabel* label) {
    return PixelsToTwips(label->sizeHint().width());
}

} // namespace

void frmMessage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmMessage::Form_Resize() {
    if (fraMessage_ == nullptr) {
        return;
    }
    toolbarMain_->setGeometry(0, 0, width(), TwipsToPixels(360));
    messagelayout::LayoutIn in;
    in.InnerWidth = PixelsToTwips(width());
    in.InnerHeight = PixelsToTwips(height());
    in.Minimised = isMinimized();
    in.Editable = editable_;
    in.Personal = message_ && message_->PersonalOwner() != 0;
    in.Attachments = lvwAttachments_->count();
    if (in.Attachments > 0) {
        const QRect last =
            lvwAttachments_->visualItemRect(lvwAttachments_->item(in.Attachments - 1));
        in.LastItemBottom = PixelsToTwips(last.bottom() + 1);
    }
    in.ReplyLeft = leftOf(toolbarMain_, QStringLiteral("reply"));
    in.ReplyAllLeft = leftOf(toolbarMain_, QStringLiteral("replyall"));
    in.ForwardLeft = leftOf(toolbarMain_, QStringLiteral("forward"));
    in.EditSepLeft = leftOf(toolbarMain_, QStringLiteral("editsep"));
    // What the bar needs with every shown tool laid out, not what its overflow leaves of it.
    in.EditBarWidth =
        toolBarEdit_->isVisibleTo(this) ? PixelsToTwips(toolBarEdit_->sizeHint().width()) : 0;
    in.DateDescWidth = textWidth(lblDateDesc_);
    in.DateWidth = textWidth(lblDate_);
    const messagelayout::LayoutOut out = messagelayout::EmailLayout(in);
    if (!out.Applied) {
        return;
    }
    const auto place = [](QWidget* w, const TwipsRect& r) { w->setGeometry(r.toPixels()); };
    // A tiny window cuts it at its edge, where the toolbar's own extension button offers the
    // rest.
    QRect editBar = out.ToolBarEdit.toPixels();
    editBar.setWidth(std::max(0, std::min(editBar.width(), width() - editBar.left())));
    toolBarEdit_->setGeometry(editBar);
    toolBarEdit_->raise();
    const int sendLeft = TwipsToPixels(leftOf(toolbarMain_, QStringLiteral("send")));
    cmdSend_->setGeometry(QRect(sendLeft, 0, TwipsToPixels(855), TwipsToPixels(315)));
    place(cmdReply_, out.CmdReply);
    place(cmdReplyAll_, out.CmdReplyAll);
    place(cmdForward_, out.CmdForward);
    lineRule_->setGeometry(0, TwipsToPixels(out.LineDarkY), width(), 2);
    place(fraMessage_, out.Frame);
    place(picPersonal_, out.PicPersonal);
    place(lblDate_, out.LblDate);
    place(lblDateDesc_, out.LblDateDesc);
    place(ctlFrom_, out.CtlFrom);
    place(lblFromDesc_, out.LblFromDesc);
    place(cmdFrom_, out.CmdFrom);
    place(ctlTo_, out.CtlTo);
    place(lblToDesc_, out.LblToDesc);
    place(cmdTo_, out.CmdTo);
    place(ctlCC_, out.CtlCC);
    place(lblCCDesc_, out.LblCCDesc);
    place(cmdCC_, out.CmdCC);
    place(lvwAttachments_, out.LvwAttachments);
    place(lblAttachmentsDesc_, out.LblAttachmentsDesc);
    place(cmdAttachments_, out.CmdAttachments);
    lvwAttachments_->setVisible(out.AttachmentsVisible);
    cmdAttachments_->setVisible(out.CmdAttachmentsVisible);
    // The attach button stands where the caption would.
    lblAttachmentsDesc_->setVisible(out.AttachmentsVisible && !out.CmdAttachmentsVisible);
    place(txtSubject_, out.TxtSubject);
    place(lblSubjectDesc_, out.LblSubjectDesc);
    place(picBody_, out.PicBody);
    place(wbBody_->Widget(), out.Body);
}
