#include "platform/system/profilemanager.h"

#include "platform/system/platformlog.h"
#include "platform/system/registrystore.h"
#include "platform/ui/profilechooserdialog.h"

namespace {
const QString kDefaultProfile = QStringLiteral("Profile1");
} // namespace

ProfileManager::ProfileManager() = default;

bool ProfileManager::IsValidProfileName(const QString& name, QString* reason) {
    QString why;
    if (name.trimmed().isEmpty()) {
        why = QStringLiteral("it is empty");
    } else if (name.size() > 64) {
        why = QStringLiteral("it is longer than 64 characters");
    } else if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))) {
        why = QStringLiteral("it holds a folder separator");
    } else if (name.contains(QStringLiteral(".."))) {
        why = QStringLiteral("it holds \"..\"");
    } else {
        for (const QChar c : name) {
            if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format) {
                why = QStringLiteral("it holds a control character");
                break;
            }
        }
    }
    if (reason != nullptr) {
        *reason = why;
    }
    return why.isEmpty();
}

QStringList ProfileManager::Profiles(const QString& profilesKey) {
    QStringList out;
    for (const QString& p : RegistryStore::SubKeyNames(RegistryRoot::LocalMachine, profilesKey)) {
        if (IsValidProfileName(p)) {
            out.append(p);
        }
    }
    return out;
}

bool ProfileManager::CreateProfile(const QString& profilesKey, const QString& name) {
    if (!IsValidProfileName(name)) {
        return false;
    }
    if (Profiles(profilesKey).contains(name, Qt::CaseInsensitive)) {
        return true;
    }
    // A key exists through its values: the profile records its own name.
    return RegistryStore::WriteString(RegistryRoot::LocalMachine,
                                      profilesKey + QLatin1Char('\\') + name,
                                      QStringLiteral("Name"), name);
}

QString ProfileManager::ChooseProfile(const QString& profilesKey, QWidget* owner, QString& name) {
    name.clear();
    const QString forced = forced_.trimmed();
    if (!forced.isEmpty()) {
        QString reason;
        if (IsValidProfileName(forced, &reason)) {
            const QStringList existing = Profiles(profilesKey);
            for (const QString& p : existing) {
                if (p.compare(forced, Qt::CaseInsensitive) == 0) {
                    name = p;
                    return name;
                }
            }
            if (CreateProfile(profilesKey, forced)) {
                name = forced;
                return name;
            }
            PlatformLog(QStringLiteral("The profile '%1' could not be made.").arg(forced));
        } else {
            PlatformLog(
                QStringLiteral("The profile name '%1' was refused: %2.").arg(forced, reason));
        }
    }

    const QStringList existing = Profiles(profilesKey);
    const QString proposed = existing.isEmpty() ? kDefaultProfile : QString();
    QString chosen = ProfileChooserDialog::Ask(existing, proposed, owner).trimmed();
    if (chosen.isEmpty()) {
        return {};
    }
    QString reason;
    if (!IsValidProfileName(chosen, &reason)) {
        PlatformLog(QStringLiteral("The profile name '%1' was refused: %2.").arg(chosen, reason));
        return {};
    }
    for (const QString& p : existing) {
        if (p.compare(chosen, Qt::CaseInsensitive) == 0) {
            chosen = p;
        }
    }
    if (!CreateProfile(profilesKey, chosen)) {
        PlatformLog(QStringLiteral("The profile '%1' could not be made.").arg(chosen));
        return {};
    }
    name = chosen;
    return name;
}
