// How long one seed of a client profile takes when the machine store already holds 300
// profiles: the work of one "orlix-settings seed" without starting the process (the profile
// list, the profile made, its settings loaded, its folders set and the settings saved).
#include "core/profile/cocsettings.h"
#include "core/profile/settingskeys.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrybatch.h"
#include "platform/system/registrystore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {
constexpr auto kMachine = RegistryRoot::LocalMachine;
constexpr int kProfiles = 300;

QString profileName(int n) {
    return QStringLiteral("Studio %1").arg(n);
}

bool seed(const QString& home, const QString& profile) {
    if (!ProfileManager::CreateProfile(SettingsKeys::ProfilesB(), profile)) {
        return false;
    }
    cOCSettings settings;
    QString name = profile;
    settings.LoadSettings(name);
    settings.SetOrlixPath(home + QStringLiteral("/db"));
    settings.SetScriptPath(home + QStringLiteral("/scripts"));
    settings.SetTalkbackSimplePath(home + QStringLiteral("/talkback"));
    return settings.SaveSettings(name);
}

// Copies every value below one key to another, into the batch.
void copyKey(const QString& from, const QString& to, RegistryBatch& batch) {
    for (const QString& value : RegistryStore::ValueNames(kMachine, from)) {
        bool number = false;
        const qint32 n = RegistryStore::ReadNumber(kMachine, from, value, 0, &number);
        if (number) {
            batch.WriteNumber(to, value, n);
        } else {
            batch.WriteString(to, value, RegistryStore::ReadString(kMachine, from, value, {}));
        }
    }
    for (const QString& sub : RegistryStore::SubKeyNames(kMachine, from)) {
        copyKey(from + QLatin1Char('\\') + sub, to + QLatin1Char('\\') + sub, batch);
    }
}

// One profile seeded for real, and its keys copied for the others in one write.
bool fillStore(const QString& home) {
    const QString first = profileName(0);
    if (!seed(home, first)) {
        return false;
    }
    RegistryBatch batch(kMachine);
    for (int n = 1; n < kProfiles; ++n) {
        const QString p = profileName(n);
        copyKey(SettingsKeys::ProfilesB() + QLatin1Char('\\') + first,
                SettingsKeys::ProfilesB() + QLatin1Char('\\') + p, batch);
        batch.WriteString(SettingsKeys::ProfilesB() + QLatin1Char('\\') + p, QStringLiteral("Name"),
                          p);
        copyKey(SettingsKeys::ProfilesA() + QLatin1Char('\\') + first,
                SettingsKeys::ProfilesA() + QLatin1Char('\\') + p, batch);
    }
    return batch.Commit() &&
           ProfileManager::Profiles(SettingsKeys::ProfilesB()).size() == kProfiles;
}

void BM_SeedAt300Profiles(benchmark::State& state) {
    QTemporaryDir home;
    qputenv("ORLIX_HOME", QFile::encodeName(home.path()));
    if (!fillStore(home.path())) {
        state.SkipWithError("the store could not be filled");
        return;
    }
    const QString added = profileName(kProfiles);
    for (auto _ : state) {
        if (!seed(home.path(), added)) {
            state.SkipWithError("the seed failed");
            return;
        }
        state.PauseTiming();
        RegistryStore::DeleteKey(kMachine, SettingsKeys::ProfilesB() + QLatin1Char('\\') + added);
        RegistryStore::DeleteKey(kMachine, SettingsKeys::ProfilesA() + QLatin1Char('\\') + added);
        state.ResumeTiming();
    }
    state.counters["store bytes"] =
        static_cast<double>(QFileInfo(RegistryStore::FilePath(kMachine)).size());
}
BENCHMARK(BM_SeedAt300Profiles)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
