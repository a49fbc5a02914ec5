#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Lets a test act inside a modal loop: OnNextModal(handle) runs handle(window) from within exec()
// as soon as a modal window other than `skip` is showing and active (as a user would meet it). If none shows
// within a few seconds it closes every modal window, so a test can fail but never hang, and TimedOut() turns
// true.
class ModalDriver {
public:
    using Handler = std::function<void(QDialog *)>;

    static void OnNextModal(Handler handle, QWidget *skip = nullptr)
    {
        auto *poll = new QTimer;
        const QDeadlineTimer deadline(5000);
        QPointer<QWidget> skipped(skip);
        QObject::connect(poll, &QTimer::timeout, [=] {
            auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (modal && modal != skipped.data() && modal->isActiveWindow()) {
                poll->stop();
                poll->deleteLater();
                handle(modal);
            } else if (deadline.hasExpired()) {
                poll->stop();
                poll->deleteLater();
                TimedOutFlag() = true;
                CloseAllModals();
            }
        });
        poll->start(5);
    }

    static bool TimedOut() { return TimedOutFlag(); }

    static void CloseAllModals()
    {
        for (int i = 0; i < 10; ++i) {
            if (auto *modal = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                modal->done(QDialog::Rejected);
        }
    }

private:
    static bool &TimedOutFlag()
    {
        static bool timedOut = false;
        return timedOut;
    }
};
