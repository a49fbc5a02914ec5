#pragma once

#include "Openerservice.h"
#include "Screensaverservice.h"
#include "Sessionservice.h"
#include "Soundplayer.h"

#include <QStringList>

// Stand-ins for the system services that write every request, in order, to one shared log, so a
// test sees what was asked of which service and in which order.

class RecordingSoundPlayer final : public SoundPlayer {
public:
    explicit RecordingSoundPlayer(QStringList &log)
        : m_log(log)
    {
    }
    bool Play(const QString &path) override
    {
        m_log << QStringLiteral("play ") + path;
        return true;
    }
    void Stop() override { m_log << QStringLiteral("stop"); }

private:
    QStringList &m_log;
};

class RecordingSessionService final : public SessionService {
public:
    explicit RecordingSessionService(QStringList &log)
        : m_log(log)
    {
    }
    void PowerOff() override { m_log << QStringLiteral("power off"); }
    void Reboot() override { m_log << QStringLiteral("reboot"); }
    void LogOff() override { m_log << QStringLiteral("log off"); }

private:
    QStringList &m_log;
};

class RecordingScreenSaver final : public ScreenSaverService {
public:
    explicit RecordingScreenSaver(QStringList &log)
        : m_log(log)
    {
    }
    void Activate() override { m_log << QStringLiteral("screen saver"); }

private:
    QStringList &m_log;
};

class RecordingOpener final : public OpenerService {
public:
    explicit RecordingOpener(QStringList &log)
        : m_log(log)
    {
    }
    void Open(const QString &path) override { m_log << QStringLiteral("open ") + path; }
    void OpenUrl(const QUrl &url) override { m_log << QStringLiteral("open url ") + url.toString(); }

private:
    QStringList &m_log;
};
