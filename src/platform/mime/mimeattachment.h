#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace mime {
struct AttachmentData;
}

// One attachment of a message. A handle: copies share the same read-only part, and a handle
// stays valid after its message is changed or gone.
class MimeAttachment {
public:
    MimeAttachment() = default;

    // False for the empty handle that an index out of range gives.
    bool IsNull() const { return !m_data; }

    // The decoded file name the sender gave; it may be empty or hostile. Never join it to a
    // folder: use SafeFileName.
    QString FileName() const;
    // The file name to save under: SanitiseAttachmentFileName of FileName.
    QString SafeFileName() const;
    // The declared type, e.g. "image/png".
    QString ContentType() const;

    // Writes the decoded content to `path` (through a temporary file, renamed when complete).
    // False with a reason in `error` when the attachment is empty, over the size limit, or the
    // file cannot be written.
    bool SaveToFile(const QString& path, QString* error = nullptr) const;

private:
    friend class MimeMessage;
    explicit MimeAttachment(std::shared_ptr<const mime::AttachmentData> data)
        : m_data(std::move(data)) {}
    std::shared_ptr<const mime::AttachmentData> m_data;
};

// The attachments of a message in a stable order: item n (1-based) is attachment n.
class MimeAttachments {
public:
    MimeAttachments() = default;
    // Belongs to its message; reach it through MimeMessage::Attachments().
    MimeAttachments(const MimeAttachments&) = delete;
    MimeAttachments& operator=(const MimeAttachments&) = delete;

    int Count() const { return static_cast<int>(m_items.size()); }
    // The empty handle when n is out of range.
    MimeAttachment Item(int n) const;
    // Removes attachment n; false when n is out of range.
    bool Delete(int n);

private:
    friend class MimeMessage;
    std::vector<MimeAttachment> m_items;
    std::function<void()> m_changed;
};
