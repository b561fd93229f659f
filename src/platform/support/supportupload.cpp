// The upload of a made support file to the support desk.
#include "platform/support/supportfilegenerator.h"
#include "platform/system/platformlog.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QHttpMultiPart>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

namespace {
// https anywhere; plain http only to this computer, where nothing crosses a network. Any other
// address would send the station's data and the person's details in the clear.
bool addressAllowed(const QUrl& url, QString* why) {
    if (!url.isValid() || url.host().isEmpty()) {
        *why = QStringLiteral("'%1' is not an address").arg(url.toString());
        return false;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https")) {
        return true;
    }
    if (scheme == QLatin1String("http")) {
        const QHostAddress host(url.host());
        if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
            (!host.isNull() && host.isLoopback())) {
            return true;
        }
        *why = QStringLiteral("'%1' is plain http to another computer; only https is used there")
                   .arg(url.toString());
        return false;
    }
    *why = QStringLiteral("'%1' is neither https nor http").arg(url.toString());
    return false;
}

QHttpPart textPart(const QString& name, const QString& value) {
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QStringLiteral("form-data; name=\"%1\"").arg(name));
    part.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain; charset=utf-8"));
    part.setBody(value.toUtf8());
    return part;
}

// No answer at all: the name, the route or the port is not there.
bool noConnection(QNetworkReply::NetworkError e) {
    switch (e) {
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
        return true;
    default:
        return false;
    }
}
} // namespace

int SupportFileGenerator::Upload(const QString& section, const QString& productName,
                                 const QString& versionText, const QString& /*unused*/) {
    cancelled_ = false;
    const QString key = QStringLiteral("SOFTWARE\\Kestova\\Support\\") + section;
    bool found = false;
    const QString address = RegistryStore::ReadString(RegistryRoot::LocalMachine, key,
                                                      QStringLiteral("UploadAddress"), {}, &found);
    if (!found || address.trimmed().isEmpty()) {
        PlatformLog(QStringLiteral("Support file: not uploaded, there is no UploadAddress under %1")
                        .arg(key));
        return NoUploadAddress;
    }
    const QUrl url(address.trimmed());
    QString why;
    if (!addressAllowed(url, &why)) {
        PlatformLog(QStringLiteral("Support file: not uploaded, %1").arg(why));
        return NoUploadAddress;
    }
    if (!SupportDetailsComplete(details_)) {
        return AddressRefused;
    }
    auto file = std::make_unique<QFile>(ArchivePath());
    if (ArchivePath().isEmpty() || !file->open(QIODevice::ReadOnly)) {
        Q_EMIT SendError(QStringLiteral("no support file has been made"));
        return SendFailed;
    }
    if (file->size() > largeFileLimit_) {
        bool cancel = false;
        Q_EMIT Warning(kLargeFileWarning, &cancel);
        if (cancel) {
            return WarningDeclined;
        }
    }

    auto multiPart = std::make_unique<QHttpMultiPart>(QHttpMultiPart::FormDataType);
    const std::pair<const char*, QString> fields[] = {
        {"product", productName},
        {"version", versionText},
        {"subject", subject_},
        {"title", title_},
        {"reason", reason_},
        {"name", details_.Name},
        {"organisation", details_.Organisation},
        {"email", details_.EmailAddress},
        {"telephone", details_.Telephone},
    };
    for (const auto& [name, value] : fields) {
        multiPart->append(textPart(QString::fromLatin1(name), value));
    }
    QHttpPart filePart;
    filePart.setHeader(QNetworkRequest::ContentDispositionHeader,
                       QStringLiteral("form-data; name=\"file\"; filename=\"SupportFile.zip\""));
    filePart.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/zip"));
    filePart.setBodyDevice(file.get());
    file.release()->setParent(multiPart.get()); // streamed from disk, freed with the parts
    multiPart->append(filePart);

    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setTransferTimeout(idleTimeoutMs_);
    // Every address the desk redirects to is put through the same rule as the first: a
    // redirect must never carry the archive in the clear to another computer.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    Q_EMIT Sending();
    Q_EMIT SendProgress(0);
    QPointer<QNetworkReply> reply = network.post(request, multiPart.get());
    multiPart.release()->setParent(reply.data());

    QEventLoop loop;
    int percent = 0;
    QString refusedRedirect;
    connect(reply.data(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(reply.data(), &QNetworkReply::redirected, &loop,
            [&reply, &refusedRedirect](const QUrl& target) {
                QString why;
                if (addressAllowed(target, &why)) {
                    Q_EMIT reply->redirectAllowed();
                    return;
                }
                refusedRedirect = target.toString();
                reply->abort();
            });
    connect(reply.data(), &QNetworkReply::uploadProgress, &loop,
            [this, &percent, &reply](qint64 sent, qint64 total) {
                if (total > 0) {
                    percent = static_cast<int>(100 * sent / total);
                }
                Q_EMIT SendProgress(percent);
                if (cancelled_ && reply) {
                    reply->abort();
                }
            });
    // While the answer is awaited nothing else is told, so Stop is looked at on a tick too.
    QTimer tick;
    connect(&tick, &QTimer::timeout, &loop, [this, &percent, &reply] {
        Q_EMIT SendProgress(percent);
        if (cancelled_ && reply) {
            reply->abort();
        }
    });
    tick.start(100);
    if (!reply->isFinished()) {
        loop.exec();
    }
    tick.stop();

    const auto error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString errorText = reply->errorString();
    if (!refusedRedirect.isEmpty()) {
        const QString text =
            QStringLiteral("the support desk redirected the upload to '%1'; nothing was sent "
                           "there, as only https, or plain http to this computer, is used")
                .arg(refusedRedirect);
        PlatformLog(
            QStringLiteral("Support file: the upload to %1 failed: %2").arg(url.host(), text));
        Q_EMIT SendError(text);
        return SendFailed;
    }
    if (cancelled_ && error == QNetworkReply::OperationCanceledError) {
        PlatformLog(QStringLiteral("Support file: the upload to %1 was stopped").arg(url.host()));
        return UploadStopped;
    }
    // Qt ends a transfer that stays silent past its time-out as cancelled; without Stop that is
    // no answer at all.
    const bool timedOut = error == QNetworkReply::OperationCanceledError;
    if (status == 0 && (noConnection(error) || timedOut)) {
        PlatformLog(
            QStringLiteral("Support file: no answer from %1: %2").arg(url.host(), errorText));
        return NoConnection;
    }
    if (status >= 200 && status < 300) {
        Q_EMIT SendProgress(100);
        Q_EMIT Sent();
        return status == 202 ? Accepted : Uploaded;
    }
    if (status == 422) {
        return AddressRefused;
    }
    if (status == 403) {
        return AddressBlocked;
    }
    const QString text =
        status != 0
            ? QStringLiteral("the support desk answered %1 %2")
                  .arg(status)
                  .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
            : errorText;
    PlatformLog(QStringLiteral("Support file: the upload to %1 failed: %2").arg(url.host(), text));
    Q_EMIT SendError(text);
    return SendFailed;
}
