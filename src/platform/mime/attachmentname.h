#pragma once

#include <QString>

// The one function through which an attachment's name becomes a file name on disk. The name a
// message carries is the sender's: it may hold folders, "..", control or direction-changing
// characters, or nothing at all. What comes back is a single plain file name that stays inside
// whatever folder it is joined to.
QString SanitiseAttachmentFileName(const QString& fileName);
