#include "Commandline.h"
#include "Displayguard.h"
#include "Errors.h"
#include "Instancechannel.h"
#include "Mainunit.h"
#include "Messages.h"
#include "Programservices.h"
#include "Singleinstance.h"
#include "Translations.h"
#include "Zarvoapplication.h"

#include <QAction>
#include <QMessageBox>

int main(int argc, char **argv)
{
    const CommandLine commandLine = ReadCommandLine(argc, argv);
    if (commandLine.exitCode)
        return *commandLine.exitCode;

    DisplayGuard noDisplay;
    ZarvoApplication app(argc, argv);
    noDisplay.Release();
    // Without Qt's translations its standard buttons and dialogs stay English; nothing else fails.
    if (!InstallQtTranslations(app))
        qWarning("Qt's Russian translations (qtbase_ru.qm) were not found in %s",
            qPrintable(QtTranslationsFolder()));

    // Taken before the program has its title: the lock records the executable's own name,
    // which is how a later copy tells a live holder from a dead one.
    SingleInstance instance(SingleInstance::DefaultLockFolder());
    if (!instance.TryAcquire()) {
        // A copy that started at the same moment won the lock after --add found none running.
        if (commandLine.openAddDialog && InstanceChannel::SendAddRequest(SingleInstance::DefaultLockFolder()))
            return 0;
        QMessageBox box(QMessageBox::NoIcon, EarlyCaption(QCoreApplication::applicationFilePath()),
            Msg::AlreadyRunning, QMessageBox::Ok);
        box.exec();
        return ExitAlreadyRunning;
    }
    InstanceChannel channel;

    QApplication::setApplicationName(Msg::AppTitle);
    // No display name: Qt would append " — Zarvo" to every window title on X11.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Zarvo"));
    // The program lives on in the notification area when its window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    try {
        ProgramServices services;
        MainWindowServices forWindow = services.ForMainWindow();
        QApplication::setWindowIcon(forWindow.appIcon);
        TfrmMain frmMain(std::move(forWindow));
        QObject::connect(
            &frmMain, &TfrmMain::ExitRequested, &app, &QCoreApplication::exit, Qt::QueuedConnection);
        // A later `zarvo --add` does what the tray item "Добавить задание..." does.
        QObject::connect(&channel, &InstanceChannel::AddRequested, frmMain.mnuTrayAdd, &QAction::trigger,
            Qt::QueuedConnection);
        channel.Listen(SingleInstance::DefaultLockFolder());
        frmMain.ShowAtStart();
        if (commandLine.openAddDialog)
            QMetaObject::invokeMethod(frmMain.mnuTrayAdd, &QAction::trigger, Qt::QueuedConnection);
        return QApplication::exec();
    } catch (const ZarvoError &error) {
        ZarvoApplication::ShowErrorReport(error.text());
    } catch (const std::exception &error) {
        ZarvoApplication::ShowErrorReport(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
