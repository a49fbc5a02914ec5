#pragma once

#include "Ports.h"
#include "Soundplayer.h"

#include <QList>
#include <QPointer>
#include <QStringList>

#include <utility>

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

// The dialogs a test fixture opened. A dialog refers to the fixture's members, and one that a test
// closed deletes itself only later, from the event loop: declared as the fixture's last member,
// this deletes every dialog still alive before the members they refer to go.
template<typename Dialog> class OpenedDialogs {
public:
    OpenedDialogs() = default;
    OpenedDialogs(const OpenedDialogs &) = delete;
    OpenedDialogs &operator=(const OpenedDialogs &) = delete;
    ~OpenedDialogs()
    {
        for (const QPointer<Dialog> &dialog : std::as_const(m_dialogs))
            delete dialog.data();
    }

    Dialog *add(Dialog *dialog)
    {
        m_dialogs << dialog;
        return dialog;
    }

private:
    QList<QPointer<Dialog>> m_dialogs;
};
