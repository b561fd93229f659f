// orlix-messages: creates a messages database, imports received e-mail and SMS into it, lists
// folders, and hands the delivering program the Outbox messages that are due.

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/messagesdb/smsform.h"
#include "platform/messagesdb/stationrules.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/platformlog.h"
#include "platform/system/terminaltext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {
constexpr int kUsage = 1;
constexpr int kFailed = 2;

const char* const kHelp = R"(Usage: orlix-messages COMMAND FOLDER [ARGUMENTS]

Commands:
  create FOLDER                    Create a messages database in FOLDER (it must exist).
  import FOLDER [--sms] [--folder N] FILE...
                                   Store each FILE as a received message, in the Inbox (3)
                                   unless --folder says otherwise, sent at its Date header
                                   (else when it was received), and write its reference
                                   and FILE as soon as it is stored. A FILE is an RFC 5322
                                   message, or with --sms the small SMS form:
                                     From: <number>
                                     To: <number>
                                     Received: <YYYY-MM-DDThh:mm:ssZ>   (optional)
                                     <blank line>
                                     <text>
  list FOLDER [--folder N]         List the messages (of folder N), newest first.
  due FOLDER [--at TIME]           List the Outbox messages that are due: to be sent, and
                                   their send-after time passed (now, or at TIME).
  show FOLDER REFERENCE            Write the message's RFC 5322 bytes to standard output.
  mark-sent FOLDER REFERENCE       Record a message as sent now: its sent date is set, its
                                   to-be-sent bit cleared and it is filed in Sent Items (4).
  station FOLDER [--name T] [--address T] [--phone T] [--sms T] [--company T] [--vat T]
                                   Set the station's details that are given (trimmed; the
                                   address takes "\n" between its lines), then show them all,
                                   one "field<tab>value" line each.

All times are printed and read in UTC (ISO 8601, "Z"); a received time given without a zone
is taken as UTC too. Lists are tab-separated: reference, folder, kind (1 e-mail, 2 SMS),
time, from or to, subject. In a listener's text, control characters (tab and line breaks
too) are shown as \xNN, characters that change the text's direction as \uNNNN, and a
backslash as \\.
)";

QTextStream& out() {
    static QTextStream s(stdout);
    return s;
}
QTextStream& err() {
    static QTextStream s(stderr);
    return s;
}

QString utc(const QDateTime& d) {
    return d.isValid() ? d.toUTC().toString(Qt::ISODate) : QStringLiteral("-");
}

bool open(OrlixDatabase& db, const QString& folder) {
    db.SetChangeWatch(0, 0);
    const qint32 code = db.OpenDatabase(folder, QString());
    if (code != 0) {
        err() << "orlix-messages: the database in '" << folder << "' could not be opened (code "
              << code << ")\n";
        return false;
    }
    return true;
}

