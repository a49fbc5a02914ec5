#include "Artwork.h"
#include "Commandline.h"
#include "Displayguard.h"
#include "Earlycaption.h"
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

namespace {

void ReportStartError(const QString &text)
{
    // The error may come before the main window, and with it the program's icon, was made.
    if (QApplication::windowIcon().isNull())
        QApplication::setWindowIcon(Artwork::AppIcon());
    ZarvoApplication::ShowErrorReport(text);
}

} // namespace

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

    // Taken before the program has its title, so a second copy's box is captioned with the
    // executable's name.
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
        const QIcon appIcon = forWindow.appIcon;
        TfrmMain frmMain(std::move(forWindow));
        // The other windows take the program's icon from here on. Not before: the tray icon's own
        // hidden window, made while the main window is built, would first draw every size of it
        // and send them to the X server, all before the icon is in the notification area.
        QApplication::setWindowIcon(appIcon);
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
        ReportStartError(error.text());
    } catch (const std::exception &error) {
        ReportStartError(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
