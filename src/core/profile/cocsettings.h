#pragma once

#include "platform/system/fontstyle.h"

#include <QString>

#include <memory>

// The settings of one client profile of this studio computer, kept in the machine store.
// Accessors store and return values unchanged; only LoadSettings and SaveSettings touch
// the store.
class cOCSettings {
public:
    cOCSettings();

    // Reads the profile ("" = "Profile1", written back into profileName) and makes its three
    // folders. False when a folder cannot be made or not all three are set.
    bool LoadSettings(QString& profileName);
    // Writes under the profile of the last load ("Profile1" before any); the argument does
    // not choose the profile. False when the store could not be written.
    bool SaveSettings(QString& profileName);

    const QString& ProfileName() const { return profileName_; }

    // The font objects themselves: callers change them in place. Every load makes new ones,
    // so a window that kept an earlier font keeps its values.
    std::shared_ptr<StdFont> GeneralFont() const { return generalFont_; }
    std::shared_ptr<StdFont> PrizeFont() const { return prizeFont_; }
    std::shared_ptr<FontStyle> ScriptFont() const { return scriptFont_; }
    std::shared_ptr<FontStyle> TalkbackFont() const { return talkbackFont_; }

    const QString& VorelaComputerName() const { return vorelaComputerName_; }
    void SetVorelaComputerName(const QString& v) { vorelaComputerName_ = v; }
    const QString& TalkbackSimplePath() const { return talkbackSimplePath_; }
    void SetTalkbackSimplePath(const QString& v) { talkbackSimplePath_ = v; }
    const QString& OrlixPath() const { return orlixPath_; }
    void SetOrlixPath(const QString& v) { orlixPath_ = v; }
    const QString& ScriptPath() const { return scriptPath_; }
    void SetScriptPath(const QString& v) { scriptPath_ = v; }
    qint16 ScriptScrollSpeed() const { return scriptScrollSpeed_; }
    void SetScriptScrollSpeed(qint16 v) { scriptScrollSpeed_ = v; }
    bool StartupAutoLogin() const { return startupAutoLogin_; }
    void SetStartupAutoLogin(bool v) { startupAutoLogin_ = v; }
    bool EmailSendEnabled() const { return emailSendEnabled_; }
    void SetEmailSendEnabled(bool v) { emailSendEnabled_ = v; }
    const QString& EmailAddress() const { return emailAddress_; }
    void SetEmailAddress(const QString& v) { emailAddress_ = v; }
    const QString& EmailName() const { return emailName_; }
    void SetEmailName(const QString& v) { emailName_ = v; }
    bool EmailAllowPersonalAddresses() const { return emailAllowPersonalAddresses_; }
    void SetEmailAllowPersonalAddresses(bool v) { emailAllowPersonalAddresses_ = v; }
    bool SMSSendEnabled() const { return smsSendEnabled_; }
    void SetSMSSendEnabled(bool v) { smsSendEnabled_ = v; }

    // Text forms of the stored font values, shared with whatever else reads them.
    static bool ParseBoolText(const QString& text, bool fallback);
    static double ParseSizeText(const QString& text, double fallback);
    static qint32 ParseLongText(const QString& text, qint32 fallback);
    static QString SizeText(double size);

private:
    QString profileName_;
    QString talkbackSimplePath_;
    QString vorelaComputerName_;
    QString orlixPath_;
    QString scriptPath_;
    qint16 scriptScrollSpeed_ = 6;
    bool startupAutoLogin_ = true;
    bool emailSendEnabled_ = true;
    QString emailName_;
    QString emailAddress_;
    bool emailAllowPersonalAddresses_ = false;
    bool smsSendEnabled_ = true;
    std::shared_ptr<StdFont> generalFont_;
    std::shared_ptr<StdFont> prizeFont_;
    std::shared_ptr<FontStyle> scriptFont_;
    std::shared_ptr<FontStyle> talkbackFont_;
};
