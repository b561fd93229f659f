#include "platform/system/soundplayer.h"

#include "platform/system/platformlog.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

namespace {
// The desktop's sound output through Qt Multimedia. The effect is made on first use, when
// the application object exists.
class DesktopSoundPlayer : public SoundPlayer {
public:
    void Play(const QString& path) override {
        if (!QFile::exists(path)) {
            PlatformLog(QStringLiteral("Sound: '%1' does not exist").arg(path));
            return;
        }
        if (!effect_) {
            effect_ = std::make_unique<QSoundEffect>();
            QObject::connect(effect_.get(), &QSoundEffect::statusChanged, effect_.get(), [this] {
                if (effect_->status() == QSoundEffect::Error) {
                    PlatformLog(QStringLiteral("Sound: '%1' could not be played")
                                    .arg(effect_->source().toLocalFile()));
                }
            });
        }
        effect_->stop();
        effect_->setSource(QUrl::fromLocalFile(path));
        effect_->play();
    }
    void Stop() override {
        if (effect_) {
            effect_->stop();
        }
    }

private:
    std::unique_ptr<QSoundEffect> effect_;
};

std::unique_ptr<SoundPlayer>& installed() {
    static std::unique_ptr<SoundPlayer> player;
    return player;
}
} // namespace

SoundPlayer& Sounds() {
    auto& player = installed();
    if (!player) {
        player = std::make_unique<DesktopSoundPlayer>();
    }
    return *player;
}

std::unique_ptr<SoundPlayer> InstallSoundPlayer(std::unique_ptr<SoundPlayer> player) {
    std::unique_ptr<SoundPlayer> old = std::move(installed());
    installed() = std::move(player);
    return old;
}
