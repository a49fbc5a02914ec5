#include "Programservices.h"

#include "Artwork.h"
#include "Firstrun.h"
#include "Helpviewer.h"
#include "Messages.h"
#include "Openerservice.h"
#include "Savedfile.h"
#include "Screensaverservice.h"
#include "Sessionservice.h"
#include "Sessionsettings.h"
#include "Settingsstore.h"
#include "Soundplayer.h"
#include "Taskactions.h"
#include "Taskrecord.h"
#include "Trayhost.h"
#include "Usersettings.h"
#include "Wallclockwakeup.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QUrl>

namespace {

// Plain boxes for messages that come before the main window exists (the help viewer's).
class PlainMessages final : public UserMessages {
public:
    void ShowMessage(const QString &text) override
    {
        QMessageBox box(QMessageBox::NoIcon, Msg::AppTitle, text, QMessageBox::Ok);
        box.exec();
    }
    bool AskYesNo(const QString &text, const QString &caption) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
};

QList<QIcon> ImageList1()
{
    QList<QIcon> images;
    for (int index = 0; index < 8; ++index)
        images << Artwork::ImageListIcon(index);
    return images;
}

// A settings problem can come to light inside any operation, a firing among them: it is shown
// once control is back in the event loop, never between a due task and its action.
void ShowWhenIdle(const QString &text)
{
    QMetaObject::invokeMethod(
        qApp,
        [text] {
            QMessageBox box(QMessageBox::NoIcon, Msg::AppTitle, text, QMessageBox::Ok);
            box.exec();
        },
        Qt::QueuedConnection);
}

} // namespace

ProgramServices::ProgramServices()
    : m_wakeup(std::make_unique<WallClockWakeup>())
    , m_messages(std::make_unique<PlainMessages>())
    , m_userSettings(CreateUserSettingsBackend())
    , m_settings(std::make_unique<SessionSettingsBackend>(*m_userSettings, ShowWhenIdle))
    , m_sound(CreateSoundPlayer())
    , m_session(CreateSessionService())
    , m_screenSaver(CreateScreenSaverService())
    , m_opener(CreateOpenerService())
    , m_actions(std::make_unique<WindowTaskActions>(*m_sound, *m_session, *m_screenSaver, *m_opener))
    , m_help(std::make_unique<WindowHelpViewer>(*m_messages, QCoreApplication::applicationDirPath()))
{
}

ProgramServices::~ProgramServices() = default;

MainWindowServices ProgramServices::ForMainWindow()
{
    MainWindowServices services;
    const TaskFileLocation taskFile = LocateProgramTaskFile();
    services.taskFilePath = taskFile.path;
    if (!taskFile.notice.isEmpty())
        services.startNotices << taskFile.notice;
    // Temporaries of saves that a crash or a kill interrupted; only ours, and only old ones, so
    // it waits until the tray icon shows: a save of this start makes no temporary that old.
    QMetaObject::invokeMethod(
        qApp,
        [taskFilePath = taskFile.path, settingsFile = UserSettingsFilePath()] {
            RemoveStaleSaveTemporaries(taskFilePath);
            if (!settingsFile.isEmpty())
                RemoveStaleSaveTemporaries(settingsFile);
        },
        Qt::QueuedConnection);
    services.settings = m_settings.get();
    services.clock = &m_clock;
    services.wakeup = m_wakeup.get();
    services.actions = m_actions.get();
    services.help = m_help.get();
    services.sound = m_sound.get();
    services.openAddress = [this](const QString &address) { m_opener->OpenUrl(QUrl(address)); };
    services.firstRunSetup = [this](TfrmMain &window) {
        FirstRunSetup(
            *m_settings, window.Placement(), window, *m_help, QCoreApplication::applicationFilePath());
    };
    services.saveWindowGeometry
        = [this](TfrmMain &window) { SaveWindowGeometry(*m_settings, window.Placement()); };
    services.trayHostReportsDoubleClick = TrayHostReportsDoubleClick;
    services.watchTrayHost = [](QObject *receiver, std::function<void()> changed) {
        auto *watcher = new TrayHostWatcher(receiver);
        QObject::connect(watcher, &TrayHostWatcher::Changed, receiver, std::move(changed));
    };
    services.images = ImageList1();
    services.appIcon = Artwork::AppIcon();
    return services;
}
