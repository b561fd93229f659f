#include "platform/ui/talkbackexchange.h"

#include "platform/system/platformlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <cmath>

bool TalkbackLine::operator<(const TalkbackLine& other) const {
    if (TimeMs != other.TimeMs) {
        return TimeMs < other.TimeMs;
    }
    if (Writer != other.Writer) {
        return Writer < other.Writer;
    }
    return Sequence < other.Sequence;
}

namespace {
QString key(const TalkbackLine& line) {
    return line.Writer + QLatin1Char('#') + QString::number(line.Sequence);
}

QString bounded(const QString& text, int most) {
    if (text.size() <= most) {
        return text;
    }
    qsizetype keep = most;
    if (text.at(keep - 1).isHighSurrogate()) {
        --keep;
    }
    return text.left(keep);
}

bool appendLocked(const QString& file, const QByteArray& line, QString* why) {
    QLockFile lock(file + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000)) {
        if (why != nullptr) {
            *why = QStringLiteral("the talkback file is locked by another copy");
        }
        return false;
    }
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (why != nullptr) {
            *why = f.errorString();
        }
        return false;
    }
    const qint64 oldSize = f.size();
    // A line cut short by a crash or a full disk would swallow this one: it is ended first,
    // so that only the torn line is lost.
    QByteArray bytes = line;
    if (oldSize > 0) {
        char last = '\n';
        if (!f.seek(oldSize - 1) || !f.getChar(&last)) {
            if (why != nullptr) {
                *why = f.errorString();
            }
            return false;
        }
        if (last != '\n') {
            bytes.prepend('\n');
        }
    }
    if (!f.seek(oldSize) || f.write(bytes) != bytes.size() || !f.flush()) {
        const QString error = f.errorString();
        // A part of a line left behind would glue onto the next post: the file goes back to
        // the length it had.
        if (!f.resize(oldSize)) {
            PlatformLog(QStringLiteral("Talkback: '%1' could not be cut back after a failed write")
                            .arg(file),
                        5);
        }
        if (why != nullptr) {
            *why = error.isEmpty() ? QStringLiteral("the line could not be written") : error;
        }
        return false;
    }
    f.close();
    return true;
}
} // namespace

TalkbackExchange::FileLayer TalkbackExchange::RealFiles() {
    FileLayer layer;
    layer.folderWritable = [](const QString& folder) { return QFileInfo(folder).isWritable(); };
    layer.append = appendLocked;
    return layer;
}

TalkbackExchange::TalkbackExchange(const QString& folder, const QString& computer,
                                   const QString& user)
    : folder_(folder), computer_(computer), user_(user),
      writer_(QUuid::createUuid().toString(QUuid::WithoutBraces)), files_(RealFiles()) {}

