// The e-mail window's attachments: attaching files, removing them, and opening a copy of one
// without its name leaving the private temporary folder or a listener's program being run.
#include "messaging/attachmentcopy.h"
#include "messaging/frmmessage.h"

#include "core/errorreport.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/mimeattachment.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/desktopopener.h"
#include "platform/system/folders.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/mousepointer.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>

bool frmMessage::AddAttachment(const QString& path) {
    if (!editable_ || !message_) {
        return false;
    }
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    MimeMessage mime = message_->CDOMessage();
    QString error;
    if (!mime.AddAttachment(path, &error)) {
        ShowProblem(QStringLiteral("attaching the file '") + path + u'\'', error);
        return false;
    }
    const MimeAttachments& attachments = mime.Attachments();
    message_->SetCDOMessage(mime);
    message_->SetEdited(true);
    lvwAttachments_->addItem(attachments.Item(attachments.Count()).SafeFileName());
    updateAttachmentsRow();
    return true;
}

void frmMessage::AttachFiles() {
    const QStringList paths =
        CommonDialogs().askOpenFileNames(QStringLiteral("Add Attachment"), this);
    for (const QString& path : paths) {
        AddAttachment(path);
    }
}

bool frmMessage::DeleteAttachment(int index) {
    if (!editable_ || !message_ || index < 1 || index > lvwAttachments_->count()) {
        return false;
    }
    MimeMessage mime = message_->CDOMessage();
    if (!mime.Attachments().Delete(index)) {
        return false;
    }
    message_->SetCDOMessage(mime);
    message_->SetEdited(true);
    delete lvwAttachments_->takeItem(index - 1);
    updateAttachmentsRow();
    return true;
}

QString frmMessage::OpenAttachment(int index) {
    if (!message_) {
        return {};
    }
    const MimeMessage mime = message_->CDOMessage();
    const MimeAttachment attachment = mime.Attachments().Item(index);
    if (attachment.IsNull()) {
        return {};
    }
    const QString path =
        attachmentcopy::CopyPath(Folders::PrivateTemp(), attachment.SafeFileName());
    if (path.isEmpty()) {
        return {};
    }
    const MousePointerGuard busy(MousePointerGuard::Hourglass);
    if (!attachmentcopy::ClearCopyPath(path)) {
        MsgBox(QStringLiteral("The attachment could not be opened, because there is already a "
                              "temporary file called '") +
                   path + QStringLiteral("' that could not be deleted"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return {};
    }
    const QString context = QStringLiteral("displaying the attachment '") + path + u'\'';
    QString error;
    if (!attachment.SaveToFile(path, &error)) {
        ShowProblem(context, error);
        return {};
    }
    // Read and written by this user only, and never executable.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QString refusal = attachmentcopy::OpenRefusal(path);
    if (!refusal.isEmpty()) {
        ShowProblem(context, refusal);
        return path;
    }
    if (!OpenWithDesktop(QUrl::fromLocalFile(path))) {
        ShowProblem(context, QString::fromUtf8(attachmentcopy::kNoOpenerText));
    }
    return path;
}

void frmMessage::updateAttachmentsRow() {
    Form_Resize(); // the list's and the attach button's visibility come with their places
}

bool frmMessage::attachmentsKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Delete || !editable_) {
        return false;
    }
    const int row = lvwAttachments_->currentRow();
    if (row < 0) {
        return false;
    }
    return DeleteAttachment(row + 1);
}
