#include "Errors.h"
#include "Mainunit.h"
#include "Messages.h"
#include "Programservices.h"
#include "Singleinstance.h"
#include "Translations.h"
#include "Zarvoapplication.h"

#include <QMessageBox>

int main(int argc, char **argv)
{
    ZarvoApplication app(argc, argv);
    // Without Qt's translations its standard buttons and dialogs stay English; nothing else fails.
    if (!InstallQtTranslations(app))
        qWarning("Qt's Russian translations (qtbase_ru.qm) were not found in %s",
            qPrintable(QtTranslationsFolder()));

    // Taken before the program has its title: the lock records the executable's own name,
    // which is how a later copy tells a live holder from a dead one.
    SingleInstance instance(SingleInstance::DefaultLockFolder());
    if (!instance.TryAcquire()) {
        QMessageBox box(QMessageBox::NoIcon, EarlyCaption(QCoreApplication::applicationFilePath()),
            Msg::AlreadyRunning, QMessageBox::Ok);
        box.exec();
        return 1;
    }

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
        frmMain.ShowAtStart();
        return QApplication::exec();
    } catch (const ZarvoError &error) {
        ZarvoApplication::ShowErrorReport(error.text());
    } catch (const std::exception &error) {
        ZarvoApplication::ShowErrorReport(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
