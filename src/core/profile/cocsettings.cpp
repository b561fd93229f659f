#include "core/profile/cocsettings.h"

#include "core/profile/settingskeys.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/registrybatch.h"
#include "platform/system/registrystore.h"

#include <QLocale>

#include <cmath>
#include <limits>

using namespace SettingsKeys;

namespace {
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;

QString readText(const QString& key, const char* name, const QString& fallback) {
    return RegistryStore::ReadString(kMachine, key, QLatin1String(name), fallback);
}

std::shared_ptr<StdFont> defaultStdFont() {
    auto f = std::make_shared<StdFont>();
    f->Name = QStringLiteral("Arial");
    f->Size = 10;
    f->Bold = true;
    return f;
}

std::shared_ptr<StdFont> readStdFont(const QString& key) {
    auto f = std::make_shared<StdFont>();
    f->Size = cOCSettings::ParseSizeText(readText(key, kFontSize, QStringLiteral("10")), 10);
    f->Name = readText(key, kFontName, QStringLiteral("Arial"));
    f->Bold = cOCSettings::ParseBoolText(readText(key, kFontBold, QStringLiteral("True")), true);
    f->Italic =
        cOCSettings::ParseBoolText(readText(key, kFontItalic, QStringLiteral("False")), false);
    f->Underline =
        cOCSettings::ParseBoolText(readText(key, kFontUnderLine, QStringLiteral("False")), false);
    f->Strikethrough =
        cOCSettings::ParseBoolText(readText(key, kFontStrikeThru, QStringLiteral("False")), false);
    return f;
}

struct FontStyleDefaults {
    qint32 size;
    qint32 colour;
};

std::shared_ptr<FontStyle> readFontStyle(const QString& key, FontStyleDefaults d) {
    auto f = std::make_shared<FontStyle>();
    const auto number = [&](const char* name, qint32 fallback) {
        return cOCSettings::ParseLongText(readText(key, name, QString::number(fallback)), fallback);
    };
    f->Size = number(kFontSize, d.size);
    f->Name = readText(key, kFontName, QStringLiteral("Arial"));
    f->TextColour = number(kFontTextColour, d.colour);
    f->Bold = number(kFontBold, 1);
    f->Italic = number(kFontItalic, 0);
    f->UnderLine = number(kFontUnderLine, 0);
    f->StrikeThru = number(kFontStrikeThru, 0);
    return f;
}

// Gathers every value of a save, so that the store is rewritten once and holds either all of
// them or none.
class Writer {
public:
    bool commit() { return batch_.Commit(); }
    void text(const QString& key, const char* name, const QString& value) {
        batch_.WriteString(key, QLatin1String(name), value);
    }
    void number(const QString& key, const char* name, qint32 value) {
        batch_.WriteNumber(key, QLatin1String(name), value);
    }
    void flag(const QString& key, const char* name, bool value) {
        number(key, name, value ? 1 : 0);
    }
    void stdFont(const QString& key, const StdFont& f) {
        const auto tf = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
        text(key, kFontBold, tf(f.Bold));
        text(key, kFontItalic, tf(f.Italic));
        text(key, kFontUnderLine, tf(f.Underline));
        text(key, kFontStrikeThru, tf(f.Strikethrough));
        text(key, kFontSize, cOCSettings::SizeText(f.Size));
        text(key, kFontName, f.Name);
    }
    void fontStyle(const QString& key, const FontStyle& f) {
        text(key, kFontTextColour, QString::number(f.TextColour));
        text(key, kFontBold, QString::number(f.Bold));
        text(key, kFontItalic, QString::number(f.Italic));
        text(key, kFontUnderLine, QString::number(f.UnderLine));
        text(key, kFontStrikeThru, QString::number(f.StrikeThru));
        text(key, kFontSize, QString::number(f.Size));
        text(key, kFontName, f.Name);
    }

private:
    RegistryBatch batch_{kMachine};
};
} // namespace

cOCSettings::cOCSettings()
    : profileName_(QStringLiteral("Profile1")), emailName_(QStringLiteral("Studio")),
      emailAddress_(QStringLiteral("studio@")), generalFont_(defaultStdFont()),
      prizeFont_(defaultStdFont()), scriptFont_(std::make_shared<FontStyle>()),
      talkbackFont_(std::make_shared<FontStyle>()) {
    scriptFont_->Name = QStringLiteral("Arial");
    scriptFont_->Size = 5;
    scriptFont_->Bold = 1;
    talkbackFont_->Name = QStringLiteral("Arial");
    talkbackFont_->Size = 2;
    talkbackFont_->TextColour = 255;
    talkbackFont_->Bold = 1;
}

bool cOCSettings::ParseBoolText(const QString& text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    bool ok = false;
    const double d =
        QLocale::c().toDouble(QString(t).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (ok && std::isfinite(d)) {
        return d != 0.0;
    }
    return fallback;
}

double cOCSettings::ParseSizeText(const QString& text, double fallback) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d) || d <= 0.0 || d > 1638.0) {
        return fallback;
    }
    return d;
}