int import(OrlixDatabase& db, const QStringList& args) {
    bool sms = false;
    qint32 folder = OrlixDatabase::kInboxFolder;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--sms")) {
            sms = true;
        } else if (args.at(i) == QLatin1String("--folder") && i + 1 < args.size()) {
            bool ok = false;
            folder = args.at(++i).toInt(&ok);
            if (!ok) {
                err() << "orlix-messages: --folder takes a folder number\n";
                return kUsage;
            }
        } else {
            files << args.at(i);
        }
    }
    if (files.isEmpty()) {
        err() << "orlix-messages: import needs at least one file\n";
        return kUsage;
    }
    int failed = 0;
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << "orlix-messages: '" << path << "' cannot be read\n";
            ++failed;
            continue;
        }
        const QByteArray bytes = file.readAll();
        OrlixMessage message;
        message.SetFolder(folder);
        QDateTime received = QDateTime::currentDateTimeUtc();
        if (sms) {
            SmsForm form;
            QString why;
            if (!ReadSmsForm(bytes, form, why)) {
                err() << "orlix-messages: '" << path << "' is not an SMS: " << why << "\n";
                ++failed;
                continue;
            }
            message.SetKind(OrlixMessage::KindSms);
            if (form.Received.isValid()) {
                received = form.Received;
            }
            // An SMS holds its text twice, as the subject and as the text body. The message is
            // made here: its numbers stay in the private headers that keep them as written.
            MimeMessage mime = MimeMessage::FromBytes(
                BuildTextMessage(form.From, form.To, QString(), form.Text, received));
            mime.SetSubject(form.Text);
            message.SetCDOMessage(mime);
        } else {
            message.SetKind(OrlixMessage::KindEmail);
            message.SetMessageBytes(bytes);
        }
        message.SetReceivedDate(received);
        // A received message carries its sending time: undated, it would open as a draft.
        const QDateTime sent = sms ? QDateTime() : message.CDOMessage().Date();
        message.SetSentDate(sent.isValid() ? sent : received);
        bool ok = false;
        db.StoreMessage(message, ok);
        if (!ok) {
            err() << "orlix-messages: '" << path << "' could not be stored\n";
            ++failed;
            continue;
        }
        // Written and flushed at once: a caller killed or stopped after this line knows the
        // file is stored, and imports again only the files it read no line for.
        out() << message.Reference() << "\t" << path << "\n";
        out().flush();
    }
    return failed == 0 ? 0 : kFailed;
}

void printList(const OrlixMessageList& list, bool outgoing) {
    for (const auto& m : list.Messages()) {
        const QDateTime when = outgoing                      ? m->SendAfterDate()
                               : m->ReceivedDate().isValid() ? m->ReceivedDate()
                                                             : m->SentDate();
        out() << m->Reference() << "\t" << m->Folder() << "\t" << m->Kind() << "\t" << utc(when)
              << "\t" << TerminalText(outgoing ? m->ToText() : m->FromText()) << "\t"
              << TerminalText(m->Subject()) << "\n";
    }
}

int station(OrlixDatabase& db, const QStringList& options) {
    StationDetails details{db.StationName(),          db.StationAddress(),
                           db.StationPhoneNumber(),   db.StationSMSPhoneNumber(),
                           db.StationCompanyNumber(), db.StationVATNumber()};
    const std::pair<const char*, QString*> fields[] = {
        {"--name", &details.Name},
        {"--address", &details.Address},
        {"--phone", &details.PhoneNumber},
        {"--sms", &details.SmsPhoneNumber},
        {"--company", &details.CompanyNumber},
        {"--vat", &details.VatNumber},
    };
    bool changed = false;
    for (qsizetype i = 0; i < options.size(); i += 2) {
        QString* field = nullptr;
        for (const auto& [name, target] : fields) {
            if (options.at(i) == QLatin1String(name)) {
                field = target;
            }
        }
        if (field == nullptr || i + 1 >= options.size()) {
            err() << "orlix-messages: station takes --name, --address, --phone, --sms, --company "
                     "and --vat, each with a text\n";
            return kUsage;
        }
        *field = options.at(i + 1);
        if (field == &details.Address) {
            field->replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        }
        changed = true;
    }
    if (changed) {
        if (const QString problem = StationRules::SmsNumberProblem(details.SmsPhoneNumber);
            !problem.isEmpty()) {
            err() << "orlix-messages: " << problem << "\n";
            return kUsage;
        }
        const auto tree = db.CategoryTree();
        QString problem;
        if (!tree || !db.StoreDatabaseSettings(details, tree->Folders(), &problem)) {
            err() << "orlix-messages: " << problem << "\n";
            return kFailed;
        }
    }
    out() << "name\t" << TerminalText(db.StationName()) << "\n"
          << "address\t" << TerminalText(db.StationAddress()) << "\n"
          << "phone\t" << TerminalText(db.StationPhoneNumber()) << "\n"
          << "sms\t" << TerminalText(db.StationSMSPhoneNumber()) << "\n"
          << "company\t" << TerminalText(db.StationCompanyNumber()) << "\n"
          << "vat\t" << TerminalText(db.StationVATNumber()) << "\n";
    return 0;
}

