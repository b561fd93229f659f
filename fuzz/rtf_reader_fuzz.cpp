// Feeds arbitrary bytes to the RTF reader (the update notes, a script sent as RTF). Oracle: what
// the writer makes of a document read reads back as the same document.

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/system/platformlog.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        SetPlatformLogHandler([](const QString&, int) {});
        return true;
    }();
    (void)quiet;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)RtfReader::LooksLikeRtf(bytes);
    RichTextDocument document;
    if (!RtfReader::Read(bytes, document)) {
        return 0;
    }
    RichTextDocument again;
    if (!RtfReader::Read(RtfWriter::Write(document), again) || !(again == document)) {
        __builtin_trap(); // the written form of a read document must read back the same
    }
    return 0;
}
