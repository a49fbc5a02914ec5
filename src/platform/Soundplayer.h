#pragma once

#include <QString>

// Plays WAV files once in the background. One sound at a time: a new request replaces the sound
// that is playing.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    // Starts path playing and returns true. A file that cannot be played (missing, unreadable,
    // not a WAV) sounds the default sound instead, shows no message, and returns false. With no
    // audio output at all nothing plays and nothing fails.
    virtual bool Play(const QString &path) = 0;
    virtual void Stop() = 0;
};
