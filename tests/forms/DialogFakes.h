#pragma once

#include "Ports.h"
#include "Soundplayer.h"

#include <QStringList>

// Stand-ins for the help viewer and the sound service, recording what the dialogs asked of them.

class RecordingHelp final : public HelpViewer {
public:
    QStringList topics;
    void OpenHelp(const QString &topic) override { topics << topic; }
};

class RecordingSoundPlayer final : public SoundPlayer {
public:
    QStringList calls; // "play:<path>" and "stop"
    bool playable = true;
    bool Play(const QString &path) override
    {
        calls << QStringLiteral("play:") + path;
        return playable;
    }
    void Stop() override { calls << QStringLiteral("stop"); }
};
