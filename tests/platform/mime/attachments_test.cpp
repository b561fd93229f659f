// Attachments keep their order, come back byte for byte, and are saved only under a name that
// stays inside the folder it is saved into.

#include "mimefixtures.h"
#include "platform/mime/attachmentname.h"
#include "platform/mime/mimelimits.h"
#include "platform/mime/mimemessage.h"
#include "support/testhome.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString WriteFile(const QString& name, const QByteArray& content) {
    const QString path = TestHome() + u'/' + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content);
    }
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray AllBytes() {
    QByteArray bytes;
    for (int i = 0; i < 1024; ++i) {
        bytes += static_cast<char>(i % 256);
    }
    return bytes;
}

TEST(MimeAttachments, AddedFilesComeLastAndBackByteForByte) {
    const QString first = WriteFile(QStringLiteral("jingle.bin"), AllBytes());
    const QString second = WriteFile(QStringLiteral("K\u00f6ln notes.txt"), "notes\r\n");
    MimeMessage message;
    message.SetTextBody(QStringLiteral("two files"));
    ASSERT_TRUE(message.AddAttachment(first));
    // The form the windows pass: "file://" before a path with forward slashes.
    ASSERT_TRUE(message.AddAttachment(QStringLiteral("file://") + second));
    EXPECT_EQ(message.Attachments().Count(), 2);
    EXPECT_EQ(message.Attachments().Item(2).FileName(), QStringLiteral("K\u00f6ln notes.txt"));

    const MimeMessage back = MimeMessage::FromBytes(message.ToBytes());
    ASSERT_EQ(back.Attachments().Count(), 2);
    EXPECT_EQ(back.Attachments().Item(1).FileName(), QStringLiteral("jingle.bin"));
    EXPECT_EQ(back.Attachments().Item(2).FileName(), QStringLiteral("K\u00f6ln notes.txt"));
    EXPECT_EQ(back.TextBody(), QStringLiteral("two files"));
    const QString saved = TestHome() + QStringLiteral("/saved.bin");
    QString error;
    ASSERT_TRUE(back.Attachments().Item(1).SaveToFile(saved, &error)) << error.toStdString();
    EXPECT_EQ(ReadFile(saved), AllBytes());
    ASSERT_TRUE(back.Attachments().Item(2).SaveToFile(saved));
    EXPECT_EQ(ReadFile(saved), QByteArray("notes\r\n"));
}

TEST(MimeAttachments, AMissingFileIsRefusedWithAReason) {
    MimeMessage message;
    QString error;
    EXPECT_FALSE(message.AddAttachment(TestHome() + QStringLiteral("/absent.txt"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("absent.txt")));
    EXPECT_FALSE(message.AddAttachment(TestHome(), &error)) << "a folder is no file";
    EXPECT_EQ(message.Attachments().Count(), 0);
}

TEST(MimeAttachments, DeleteRemovesThatItemAndKeepsTheOrder) {
    MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("attachments-rfc2231-names.eml")));
    ASSERT_EQ(message.Attachments().Count(), 4);
    EXPECT_FALSE(message.Attachments().Delete(0));
    EXPECT_FALSE(message.Attachments().Delete(5));
    EXPECT_TRUE(message.Attachments().Delete(2));
    const MimeMessage back = MimeMessage::FromBytes(message.ToBytes());
    ASSERT_EQ(back.Attachments().Count(), 3);
    EXPECT_EQ(back.Attachments().Item(1).FileName(), QStringLiteral("M\u00fcnchen Konzert.png"));
    EXPECT_EQ(back.Attachments().Item(2).FileName(), QStringLiteral("../../etc/passwd"));
    EXPECT_EQ(back.Attachments().Item(3).FileName(), QString());
    EXPECT_EQ(back.TextBody(), QStringLiteral("See the files."));
}

