#pragma once

#include "support/waitfor.h"

#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpServer>

#include <chrono>

// The playout test peer as a process of its own on 127.0.0.1: its report lines, the time
// each one came, and the commands a test gives it on its standard input. ORLIX_PLAYOUT_PEER
// names the peer program.
namespace playoutpeer {
inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The peer program, its report lines and the time each one came.
class Peer {
public:
    explicit Peer(const QString& greeting, int players = 4) : port_(freePort()) {
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { read(); });
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(ORLIX_PLAYOUT_PEER),
                       {"--port", QString::number(port_), "--greeting", greeting, "--players",
                        QString::number(players)});
    }
    ~Peer() {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
    bool Started() {
        return ::WaitFor([this] { return Has("LISTENING " + QString::number(port_)); }, 5000);
    }
    quint16 Port() const { return port_; }
    void Command(const QString& line) { process_.write((line + "\n").toLatin1()); }

    bool Has(const QString& report) const { return reports_.contains(report); }
    bool WaitFor(const QString& report, int timeoutMs = 5000) {
        return ::WaitFor([&] { return Has(report); }, timeoutMs);
    }
    // Milliseconds on the monotonic clock the peer stamps its reports with.
    static qint64 Now() {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    // When the peer made that report, on Now()'s clock.
    qint64 TimeOf(const QString& report) const {
        const qsizetype i = reports_.indexOf(report);
        return i < 0 ? -1 : times_.at(i);
    }
    // How many times the peer made that report, and when, in order.
    int Count(const QString& report) const { return static_cast<int>(reports_.count(report)); }
    QList<qint64> TimesOf(const QString& report) const {
        QList<qint64> times;
        for (qsizetype i = 0; i < reports_.size(); ++i) {
            if (reports_.at(i) == report) {
                times << times_.at(i);
            }
        }
        return times;
    }
    QStringList Received() const {
        QStringList lines;
        for (const QString& r : reports_) {
            if (r.startsWith("RECEIVED ")) {
                lines << r.mid(9);
            }
        }
        return lines;
    }
    int Connections() const {
        int n = 0;
        for (const QString& r : reports_) {
            n += r.startsWith("CONNECTION ") ? 1 : 0;
        }
        return n;
    }

private:
    void read() {
        buffer_ += process_.readAllStandardOutput();
        qsizetype at = 0;
        while ((at = buffer_.indexOf('\n')) >= 0) {
            // "<ms> REPORT": the peer's own monotonic time, the clock this process shares.
            const QString line = QString::fromLatin1(buffer_.left(at));
            const qsizetype blank = line.indexOf(QLatin1Char(' '));
            bool stamped = false;
            const double ms = blank > 0 ? line.left(blank).toDouble(&stamped) : 0;
            reports_ << (stamped ? line.mid(blank + 1) : line);
            times_ << (stamped ? qint64(ms) : Now());
            buffer_.remove(0, at + 1);
        }
    }

    quint16 port_;
    QProcess process_;
    QByteArray buffer_;
    QStringList reports_;
    QList<qint64> times_;
};
} // namespace playoutpeer
