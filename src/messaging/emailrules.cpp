#include "messaging/emailrules.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/addresstext.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/displaytext.h"

#include <algorithm>
#include <utility>

namespace emailrules {

QList<AddressEntry> ParseAddressList(const QString& text) {
    QList<AddressEntry> entries;
    for (const QString& piece : mime::SplitAddressText(text)) {
        // The "<" that opens the address is the last one: a quoted name may hold another.
        const qsizetype open = piece.lastIndexOf(u'<');
        if (open > 0) {
            entries.append({piece.left(open).trimmed(), piece.mid(open).trimmed()});
        } else {
            entries.append({QString(), piece});
        }
    }
    return entries;
}

QString StationSender(const QString& emailName, const QString& emailAddress) {
    return u'"' + emailName + QStringLiteral("\" <") + emailAddress + u'>';
}

QString FirstEmail(const QString& email1, const QString& email2, const QString& email3) {
    for (const QString* address : {&email1, &email2, &email3}) {
        if (!address->isEmpty()) {
            return *address;
        }
    }
    return {};
}

SendCheck CheckSend(const QString& to, const QString& subject, const QString& bodyText) {
    if (mime::SplitAddressText(to).isEmpty()) {
        return SendCheck::NoRecipient;
    }
    if (subject.trimmed().isEmpty() && bodyText.trimmed().isEmpty()) {
        return SendCheck::AskEmpty;
    }
    return SendCheck::Go;
}

QString AddressRefusal(const QString& to, const QString& cc) {
    const std::pair<const QString*, const char*> boxes[] = {{&to, "To box"}, {&cc, "Cc box"}};
    for (const auto& [text, box] : boxes) {
        for (const QString& entry : mime::SplitAddressText(*text)) {
            if (!MimeMessage::IsMailboxEntry(entry)) {
                return QStringLiteral("'") + entry + QStringLiteral("' in the ") +
                       QString::fromUtf8(box) + QStringLiteral(" is not an e-mail address!");
            }
        }
    }
    return {};
}

QueueState CurrentQueueState(const OrlixMessage& message) {
    return {message.Folder(), message.Flags(), message.SendAfterDate(),
            message.CDOMessage().Date()};
}

QueueState QueueForSending(OrlixMessage& message, const QDateTime& now) {
    const QueueState before = CurrentQueueState(message);
    message.SetSendAfterDate(now.addSecs(kSendDelaySeconds));
    message.SetFlags(message.Flags() | OrlixMessage::FlagToBeSent);
    message.SetFolder(OrlixMessage::kOutboxFolder);
    MimeMessage mime = message.CDOMessage();
    mime.SetDate(now);
    message.SetCDOMessage(mime);
    return before;
}

void RestoreQueueState(OrlixMessage& message, const QueueState& state) {
    message.SetFolder(state.Folder);
    message.SetFlags(state.Flags);
    message.SetSendAfterDate(state.SendAfterDate);
    MimeMessage mime = message.CDOMessage();
    mime.SetDate(state.Date);
    message.SetCDOMessage(mime);
}

bool ListNeedsRefresh(qint32 listFolder, qint32 oldFolder, qint32 newFolder) {
    return listFolder == oldFolder && newFolder != oldFolder;
}

bool OpensEditable(const QDateTime& sentDate, qint32 folder) {
    return !sentDate.isValid() || folder == OrlixMessage::kNewMessagesFolder;
}

bool EffectiveEditable(bool asked, bool emailSendEnabled) {
    return asked && emailSendEnabled;
}

Visibility VisibilityFor(bool editable, bool emailSendEnabled, bool allowPersonalAddresses) {
    Visibility v;
    v.EditToolbar = editable;
    v.Send = editable;
    v.Answers = !editable && emailSendEnabled;
    v.FromChooser = editable && allowPersonalAddresses;
    v.AddressChoosers = editable;
    v.AddressCaptions = !editable;
    v.Date = !editable;
    v.AddressLinks = !editable;
    return v;
}

SaveRight RightToSave(qint32 personalOwner, qint32 userReference) {
    return personalOwner != 0 && personalOwner == userReference ? SaveRight::PersonalMessages
                                                                : SaveRight::Messages;
}

QString RefusalText(SaveRight right) {
    return right == SaveRight::PersonalMessages
               ? QStringLiteral("You do not have the nescessary Security Permissions to save "
                                "Personal Messages into the Directory")
               : QStringLiteral("You do not have the nescessary Security Permissions to save "
                                "Messages into the Directory");
}

QString EmptySendQuestion() {
    return QStringLiteral("You have not entered a Subject or any text in the message itself\n\n"
                          "Are you sure you want to send this message?");
}

QString WindowCaption(const QString& subject) {
    const QString shown = subject.trimmed();
    return (shown.isEmpty() ? QStringLiteral("Untitled") : DisplayText::Field(shown)) +
           QStringLiteral(" - Message");
}

QString CloseQuestion(const QString& subject) {
    const QString trimmed = subject.trimmed();
    if (trimmed.isEmpty()) {
        return QStringLiteral("Do you want to save the changes you made to this Message?");
    }
    return QStringLiteral("Do you want to save the changes you made to the Message '") + trimmed +
           QStringLiteral("'?");
}

std::unique_ptr<OrlixMessage> MakeAnswer(const OrlixMessage& shown, Answer answer,
                                         const QStringList& ownAddresses) {
    auto made = std::make_unique<OrlixMessage>();
    const MimeMessage original = shown.CDOMessage();
    switch (answer) {
    case Answer::Reply:
        made->SetCDOMessage(original.Reply());
        break;
    case Answer::ReplyAll:
        made->SetCDOMessage(original.ReplyAll(ownAddresses));
        break;
    case Answer::Forward:
        made->SetCDOMessage(original.Forward());
        break;
    }
    made->SetFolder(OrlixMessage::kNewMessagesFolder);
    made->SetSentDate({});
    made->SetReceivedDate({});
    made->SetFlags(0);
    made->SetKind(shown.Kind());
    made->SetInheritedValue(shown.InheritedValue());
    made->SetEdited(true);
    return made;
}

TwipsRect Cascade(const TwipsRect& last, const TwipsRect& mainWindow) {
    constexpr int kStep = 255;
    constexpr int kMargin = 500;
    TwipsRect next = last;
    next.Top = last.Top + kStep;
    next.Left = last.Left + kStep;
    if (last.Top + last.Height >= mainWindow.Top + mainWindow.Height - kMargin) {
        next.Top = mainWindow.Top + kMargin;
    }
    if (last.Left + last.Width >= mainWindow.Left + mainWindow.Width - kMargin) {
        next.Left = mainWindow.Left + kMargin;
    }
    return next;
}

namespace {
// One axis of the frame: its start, whole on [low, high) when it can be.
int FitAxis(int start, int length, int restart, int low, int high) {
    if (start < low || start + length > high) {
        start = restart;
    }
    if (start + length > high) {
        start = high - length;
    }
    return std::max(start, low);
}
} // namespace

TwipsRect PlaceWindow(const std::optional<TwipsRect>& last, const TwipsRect& size,
                      const TwipsRect& mainWindow, const TwipsRect& screen,
                      const TwipsMargins& margins) {
    constexpr int kMargin = 500;
    TwipsRect next =
        last ? Cascade(*last, mainWindow)
             : TwipsRect{mainWindow.Left + kMargin + margins.Left,
                         mainWindow.Top + kMargin + margins.Top, size.Width, size.Height};
    const int frameWidth = margins.Left + next.Width + margins.Right;
    const int frameHeight = margins.Top + next.Height + margins.Bottom;
    next.Left = FitAxis(next.Left - margins.Left, frameWidth, mainWindow.Left + kMargin,
                        screen.Left, screen.Left + screen.Width) +
                margins.Left;
    next.Top = FitAxis(next.Top - margins.Top, frameHeight, mainWindow.Top + kMargin, screen.Top,
                       screen.Top + screen.Height) +
               margins.Top;
    return next;
}

} // namespace emailrules