TEST(MimeAttachments, AnIndexOutOfRangeGivesTheEmptyHandle) {
    const MimeMessage message;
    EXPECT_TRUE(message.Attachments().Item(1).IsNull());
    QString error;
    EXPECT_FALSE(
        message.Attachments().Item(1).SaveToFile(TestHome() + QStringLiteral("/x"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MimeAttachments, AHostileNameIsSavedInsideTheFolder) {
    const MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("attachments-rfc2231-names.eml")));
    const QString folder = TestHome() + QStringLiteral("/inbox");
    ASSERT_TRUE(QDir().mkpath(folder));
    for (int n = 1; n <= message.Attachments().Count(); ++n) {
        const MimeAttachment attachment = message.Attachments().Item(n);
        const QString path = folder + u'/' + attachment.SafeFileName();
        EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(folder).absoluteFilePath());
        EXPECT_TRUE(attachment.SaveToFile(path));
    }
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/passwd")), QByteArray("hostile"));
    EXPECT_EQ(ReadFile(folder + QStringLiteral("/attachment")), QByteArray("no name"));
    EXPECT_FALSE(QFile::exists(TestHome() + QStringLiteral("/etc/passwd")));
}

TEST(MimeAttachments, AFailedSaveSaysWhy) {
    const MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("attachments-rfc2231-names.eml")));
    QString error;
    EXPECT_FALSE(message.Attachments().Item(1).SaveToFile(
        TestHome() + QStringLiteral("/no/such/folder/x.png"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(MimeAttachments, OneOverTheSizeLimitIsListedButNotSaved) {
    QByteArray bytes = "Subject: big\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
                       "--b\r\nContent-Type: text/plain\r\n\r\nsee attached\r\n"
                       "--b\r\nContent-Type: application/octet-stream\r\n"
                       "Content-Disposition: attachment; filename=\"big.bin\"\r\n\r\n";
    bytes += QByteArray(mime::kMaxPartBytes + 10, 'x');
    bytes += "\r\n--b--\r\n";
    const MimeMessage message = MimeMessage::FromBytes(bytes);
    ASSERT_EQ(message.Attachments().Count(), 1);
    EXPECT_EQ(message.Attachments().Item(1).FileName(), QStringLiteral("big.bin"));
    QString error;
    const QString path = TestHome() + QStringLiteral("/big.bin");
    EXPECT_FALSE(message.Attachments().Item(1).SaveToFile(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("larger than 25 MB")));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(MimeAttachments, AFileOverTheSizeLimitIsNotAttached) {
    const QString path =
        WriteFile(QStringLiteral("huge.wav"), QByteArray(mime::kMaxPartBytes + 1, 'x'));
    MimeMessage message;
    QString error;
    EXPECT_FALSE(message.AddAttachment(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("larger than 25 MB")));
    EXPECT_EQ(message.Attachments().Count(), 0);
}

struct NameCase {
    const char* given;
    const char* safe;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.safe;
}

class AttachmentNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(AttachmentNames, AreSanitised) {
    EXPECT_EQ(SanitiseAttachmentFileName(QString::fromUtf8(GetParam().given)),
              QString::fromUtf8(GetParam().safe));
}

const NameCase kNames[] = {
    {"photo.jpg", "photo.jpg"},
    {"../../x", "x"},
    {"..\\..\\windows\\system.ini", "system.ini"},
    {"/etc/passwd", "passwd"},
    {"..", "attachment"},
    {".", "attachment"},
    {"", "attachment"},
    {"   ", "attachment"},
    {"folder/", "attachment"},
    {".hidden", "hidden"},
    {"trailing dots...", "trailing dots"},
    {"tab\there\nnew\x01line.txt", "tabherenewline.txt"},
    {"invoice\u202Efdp.exe", "invoicefdp.exe"},
    {"M\u00fcnchen Konzert.png", "M\u00fcnchen Konzert.png"},
    {"C:evil.txt", "C:evil.txt"},
};

INSTANTIATE_TEST_SUITE_P(Mime, AttachmentNames, ::testing::ValuesIn(kNames));

TEST(AttachmentNames, ALongNameIsCutKeepingItsExtension) {
    const QString safe =
        SanitiseAttachmentFileName(QString(300, u'\u00e9') + QStringLiteral(".mp3"));
    EXPECT_LE(safe.toUtf8().size(), 200);
    EXPECT_TRUE(safe.endsWith(QStringLiteral(".mp3")));
}

} // namespace
