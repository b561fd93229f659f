#include "platform/system/appservices.h"

#include "platform/system/replacefile.h"
#include "platform/system/singleinstance.h"

AppServices& AppServices::Instance() {
    static AppServices services;
    return services;
}

AppServices::AppServices() = default;
AppServices::~AppServices() = default;

bool AppServices::PrevInstance() {
    if (!instance_) {
        instance_ = std::make_unique<SingleInstance>(SingleInstance::DefaultLockPath());
    }
    return instance_->AnotherCopyRuns();
}

void AppServices::SetStatusText(const QString& text) {
    statusText_ = text;
    if (statusListener_) {
        statusListener_(text);
    }
}

void AppServices::Reset() {
    appObject_ = nullptr;
    debugLevel_ = 0;
    debugFolder_.clear();
    statusText_.clear();
    statusListener_ = nullptr;
    instance_.reset();
}

QString AppServices::PadLeft(const QString& text, int width, const QString& fill) {
    if (text.size() >= width || fill.isEmpty()) {
        return text;
    }
    QString pad;
    while (pad.size() < width - text.size()) {
        pad += fill;
    }
    return pad.left(width - text.size()) + text;
}

QString AppServices::PadText(const QString& text, int width, const QString& fill) {
    return PadLeft(text, width, fill);
}

QString AppServices::NextToken(const QString& text, qsizetype start, const QString& separator,
                               qsizetype* sepPos) {
    if (sepPos != nullptr) {
        *sepPos = 0;
    }
    if (start < 1) {
        start = 1;
    }
    if (start > text.size()) {
        return {};
    }
    const qsizetype from = start - 1;
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator, from);
    if (at < 0) {
        return text.mid(from);
    }
    if (sepPos != nullptr) {
        *sepPos = at + 1;
    }
    return text.mid(from, at - from);
}

QString AppServices::NormaliseForCompare(const QString& text, int mode) {
    if (mode != 1) {
        return text;
    }
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || QStringView(u"\"<>().-").contains(c)) {
            continue;
        }
        out += c;
    }
    return out.toLower();
}

int AppServices::FilterNumericKey(int keyAscii, int /*mode*/) {
    if (keyAscii >= '0' && keyAscii <= '9') {
        return keyAscii;
    }
    // Backspace and the clipboard keys keep working in a number-only box.
    constexpr int kBackspace = 8;
    constexpr int kCtrlC = 3;
    constexpr int kCtrlV = 22;
    constexpr int kCtrlX = 24;
    if (keyAscii == kBackspace || keyAscii == kCtrlC || keyAscii == kCtrlV || keyAscii == kCtrlX) {
        return keyAscii;
    }
    return 0;
}

bool AppServices::WriteTextFile(const QString& path, int /*mode*/, const QString& text) {
    return ReplaceFileContents(path, text.toUtf8());
}
