#pragma once

#include <QApplication>

// The application object. An error that escapes any event handler is shown in the default
// error report (a message box with the error's text, caption "Zarvo", OK); the handler is
// abandoned and the program runs on.
class ZarvoApplication final : public QApplication {
public:
    ZarvoApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    static void ShowErrorReport(const QString &text);
};
