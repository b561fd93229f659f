#pragma once

#include <QString>

#include <memory>

// Short sounds the program plays, such as the about window's logo sound. Playing never waits;
// a file that cannot be played stays silent, with a log line. Tests install their own player.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the wave file (whatever its extension), stopping one still playing.
    virtual void Play(const QString& path) = 0;
    // Stops what is playing, if anything.
    virtual void Stop() = 0;
};

// The player in use; the desktop's own unless another was installed.
SoundPlayer& Sounds();
// Installs a player (nullptr puts the desktop's back) and returns the one it replaces.
std::unique_ptr<SoundPlayer> InstallSoundPlayer(std::unique_ptr<SoundPlayer> player);
