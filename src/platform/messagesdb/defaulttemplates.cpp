#include "platform/messagesdb/defaulttemplates.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// One block per message, each laid out only once it nears the view: a list of thousands
// shows as quickly as a screenful. The kind's picture is a style's background, so the page
// fetches each picture once, not once per message. In a narrow window a row wraps before its
// subject grows too narrow to read.
const char* const kMessagesList = R"(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Messages</title>
<style>
body { font-family: sans-serif; font-size: 10pt; margin: 0; background: #ffffff; }
.m { display: flex; flex-wrap: wrap; align-items: flex-start; border-bottom: 1px solid #e0e0e0;
  content-visibility: auto; contain-intrinsic-size: auto 52px; }
.m:hover { background: #eef4ff; }
.m > div { padding: 3px 6px; }
.unread .subject { font-weight: bold; }
.tick, .kind { flex: none; }
.date { flex: none; white-space: nowrap; color: #505050; }
.subject { flex: 1 1 12em; min-width: 12em; overflow-wrap: anywhere; word-break: break-word; }
.actions { flex: none; white-space: nowrap; }
a { color: #1a4fa0; text-decoration: none; }
.summary { color: #505050; }
.personal { color: #a05000; }
.k { display: inline-block; width: 16px; height: 16px; background: url(email.svg); }
.k.SMS { background-image: url(sms.svg); }
.none { padding: 12px; color: #707070; }
</style>
</head>
<body>
<OCP_MESSAGES_REPEAT>
<div class="m <OCP_MESSAGE_READ> <OCP_MESSAGE_PERSONAL>">
<div class="tick"><OCP_MESSAGE_SELECT></div>
<div class="kind"><span class="k <OCP_MESSAGE_KIND>" title="<OCP_MESSAGE_KIND>"></span></div>
<div class="date"><OCP_MESSAGE_DATE></div>
<div class="subject"><a href="<OCP_MESSAGE_OPENLINK>"><OCP_MESSAGE_FROM></a><br>
<OCP_MESSAGE_SUBJECT><br><span class="summary"><OCP_MESSAGE_SUMMARY></span></div>
<div class="actions"><a href="<OCP_MESSAGE_PRINTLINK>">Print</a> <a href="<OCP_MESSAGE_DELETELINK>">Delete</a></div>
</div>
</OCP_MESSAGES_REPEAT>
<OCP_MESSAGES_NONE><div class="none">There are no messages to show.</div></OCP_MESSAGES_NONE>
</body>
</html>
)";

const char* const kPrintMessage = R"(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Messages - <OCP_STATION_NAME></title>
<style>
body { font-family: serif; font-size: 11pt; }
.message { page-break-after: always; }
.message:last-child { page-break-after: auto; }
th { text-align: left; padding-right: 12px; vertical-align: top; }
.body { margin-top: 12px; }
.footer { font-size: 8pt; color: #606060; }
</style>
</head>
<body>
<OCP_MESSAGES_REPEAT>
<div class="message">
<h2><OCP_STATION_NAME></h2>
<table>
<tr><th>From:</th><td><OCP_MESSAGE_FROM></td></tr>
<tr><th>To:</th><td><OCP_MESSAGE_TO></td></tr>
<tr><th>Received:</th><td><OCP_MESSAGE_RECEIVEDDATE></td></tr>
<tr><th>Sent:</th><td><OCP_MESSAGE_SENTDATE></td></tr>
<tr><th>Subject:</th><td><OCP_MESSAGE_SUBJECT></td></tr>
</table>
<div class="body"><OCP_MESSAGE_BODY></div>
<p class="footer">Printed <OCP_CURRENTDATETIME></p>
</div>
</OCP_MESSAGES_REPEAT>
</body>
</html>
)";

const char* const kPrintPrizeWinners = R"(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<title>Winners - <OCP_PRIZE_TITLE></title>
<style>
body { font-family: serif; font-size: 11pt; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: 4px 8px; border-bottom: 1px solid #c0c0c0; vertical-align: top; }
</style>
</head>
<body>
<h2><OCP_STATION_NAME></h2>
<h3><OCP_PRIZE_TITLE></h3>
<p>Supplied: <OCP_PRIZE_NUMBERSUPPLIED> &middot; Winners: <OCP_PRIZE_NUMBERWINNERS> &middot;
From <OCP_PRIZE_STARTDATE> to <OCP_PRIZE_ENDDATE></p>
<table>
<tr><th>Winner</th><th>Address</th><th>Won</th><th>Sent</th><th>Notes</th><th>Notes to the supplier</th></tr>
<OCP_PRIZEWINNERS_REPEAT>
<tr><td><OCP_PRIZEWINNER_WINNER_NAME></td><td><OCP_PRIZEWINNER_WINNER_ADDRESS></td>
<td><OCP_PRIZEWINNER_WONDATE></td><td><OCP_PRIZEWINNER_SENTDATE></td>
<td><OCP_PRIZEWINNER_NOTES></td><td><OCP_PRIZEWINNER_NOTESTOSUPPLIER></td></tr>
</OCP_PRIZEWINNERS_REPEAT>
</table>
<p>Printed <OCP_CURRENTDATETIME></p>
</body>
</html>
)";

const char* const kEmailImage =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
<rect x="1.5" y="3.5" width="13" height="9" fill="#ffffff" stroke="#1a4fa0"/>
<path d="M1.5 3.5 L8 9 L14.5 3.5" fill="none" stroke="#1a4fa0"/>
</svg>
)";

const char* const kSmsImage =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">
<rect x="4.5" y="1.5" width="7" height="13" rx="1" fill="#ffffff" stroke="#2a7a2a"/>
<rect x="6" y="3" width="4" height="7" fill="#cfe8cf"/>
<circle cx="8" cy="12.5" r="0.8" fill="#2a7a2a"/>
</svg>
)";

struct FileText {
    const char* Name;
    const char* Text;
};
const FileText kFiles[] = {
    {"Messages-List.htm", kMessagesList},
    {"Print-Message.htm", kPrintMessage},
    {"Print-PrizeWinners.htm", kPrintPrizeWinners},
    {"email.svg", kEmailImage},
    {"sms.svg", kSmsImage},
};
} // namespace

QVector<DefaultTemplates::Entry> DefaultTemplates::Entries() {
    return {
        {QStringLiteral("PrintMessage"), QStringLiteral("Message"),
         QStringLiteral("Print-Message.htm")},
        {QStringLiteral("PrintPrizeWinners"), QStringLiteral("Winners List"),
         QStringLiteral("Print-PrizeWinners.htm")},
    };
}

bool DefaultTemplates::Write(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("the templates folder '%1' could not be made").arg(folder);
        return false;
    }
    for (const FileText& file : kFiles) {
        const QString path = QDir(folder).filePath(QLatin1String(file.Name));
        if (QFileInfo::exists(path)) {
            continue;
        }
        QSaveFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(file.Text) < 0 || !out.commit()) {
            *error = QStringLiteral("'%1' could not be written").arg(path);
            return false;
        }
    }
    return true;
}
