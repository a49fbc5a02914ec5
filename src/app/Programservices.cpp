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
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
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

// The main window's frame as the settings store sees it: position of the outer frame, size of
// the window, and the size of the screen it is on.
class WindowGeometry final : public MainWindowGeometry {
public:
    explicit WindowGeometry(QWidget &window)
        : m_window(window)
    {
    }
    int Left() const override { return m_window.x(); }
    int Top() const override { return m_window.y(); }
    int Width() const override { return m_window.width(); }
    int Height() const override { return m_window.height(); }
    void SetLeft(int left) override { m_window.move(left, m_window.y()); }
    void SetTop(int top) override { m_window.move(m_window.x(), top); }
    void SetWidth(int width) override { m_window.resize(width, m_window.height()); }
    void SetHeight(int height) override { m_window.resize(m_window.width(), height); }
    int ScreenWidth() const override { return screen()->geometry().width(); }
    int ScreenHeight() const override { return screen()->geometry().height(); }

private:
    QScreen *screen() const
    {
        return m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    }
    QWidget &m_window;
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
    // Temporaries of saves that a crash or a kill interrupted; only ours, and only old ones.
    RemoveStaleSaveTemporaries(taskFile.path);
    const QString settingsFile = UserSettingsFilePath();
    if (!settingsFile.isEmpty())
        RemoveStaleSaveTemporaries(settingsFile);
    services.settings = m_settings.get();
    services.clock = &m_clock;
    services.wakeup = m_wakeup.get();
    services.actions = m_actions.get();
    services.help = m_help.get();
    services.sound = m_sound.get();
    services.openAddress = [this](const QString &address) { m_opener->OpenUrl(QUrl(address)); };
    services.firstRunSetup = [this](TfrmMain &window) {
        WindowGeometry geometry(window);
        FirstRunSetup(*m_settings, geometry, window, *m_help, QCoreApplication::applicationFilePath());
    };
    services.saveWindowGeometry = [this](TfrmMain &window) {
        const WindowGeometry geometry(window);
        SaveWindowGeometry(*m_settings, geometry);
    };
    services.trayHostReportsDoubleClick = TrayHostReportsDoubleClick();
    services.watchTrayHost = [](QObject *receiver, std::function<void()> changed) {
        auto *watcher = new TrayHostWatcher(receiver);
        QObject::connect(watcher, &TrayHostWatcher::Changed, receiver, std::move(changed));
    };
    services.images = ImageList1();
    services.appIcon = Artwork::AppIcon();
    return services;
}
