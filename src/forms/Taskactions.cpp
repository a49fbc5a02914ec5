#include "Taskactions.h"

#include "Messages.h"
#include "Openerservice.h"
#include "Remindunit.h"
#include "Screensaverservice.h"
#include "Sessionservice.h"
#include "Shutrebunit.h"
#include "Soundplayer.h"

#include <QLabel>

namespace {

const QString Null = QStringLiteral("NULL");

} // namespace

WindowTaskActions::WindowTaskActions(
    SoundPlayer &sound, SessionService &session, ScreenSaverService &screenSaver, OpenerService &opener)
    : m_sound(sound)
    , m_session(session)
    , m_screenSaver(screenSaver)
    , m_opener(opener)
{
}

// Each notice gets a window of its own; exec() frees it when it closes (WA_DeleteOnClose).
void WindowTaskActions::ShowReminderNotice(const QString &message, const QString &soundFile)
{
    // The sound player may load while the notice is built and shown.
    if (soundFile != Null)
        m_sound.Prepare();
    auto *frmRemind = new TfrmRemind(m_sound);
    frmRemind->SetMessage(message != Null ? message : Msg::RemindNoMessage);
    frmRemind->Label1->setText(Msg::RemindTitle);
    frmRemind->lblFileName->setText(soundFile);
    frmRemind->exec();
}

// The sound label keeps its own text "lblFileName", a file that does not exist, so a birthday
// always sounds the default sound.
void WindowTaskActions::ShowBirthdayNotice(const QString &message, const QString &name)
{
    m_sound.Prepare();
    auto *frmRemind = new TfrmRemind(m_sound);
    frmRemind->SetMessage(message != Null ? message : Msg::BirthdayNoMessage);
    frmRemind->Label1->setText(Msg::BirthdayTitlePrefix + name);
    frmRemind->exec();
}

void WindowTaskActions::ShowShutdownCountdown(bool powerOff)
{
    auto *frmShutReb = new TfrmShutReb(m_session);
    frmShutReb->lblShutReb->setText(powerOff ? Msg::CountdownShutdown : Msg::CountdownReboot);
    frmShutReb->exec();
}

void WindowTaskActions::LogOffUser()
{
    m_session.LogOff();
}

void WindowTaskActions::StartScreenSaver()
{
    m_screenSaver.Activate();
}

void WindowTaskActions::RunProgram(const QString &path)
{
    m_opener.Open(path);
}
