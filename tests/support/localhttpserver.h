#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QTcpServer>
#include <QTcpSocket>

// A small web server on 127.0.0.1 for the web view's tests: each path answers with its
// headers and body, anything else with 404; one request a connection.
class LocalHttpServer : public QObject {
public:
    struct Reply {
        QByteArray contentType = "text/html; charset=utf-8";
        QByteArray body;
        QByteArray extraHeaders; // each ending in "\r\n"
    };

    LocalHttpServer() {
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }

    void Add(const QByteArray& path, Reply reply) { routes_.insert(path, std::move(reply)); }
    QString Url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    QList<QByteArray> Requested() const { return requested_; }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& buffer = buffers_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) {
            return;
        }
        const QList<QByteArray> first = buffer.left(buffer.indexOf("\r\n")).split(' ');
        buffers_.remove(socket);
        const QByteArray path = first.size() > 1 ? first.at(1) : QByteArray();
        requested_ << path;
        QByteArray response;
        if (routes_.contains(path)) {
            const Reply& r = routes_[path];
            response = "HTTP/1.1 200 OK\r\nContent-Type: " + r.contentType +
                       "\r\nContent-Length: " + QByteArray::number(r.body.size()) +
                       "\r\nConnection: close\r\n" + r.extraHeaders + "\r\n" + r.body;
        } else {
            response = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
        }
        socket->write(response);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QMap<QByteArray, Reply> routes_;
    QMap<QTcpSocket*, QByteArray> buffers_;
    QList<QByteArray> requested_;
};