int run(const QStringList& args) {
    if (args.size() < 2 || args.at(0) == QLatin1String("--help") ||
        args.at(0) == QLatin1String("help")) {
        (args.isEmpty() || args.at(0) != QLatin1String("--help") ? err() : out()) << kHelp;
        return args.isEmpty() || args.at(0) != QLatin1String("--help") ? kUsage : 0;
    }
    const QString command = args.at(0);
    const QString folder = args.at(1);
    const QStringList rest = args.mid(2);
    OrlixDatabase db;
    if (command == QLatin1String("create")) {
        if (!rest.isEmpty()) {
            err() << kHelp;
            return kUsage;
        }
        if (!open(db, folder)) {
            return kFailed;
        }
        out() << "The messages database is in '" << db.DatabaseFile() << "'\n";
        return 0;
    }
    if (command == QLatin1String("import")) {
        return open(db, folder) ? import(db, rest) : kFailed;
    }
    if (command == QLatin1String("list") || command == QLatin1String("due")) {
        QString filter;
        QDateTime at = QDateTime::currentDateTimeUtc();
        if (command == QLatin1String("due") && rest.size() == 2 &&
            rest.at(0) == QLatin1String("--at")) {
            at = QDateTime::fromString(rest.at(1), Qt::ISODate);
            if (!at.isValid()) {
                err() << "orlix-messages: --at takes an ISO 8601 time\n";
                return kUsage;
            }
            if (at.timeSpec() == Qt::LocalTime) {
                at.setTimeSpec(Qt::UTC);
            }
        } else if (command == QLatin1String("list") && rest.size() == 2 &&
                   rest.at(0) == QLatin1String("--folder")) {
            bool ok = false;
            const int n = rest.at(1).toInt(&ok);
            if (!ok) {
                err() << "orlix-messages: --folder takes a folder number\n";
                return kUsage;
            }
            filter = QStringLiteral("[Folder]=%1").arg(n);
        } else if (!rest.isEmpty()) {
            err() << kHelp;
            return kUsage;
        }
        if (!open(db, folder)) {
            return kFailed;
        }
        const auto list =
            command == QLatin1String("due") ? db.GetDueMessages(at) : db.GetMessages(filter);
        if (!list) {
            err() << "orlix-messages: the messages could not be read\n";
            return kFailed;
        }
        printList(*list, command == QLatin1String("due"));
        return 0;
    }
    if (command == QLatin1String("show") || command == QLatin1String("mark-sent")) {
        bool ok = false;
        const qint32 reference = rest.size() == 1 ? rest.at(0).toInt(&ok) : 0;
        if (!ok || reference <= 0) {
            err() << "orlix-messages: " << command << " needs a message reference\n";
            return kUsage;
        }
        if (!open(db, folder)) {
            return kFailed;
        }
        if (command == QLatin1String("show")) {
            const auto message = db.GetMessage(reference);
            if (!message) {
                err() << "orlix-messages: there is no message " << reference << "\n";
                return kFailed;
            }
            out().flush();
            const QByteArray bytes = message->MessageBytes();
            std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
            return 0;
        }
        if (!db.MarkMessageSent(reference, QDateTime::currentDateTimeUtc())) {
            err() << "orlix-messages: message " << reference << " could not be marked sent\n";
            return kFailed;
        }
        return 0;
    }
    if (command == QLatin1String("station")) {
        return open(db, folder) ? station(db, rest) : kFailed;
    }
    err() << "orlix-messages: the command \"" << command << "\" is unknown\n\n" << kHelp;
    return kUsage;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    SetPlatformLogHandler([](const QString& text, int) { err() << text << "\n"; });
    const int code = run(QCoreApplication::arguments().mid(1));
    out().flush();
    err().flush();
    return code;
}
