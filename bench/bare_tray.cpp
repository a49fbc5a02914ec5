// The smallest Qt tray program: an icon in the notification area and a 200 ms timer. The
// benchmark measures it beside the program, as a floor for exec-to-tray time and idle cost.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter(&picture).fillRect(2, 2, 12, 12, Qt::darkBlue);
    QSystemTrayIcon icon {QIcon(picture)};
    icon.show();
    QTimer tick;
    tick.start(200);
    return QApplication::exec();
}
