// A presenter script's text, as arbitrary bytes: decoded as a file is, saved, and read back.
// Oracle: what a save wrote reads back as the text it saved.

#include "platform/system/platformlog.h"
#include "scripts/scriptfile.h"

#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        SetPlatformLogHandler([](const QString&, int) {});
        return true;
    }();
    (void)quiet;
    static QTemporaryDir folder;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = ScriptFile::DecodeBytes(bytes);
    const QString path = folder.path() + QStringLiteral("/Script.htm");
    if (!ScriptFile::Save(path, text)) {
        return 0;
    }
    QString read;
    if (!ScriptFile::Read(path, read)) {
        return 0;
    }
    // The save adds its declaration and a line end; the text read back is what was saved.
    if (read != ScriptFile::WithUtf8Declaration(text) + QStringLiteral("\r\n")) {
        __builtin_trap();
    }
    return 0;
}
