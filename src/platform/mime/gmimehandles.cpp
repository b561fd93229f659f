#include "platform/mime/gmimehandles.h"

#include <gmime/gmime.h>

namespace mime {

void ReleaseGObject(void* object) {
    g_object_unref(object);
}

void* RetainGObject(void* object) {
    return g_object_ref(object);
}

void GMemoryDeleter::operator()(void* memory) const {
    g_free(memory);
}

void ParserOptionsDeleter::operator()(GMimeParserOptions* options) const {
    g_mime_parser_options_free(options);
}

void FormatOptionsDeleter::operator()(GMimeFormatOptions* options) const {
    g_mime_format_options_free(options);
}

} // namespace mime
