#include "platform/mime/mimeattachment.h"

#include "platform/mime/attachmentdata_p.h"
#include "platform/mime/attachmentname.h"
#include "platform/mime/mimecontent.h"
#include "platform/mime/mimelimits.h"

#include <QSaveFile>

QString MimeAttachment::FileName() const {
    return m_data ? m_data->fileName : QString();
}

QString MimeAttachment::SafeFileName() const {
    return SanitiseAttachmentFileName(FileName());
}

QString MimeAttachment::ContentType() const {
    return m_data ? m_data->contentType : QString();
}

bool MimeAttachment::SaveToFile(const QString& path, QString* error) const {
    auto fail = [error](const QString& why) {
        if (error) {
            *error = why;
        }
        return false;
    };
    if (!m_data || !m_data->part) {
        return fail(QStringLiteral("There is no attachment to save"));
    }
    bool tooLarge = false;
    const QByteArray content =
        mime::DecodedContent(m_data->part.get(), mime::kMaxPartBytes, &tooLarge);
    if (tooLarge) {
        return fail(QStringLiteral("The attachment is larger than %1 MB and was not saved")
                        .arg(mime::kMaxPartBytes / (1024 * 1024)));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    if (file.write(content) != content.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

MimeAttachment MimeAttachments::Item(int n) const {
    if (n < 1 || n > Count()) {
        return MimeAttachment();
    }
    return m_items[static_cast<size_t>(n - 1)];
}

bool MimeAttachments::Delete(int n) {
    if (n < 1 || n > Count()) {
        return false;
    }
    m_items.erase(m_items.begin() + (n - 1));
    if (m_changed) {
        m_changed();
    }
    return true;
}
