#include "core/printing/templateprinting.h"

#include "core/dialogs/goodinputbox.h"
#include "core/printing/printfile.h"
#include "core/printing/templatetags.h"
#include "core/program.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/stringhelper.h"
#include "platform/ui/messagebox.h"

namespace {

const QString kMessageCategory = QStringLiteral("PrintMessage");
const QString kWinnersCategory = QStringLiteral("PrintPrizeWinners");

// The template chooser: a single-choice list with the first name preselected. True when the
// user cancelled.
bool chooseInListBox(const QString& title, const QStringList& names, QString& chosen) {
    return GoodInputBoxList(QStringLiteral("Select the Template to use"), names.value(0), chosen,
                            title, nullptr, true, QVariant(names), false);
}

// The directory and the printing database as the tags' source.
class ProgramTagSource : public TemplateTagSource {
public:
    StationTagValues Station() const override {
        StationTagValues s;
        const OrlixDatabase* db = Program::Instance().Database();
        if (db == nullptr) {
            return s;
        }
        s.Name = db->StationName();
        s.Address = db->StationAddress();
        s.AddressString = db->StationAddressString(QStringLiteral(","));
        s.PhoneNumber = db->StationPhoneNumber();
        s.SMSPhoneNumber = db->StationSMSPhoneNumber();
        s.CompanyNumber = db->StationCompanyNumber();
        s.VATNumber = db->StationVATNumber();
        return s;
    }
    QDateTime LocalNow() const override { return QDateTime::currentDateTime(); }
    QDateTime UtcNow() const override { return QDateTime::currentDateTimeUtc(); }
    qint32 CurrentUserReference() const override {
        const KVDirectory* dir = Program::Instance().Directory();
        if (dir == nullptr || !dir->CurrentUser()) {
            return 0;
        }
        return dir->CurrentUser()->Reference();
    }
    QString ReplaceContactTags(const QString& text, qint32 reference,
                               const QString& prefix) const override {
        return ::ReplaceContactTags(text, reference, prefix);
    }
};

PrizeWinnerTagValues winnerValues(const OrlixPrizeWinner& w) {
    PrizeWinnerTagValues v;
    v.Reference = w.Reference();
    v.PrizeReference = w.PrizeReference();
    v.WinnerReference = w.WinnerReference();
    v.AwardedByReference = w.AwardedByReference();
    v.SentByReference = w.SentByReference();
    v.Notes = w.Notes();
    v.NotesToSupplier = w.NotesToSupplier();
    v.WonDate = w.WonDateText();
    v.SentDate = w.SentDateText();
    return v;
}

PrizeTagValues prizeValues(const OrlixPrize& p) {
    PrizeTagValues v;
    v.Reference = p.Reference();
    v.NumberSupplied = p.NumberSupplied();
    v.NumberWinners = p.NumberWinners();
    v.SupplierReference = p.SupplierReference();
    v.AddedByReference = p.AddedByReference();
    v.Title = p.Title();
    v.Notes = p.Notes();
    v.NotesToSupplier = p.NotesToSupplier();
    v.Script = p.Script();
    v.AddedDate = p.AddedDateText();
    v.StartDate = p.StartDateText();
    v.EndDate = p.EndDateText();
    for (int i = 1; i <= p.NumberWinners(); ++i) {
        const auto w = p.Winner(i);
        v.Winners << (w ? winnerValues(*w) : PrizeWinnerTagValues());
    }
    return v;
}

// Steps 2 to 5 shared by every print: the names of the category, the choice, the path.
// "" when printing stops here (the user has been told when there was something to tell).
QString chooseTemplatePath(OrlixDatabase& db, const QString& category, const QString& title,
                           bool alwaysAsk, const QString& missingText) {
    const QStringList names = db.GetTemplateList(category);
    if (names.isEmpty()) {
        return {};
    }
    QString chosen = names.first();
    if (alwaysAsk || names.size() > 1) {
        if (chooseInListBox(title, names, chosen)) {
            return {};
        }
    }
    if (chosen.isEmpty()) {
        return {};
    }
    const QString path = db.GetTemplatePath(category, chosen);
    if (path.isEmpty() || !(FileSystemHelper::FileSize(path) > 0)) {
        MsgBox(missingText + path, MsgIcon::Exclamation);
        return {};
    }
    return path;
}

void writeAndPreview(const QString& templatePath, const QString& text, QWidget* parent,
                     const OrlixDatabase& db) {
    const QString out = WritePrintFile(templatePath, text);
    if (out.isEmpty()) {
        return;
    }
    PreviewPrintFile(out, parent, db.TemplatesPath());
}

void printMessages(const QString& title, QWidget* parent,
                   const std::function<QString(const QString&)>& applyTemplate) {
    OrlixDatabase* db = Program::Instance().Database();
    if (db == nullptr) {
        return;
    }
    const QString path =
        chooseTemplatePath(*db, kMessageCategory, title, false,
                           QStringLiteral("The Message Template file could not be found in "));
    if (path.isEmpty()) {
        return;
    }
    const QString text = StringHelper::ReadTextFile(path);
    if (text.isEmpty()) {
        return;
    }
    writeAndPreview(path, applyTemplate(ReplaceTemplateTags(text)), parent, *db);
}

} // namespace

