#include "Zarvoapplication.h"

#include "Errors.h"
#include "Messages.h"

#include <QMessageBox>

ZarvoApplication::ZarvoApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool ZarvoApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ZarvoError &error) {
        ShowErrorReport(error.text());
    } catch (const std::exception &error) {
        ShowErrorReport(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

void ZarvoApplication::ShowErrorReport(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, Msg::AppTitle, text, QMessageBox::Ok);
    box.exec();
}
