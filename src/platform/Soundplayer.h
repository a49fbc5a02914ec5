#pragma once

#include <QString>

#include <memory>

// Plays WAV files once in the background. One sound at a time: a new request replaces the sound
// that is playing.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts path playing and returns true. A file that cannot be played (missing, unreadable,
    // not a WAV) sounds the default sound instead, shows no message, and returns false. With no
    // audio output at all nothing plays and nothing fails: the answer still says whether the
    // file itself could be played.
    virtual bool Play(const QString &path) = 0;
    virtual void Stop() = 0;
    // A sound is about to be asked for (a notice with a sound is being built): a player that sets
    // itself up on the first sound may start on it now, so that the sound starts with the notice.
    virtual void Prepare() {}
};

// The system's sound player. Lives on the UI thread; never blocks it while a sound plays.
std::unique_ptr<SoundPlayer> CreateSoundPlayer();
