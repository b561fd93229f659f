#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// A small HTTP server on 127.0.0.1 that takes POSTed forms: each request is read whole (by its
// Content-Length) and answered with the status set, or held unanswered. The multipart fields
// received are kept by name.
class UploadServer : public QObject {
public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QByteArray contentType;
        QByteArray body;
        QMap<QByteArray, QByteArray> fields; // multipart/form-data parts by name
    };

    UploadServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++connections_;
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    QString Url(const char* path = "/upload") const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    void SetStatus(int status) { status_ = status; }
    // Answers every request with this status and a Location header (a redirect).
    void SetRedirect(int status, const QString& location) {
        status_ = status;
        location_ = location.toUtf8();
    }
    // Reads everything but never answers.
    void SetHold(bool hold) { hold_ = hold; }
    // Called once a request's first bytes are in.
    void SetOnStarted(std::function<void()> started) { started_ = std::move(started); }
    const QList<Request>& Requests() const { return requests_; }
    int Connections() const { return connections_; }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        const bool first = buffer.isEmpty();
        buffer += socket->readAll();
        if (first && started_) {
            started_();
        }
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0) {
            return;
        }
        Request r;
        qsizetype length = 0;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> start = lines.value(0).trimmed().split(' ');
        r.method = start.value(0);
        r.path = start.value(1);
        for (const QByteArray& line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length") {
                length = value.toLongLong();
            } else if (name == "content-type") {
                r.contentType = value;
            }
        }
        if (buffer.size() - headerEnd - 4 < length) {
            return; // the body is still coming
        }
        r.body = buffer.mid(headerEnd + 4, length);
        buffers_.remove(socket);
        r.fields = parts(r);
        requests_ << r;
        if (hold_) {
            return;
        }
        const QByteArray location =
            location_.isEmpty() ? QByteArray() : "Location: " + location_ + "\r\n";
        socket->write("HTTP/1.1 " + QByteArray::number(status_) + " Answer\r\n" + location +
                      "Content-Length: 0\r\nConnection: close\r\n\r\n");
        socket->disconnectFromHost();
    }

    static QMap<QByteArray, QByteArray> parts(const Request& r) {
        QMap<QByteArray, QByteArray> fields;
        const qsizetype at = r.contentType.indexOf("boundary=");
        if (at < 0) {
            return fields;
        }
        QByteArray boundary = r.contentType.mid(at + 9);
        if (boundary.startsWith('"')) {
            boundary = boundary.mid(1, boundary.indexOf('"', 1) - 1);
        }
        const QByteArray delimiter = "--" + boundary;
        qsizetype pos = r.body.indexOf(delimiter);
        while (pos >= 0) {
            const qsizetype partStart = pos + delimiter.size() + 2; // past CRLF
            const qsizetype next = r.body.indexOf("\r\n" + delimiter, partStart);
            if (next < 0) {
                break;
            }
            const QByteArray part = r.body.mid(partStart, next - partStart);
            const qsizetype split = part.indexOf("\r\n\r\n");
            const QByteArray headers = part.left(split);
            const qsizetype nameAt = headers.indexOf("name=\"");
            if (split >= 0 && nameAt >= 0) {
                const qsizetype nameEnd = headers.indexOf('"', nameAt + 6);
                fields.insert(headers.mid(nameAt + 6, nameEnd - nameAt - 6), part.mid(split + 4));
            }
            pos = next + 2;
        }
        return fields;
    }

    QTcpServer server_;
    int status_ = 200;
    QByteArray location_;
    bool hold_ = false;
    int connections_ = 0;
    std::function<void()> started_;
    QMap<QTcpSocket*, QByteArray> buffers_;
    QList<Request> requests_;
};