QString ReplaceContactTags(const QString& text, qint32 reference, const QString& prefix) {
    KVDirectory* dir = Program::Instance().Directory();
    KVDirectory::ContactPtr contact;
    if (dir != nullptr) {
        if (reference != 0) {
            // The record with its address: the address tags show it.
            contact = dir->GetContact(reference, true, false);
        }
        if (!contact) {
            contact = dir->CreateContact(0);
        }
    }
    if (!contact) {
        contact = std::make_shared<DirectoryContact>();
    }
    return contact->ReplaceTags(text, prefix);
}

QString ReplaceTemplateTags(const QString& text) {
    return ReplaceTemplateTags(text, ProgramTagSource());
}

QString FillPrizeWinnersTemplate(const OrlixPrize& prize, const QString& templatePath) {
    return FillPrizeWinnersTemplate(prizeValues(prize), templatePath, ProgramTagSource());
}

QString FillPrizeWinnerFields(const QString& block, const OrlixPrizeWinner& winner) {
    return FillPrizeWinnerFields(block, winnerValues(winner), ProgramTagSource());
}

QString FillPrizeFields(const OrlixPrize& prize, const QString& text) {
    return FillPrizeFields(prizeValues(prize), text, ProgramTagSource());
}

void PrintMessageFromTemplate(const OrlixMessage* message, QWidget* parent) {
    if (message == nullptr) {
        return;
    }
    printMessages(QStringLiteral("Print Message"), parent,
                  [message](const QString& t) { return message->ApplyTemplate(t, 0); });
}

void PrintMessagesFromTemplate(const OrlixMessageList* messages, QWidget* parent) {
    if (messages == nullptr) {
        return;
    }
    printMessages(QStringLiteral("Print Messages"), parent,
                  [messages](const QString& t) { return messages->ApplyTemplate(t, 4096); });
}

void PrintPrizeWinnersFromTemplate(const OrlixPrize* prize, QWidget* parent) {
    if (prize == nullptr) {
        return;
    }
    if (!(prize->NumberWinners() > 0)) {
        MsgBox(QStringLiteral("You cannot print the winners list becuase there are no Winners!"),
               MsgIcon::Exclamation);
        return;
    }
    OrlixDatabase* db = Program::Instance().Database();
    if (db == nullptr) {
        return;
    }
    const QString path = chooseTemplatePath(
        *db, kWinnersCategory, QStringLiteral("Print Winners List"), true,
        QStringLiteral("The Prize Winners List Template file could not be found in "));
    if (path.isEmpty()) {
        return;
    }
    const QString text = FillPrizeWinnersTemplate(*prize, path);
    if (text.trimmed().isEmpty()) {
        return;
    }
    writeAndPreview(path, text, parent, *db);
}
