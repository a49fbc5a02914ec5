#pragma once

#include "Openerservice.h"
#include "Screensaverservice.h"
#include "Sessionservice.h"
#include "Soundplayer.h"

#include <QStringList>
#include <QUrl>

// Stand-ins for the system services. Each writes every request, in order, to a log: its own
// (`log`), or one shared with other stand-ins given to the constructor, so a test sees what was
// asked of which service and in which order.
class RecordingService {
public:
    QStringList &log;

    RecordingService()
        : log(m_ownLog)
    {
    }
    explicit RecordingService(QStringList &shared)
        : log(shared)
    {
    }
    RecordingService(const RecordingService &) = delete;
    RecordingService &operator=(const RecordingService &) = delete;

private:
    QStringList m_ownLog;
};

// "play <path>" and "stop"; Play answers `playable`.
class RecordingSoundPlayer final : public SoundPlayer, public RecordingService {
public:
    using RecordingService::RecordingService;
    RecordingSoundPlayer() = default;
    bool playable = true;
    bool Play(const QString &path) override
    {
        log << QStringLiteral("play ") + path;
        return playable;
    }
    void Stop() override { log << QStringLiteral("stop"); }
};

class RecordingSessionService final : public SessionService, public RecordingService {
public:
    using RecordingService::RecordingService;
    RecordingSessionService() = default;
    void PowerOff() override { log << QStringLiteral("power off"); }
    void Reboot() override { log << QStringLiteral("reboot"); }
    void LogOff() override { log << QStringLiteral("log off"); }
};

class RecordingScreenSaver final : public ScreenSaverService, public RecordingService {
public:
    using RecordingService::RecordingService;
    RecordingScreenSaver() = default;
    void Activate() override { log << QStringLiteral("screen saver"); }
};

class RecordingOpener final : public OpenerService, public RecordingService {
public:
    using RecordingService::RecordingService;
    RecordingOpener() = default;
    void Open(const QString &path) override { log << QStringLiteral("open ") + path; }
    void OpenUrl(const QUrl &url) override { log << QStringLiteral("open url ") + url.toString(); }
};