QString TalkbackExchange::FileNameFor(const QString& computer, const QString& user) {
    QString name;
    for (QChar c : computer + QLatin1Char('-') + user) {
        if ((c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-') ||
            c == QLatin1Char('_') || c == QLatin1Char('.')) {
            name.append(c);
        }
    }
    return name.left(64) + QStringLiteral(".talkback");
}

QString TalkbackExchange::OwnFile() const {
    return QDir(folder_).filePath(FileNameFor(computer_, user_));
}

QByteArray TalkbackExchange::Encode(const TalkbackLine& line) {
    QJsonObject o;
    o.insert(QStringLiteral("t"), line.TimeMs);
    o.insert(QStringLiteral("w"), line.Writer);
    o.insert(QStringLiteral("s"), line.Sequence);
    o.insert(QStringLiteral("n"), bounded(line.Name, kMaxText));
    o.insert(QStringLiteral("l"), bounded(line.Login, kMaxText));
    o.insert(QStringLiteral("x"), bounded(line.Text, kMaxText));
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

namespace {
// A JSON number as a count of ours (a time in milliseconds, a sequence number): a whole number
// from 0 to 2^53, which a double holds exactly. Anything else (1e300, 0.5, -1, NaN) is no count,
// and a cast of it would be undefined.
std::optional<qint64> wholeCount(const QJsonValue& value) {
    if (!value.isDouble()) {
        return std::nullopt;
    }
    constexpr double kLargest = 9007199254740992.0; // 2^53
    const double d = value.toDouble();
    if (!(d >= 0 && d <= kLargest) || std::floor(d) != d) {
        return std::nullopt;
    }
    return static_cast<qint64>(d);
}
} // namespace

std::optional<TalkbackLine> TalkbackExchange::Decode(const QByteArray& bytes) {
    if (bytes.size() > kMaxLineBytes) {
        return std::nullopt;
    }
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        return std::nullopt;
    }
    const QJsonObject o = doc.object();
    if (!o.value(QStringLiteral("t")).isDouble() || !o.value(QStringLiteral("w")).isString() ||
        !o.value(QStringLiteral("x")).isString()) {
        return std::nullopt;
    }
    const std::optional<qint64> time = wholeCount(o.value(QStringLiteral("t")));
    const QJsonValue sequenceValue = o.value(QStringLiteral("s"));
    const std::optional<qint64> sequence =
        sequenceValue.isUndefined() ? std::optional<qint64>(0) : wholeCount(sequenceValue);
    if (!time || !sequence) {
        return std::nullopt;
    }
    TalkbackLine line;
    line.TimeMs = *time;
    line.Writer = bounded(o.value(QStringLiteral("w")).toString(), 64);
    line.Sequence = *sequence;
    line.Name = bounded(o.value(QStringLiteral("n")).toString(), kMaxText);
    line.Login = bounded(o.value(QStringLiteral("l")).toString(), kMaxText);
    line.Text = bounded(o.value(QStringLiteral("x")).toString(), kMaxText);
    return line;
}

QList<TalkbackLine> TalkbackExchange::Start() {
    marks_.clear();
    seen_.clear();
    return lookAt(true);
}

QList<TalkbackLine> TalkbackExchange::Look() {
    return lookAt(false);
}

QList<TalkbackLine> TalkbackExchange::lookAt(bool starting) {
    QList<TalkbackLine> found;
    const QFileInfo folder(folder_);
    if (folder_.isEmpty() || !folder.isDir()) {
        state_ = State::FolderMissing;
        return found;
    }
    state_ =
        files_.folderWritable && files_.folderWritable(folder_) ? State::Running : State::ReadOnly;
    const QDateTime oldest = QDateTime::currentDateTimeUtc().addDays(-kStartDays);
    const QFileInfoList entries =
        QDir(folder_).entryInfoList({QStringLiteral("*.talkback")}, QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& info : entries) {
        if (info.isSymLink() || !info.isFile()) {
            continue;
        }
        const QString path = info.absoluteFilePath();
        const qint64 size = info.size();
        auto mark = marks_.find(path);
        if (mark == marks_.end()) {
            // A file first seen: at start only a recent one's end; later, a new file's lines.
            if (starting && info.lastModified().toUTC() < oldest) {
                marks_.insert(path, FileMark{size});
                continue;
            }
            const qint64 from = std::max<qint64>(0, size - (starting ? kStartRead : kMaxRead));
            found += readFile(path, from, size);
            continue;
        }
        if (size < mark->offset) {
            // Rewritten shorter by its writer: read again, the lines already had are skipped.
            mark->offset = 0;
        }
        if (size > mark->offset) {
            found += readFile(path, std::max(mark->offset, size - kMaxRead), size);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

QList<TalkbackLine> TalkbackExchange::readFile(const QString& path, qint64 from, qint64 size) {
    QList<TalkbackLine> lines;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return lines;
    }
    // Starting inside the file: the first line may be a part, so reading begins after the
    // line break before the start.
    qint64 start = from;
    if (from > 0) {
        f.seek(from - 1);
        char c = 0;
        if (f.getChar(&c) && c != '\n') {
            const QByteArray rest = f.read(std::min<qint64>(size - from, kMaxRead));
            const qsizetype cut = rest.indexOf('\n');
            if (cut < 0) {
                marks_[path].offset = from;
                return lines;
            }
            start = from + cut + 1;
        }
    }
    f.seek(start);
    const QByteArray data = f.read(size - start);
    // Only whole lines: a line still being written waits for the next look.
    const qsizetype end = data.lastIndexOf('\n');
    marks_[path].offset = start + (end < 0 ? 0 : end + 1);
    if (end < 0) {
        return lines;
    }
    for (const QByteArray& raw : data.left(end).split('\n')) {
        if (raw.trimmed().isEmpty()) {
            continue;
        }
        const std::optional<TalkbackLine> line = Decode(raw);
        if (!line) {
            continue;
        }
        if (seen_.contains(key(*line))) {
            continue;
        }
        seen_.insert(key(*line));
        lines.append(*line);
    }
    return lines;
}

bool TalkbackExchange::Post(const QString& name, const QString& login, const QString& text,
                            QString* why) {
    if (folder_.isEmpty() || !QFileInfo(folder_).isDir()) {
        if (why != nullptr) {
            *why = QStringLiteral("the talkback folder cannot be found");
        }
        return false;
    }
    if (!files_.folderWritable || !files_.folderWritable(folder_)) {
        if (why != nullptr) {
            *why = QStringLiteral("the talkback folder is read-only");
        }
        return false;
    }
    TalkbackLine line;
    line.TimeMs = QDateTime::currentMSecsSinceEpoch();
    line.Writer = writer_;
    line.Sequence = sequence_ + 1;
    line.Name = name;
    line.Login = login;
    line.Text = text;
    if (!files_.append || !files_.append(OwnFile(), Encode(line), why)) {
        return false;
    }
    ++sequence_;
    rewriteIfLarge(OwnFile());
    return true;
}

void TalkbackExchange::rewriteIfLarge(const QString& path) {
    if (QFileInfo(path).size() <= kRewriteAbove) {
        return;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(2000)) {
        return;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return;
    }
    const qint64 size = f.size();
    f.seek(std::max<qint64>(0, size - kRewriteKeep));
    QByteArray tail = f.readAll();
    f.close();
    const qsizetype cut = tail.indexOf('\n');
    tail = cut < 0 ? QByteArray() : tail.mid(cut + 1);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(tail) != tail.size() || !out.commit()) {
        PlatformLog(QStringLiteral("Talkback: '%1' could not be made shorter").arg(path), 5);
    }
}
