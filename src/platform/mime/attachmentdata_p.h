#pragma once

// Shared by the message and its attachment handles; included by the message layer's .cpp
// files only.

#include "platform/mime/gmimehandles.h"

#include <QString>

typedef struct _GMimeObject GMimeObject;

namespace mime {

struct AttachmentData {
    GObjectPtr<GMimeObject> part;
    QString fileName;
    QString contentType;
};

} // namespace mime