qint32 cOCSettings::ParseLongText(const QString& text, qint32 fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        return 1;
    }
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        return 0;
    }
    bool ok = false;
    const qint32 n = t.toInt(&ok);
    if (ok) {
        return n;
    }
    const double d =
        QLocale::c().toDouble(QString(t).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (ok && std::isfinite(d) && d >= std::numeric_limits<qint32>::min() &&
        d <= std::numeric_limits<qint32>::max()) {
        return static_cast<qint32>(std::lround(d));
    }
    return fallback;
}

QString cOCSettings::SizeText(double size) {
    return QLocale::c().toString(size, 'g', QLocale::FloatingPointShortest);
}

bool cOCSettings::LoadSettings(QString& profileName) {
    if (profileName.isEmpty()) {
        profileName = QStringLiteral("Profile1");
    }
    profileName_ = profileName;
    const QString a = TreeA(profileName_);
    const QString b = TreeB(profileName_);

    orlixPath_ = readText(Under(a, kDatabase), kPath, QString());
    talkbackSimplePath_ = readText(Under(a, kTalkback), kSimplePath, QString());
    scriptPath_ = readText(Under(a, kScripts), kPath, QString());
    // A folder that cannot be made (a share not mounted yet) still lets the rest be read, so
    // the settings dialog then shown holds the stored values, not the defaults.
    bool foldersMade = true;
    for (const QString* folder : {&orlixPath_, &talkbackSimplePath_, &scriptPath_}) {
        if (!folder->isEmpty() && !FileSystemHelper::CreateFolder(*folder, 0)) {
            foldersMade = false;
            break;
        }
    }

    startupAutoLogin_ = RegistryStore::ReadNumber(kMachine, Under(b, kStartup),
                                                  QLatin1String(kAttemptAutoLogin), 1) != 0;
    vorelaComputerName_ = readText(Under(b, kVorela), kComputerName, QString());
    generalFont_ = readStdFont(Under(b, kGeneral));
    prizeFont_ = readStdFont(Under(b, kPrize));
    scriptFont_ = readFontStyle(Under(b, kScripts), {5, 0});
    // A speed outside 1..10 would give a zero or negative scroll interval.
    const qint32 speed =
        RegistryStore::ReadNumber(kMachine, Under(b, kScripts), QLatin1String(kScrollSpeed), 6);
    scriptScrollSpeed_ = static_cast<qint16>(speed < 1 ? 1 : (speed > 10 ? 10 : speed));
    const QString messages = Under(b, kMessages);
    emailSendEnabled_ =
        RegistryStore::ReadNumber(kMachine, messages, QLatin1String(kEmailSendEnabled), 1) != 0;
    emailName_ = readText(messages, kEmailName, QStringLiteral("Studio"));
    emailAddress_ = readText(messages, kEmailAddress, QStringLiteral("studio@"));
    emailAllowPersonalAddresses_ =
        RegistryStore::ReadNumber(kMachine, messages, QLatin1String(kEmailAllowPersonalAddresses),
                                  0) != 0;
    smsSendEnabled_ =
        RegistryStore::ReadNumber(kMachine, messages, QLatin1String(kSMSSendEnabled), 1) != 0;
    talkbackFont_ = readFontStyle(Under(b, kTalkback), {2, 255});

    return foldersMade && !orlixPath_.isEmpty() && !talkbackSimplePath_.isEmpty() &&
           !scriptPath_.isEmpty();
}

bool cOCSettings::SaveSettings(QString& /*profileName*/) {
    const QString a = TreeA(profileName_);
    const QString b = TreeB(profileName_);
    Writer w;
    w.text(Under(a, kDatabase), kPath, orlixPath_);
    w.text(Under(a, kScripts), kPath, scriptPath_);
    w.text(Under(a, kTalkback), kSimplePath, talkbackSimplePath_);

    w.flag(Under(b, kStartup), kAttemptAutoLogin, startupAutoLogin_);
    w.text(Under(b, kVorela), kComputerName, vorelaComputerName_);
    w.stdFont(Under(b, kGeneral), *generalFont_);
    w.stdFont(Under(b, kPrize), *prizeFont_);
    w.fontStyle(Under(b, kScripts), *scriptFont_);
    w.number(Under(b, kScripts), kScrollSpeed, scriptScrollSpeed_);
    const QString messages = Under(b, kMessages);
    w.flag(messages, kEmailSendEnabled, emailSendEnabled_);
    w.text(messages, kEmailName, emailName_);
    w.text(messages, kEmailAddress, emailAddress_);
    w.flag(messages, kEmailAllowPersonalAddresses, emailAllowPersonalAddresses_);
    w.flag(messages, kSMSSendEnabled, smsSendEnabled_);
    w.fontStyle(Under(b, kTalkback), *talkbackFont_);
    return w.commit();
}
