// The actions a fired task runs, carried out through the real windows in their modal loops:
// what each notice shows and sounds, the countdown under its own timer, a second notice on top
// of the first, and which service each system action reaches.

#include "support/TestMain.h"
#include "Messages.h"
#include "ModalDriver.h"
#include "support/RecordingServices.h"
#include "Remindunit.h"
#include "Shutrebunit.h"
#include "Taskactions.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

// What a notice showed while it was open.
struct Seen {
    QString title;
    QString message;
    QString soundLabel;
    bool shown = false;
};

} // namespace

class TestTaskActions : public QObject {
    Q_OBJECT

private:
    QStringList m_log;
    RecordingSoundPlayer m_sound {m_log};
    RecordingSessionService m_session {m_log};
    RecordingScreenSaver m_screenSaver {m_log};
    RecordingOpener m_opener {m_log};
    WindowTaskActions m_actions {m_sound, m_session, m_screenSaver, m_opener};

    // Reads the next notice that opens and presses its OK button.
    static void ReadAndConfirmNextNotice(Seen &seen, QPointer<QDialog> &window)
    {
        ModalDriver::OnNextModal([&seen, &window](QDialog *modal) {
            window = modal;
            auto *notice = qobject_cast<TfrmRemind *>(modal);
            if (!notice)
                return ModalDriver::CloseAllModals();
            seen = {notice->Label1->text(), notice->Memo1->toPlainText(), notice->lblFileName->text(),
                notice->isVisible()};
            QTest::mouseClick(notice->BitBtn1, Qt::LeftButton);
        });
    }

private slots:
    void init() { m_log.clear(); }
    void cleanup() { QVERIFY(!ModalDriver::TimedOut()); }

    void noticesShowTheirTexts_data()
    {
        QTest::addColumn<bool>("birthday");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("param");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shownMessage");
        QTest::addColumn<QStringList>("sound");

        QTest::newRow("reminder with sound")
            << false << "Купить хлеба"
            << "/home/user/звонок.wav"
            << "Напоминание..."
            << "Купить хлеба" << QStringList {"play /home/user/звонок.wav", "stop"};
        QTest::newRow("reminder, no message, no sound")
            << false << "NULL"
            << "NULL"
            << "Напоминание..."
            << "Вы просили меня о чем-то напомнить. Но о чем... вы не сказали." << QStringList {"stop"};
        QTest::newRow("reminder whose message has several lines") << false << "первое\nвторое"
                                                                  << "NULL"
                                                                  << "Напоминание..."
                                                                  << "первое\nвторое" << QStringList {"stop"};
        // A birthday always asks for "lblFileName", which sounds the default sound.
        QTest::newRow("birthday with message")
            << true << "Купить подарок"
            << "Ивана"
            << "День Рождения!!!\nУ Ивана"
            << "Купить подарок" << QStringList {"play lblFileName", "stop"};
        QTest::newRow("birthday, no message")
            << true << "NULL"
            << "Марии Петровны"
            << "День Рождения!!!\nУ Марии Петровны"
            << "Вы просили меня напомнить о грядущем дне рождения. Я выполняю вашу просьбу..."
            << QStringList {"play lblFileName", "stop"};
        QTest::newRow("birthday of a name that reads like NULL")
            << true << "NULL"
            << "NULL"
            << "День Рождения!!!\nУ NULL"
            << "Вы просили меня напомнить о грядущем дне рождения. Я выполняю вашу просьбу..."
            << QStringList {"play lblFileName", "stop"};
    }

    void noticesShowTheirTexts()
    {
        QFETCH(bool, birthday);
        QFETCH(QString, message);
        QFETCH(QString, param);
        QFETCH(QString, title);
        QFETCH(QString, shownMessage);
        QFETCH(QStringList, sound);

        Seen seen;
        QPointer<QDialog> window;
        ReadAndConfirmNextNotice(seen, window);
        if (birthday)
            m_actions.ShowBirthdayNotice(message, param);
        else
            m_actions.ShowReminderNotice(message, param);

        QVERIFY(seen.shown);
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.message, shownMessage);
        QCOMPARE(seen.soundLabel, birthday ? QStringLiteral("lblFileName") : param);
        QCOMPARE(m_log, sound);
        QVERIFY(window.isNull()); // freed when it closed
    }

    // Timers keep running inside a notice's modal loop: one started before the first notice opens
    // a second notice on top of it. The second sound replaces the first; when the second closes,
    // the first becomes active again and plays its own sound again.
    void secondNoticeOpensOnTopOfTheFirst()
    {
        QPointer<QDialog> first;
        QPointer<QDialog> second;
        bool firstOpenUnderSecond = false;
        bool secondOnTop = false;

        ModalDriver::OnNextModal([&](QDialog *modal) {
            first = modal;
            QTimer::singleShot(10, [&] {
                ModalDriver::OnNextModal(
                    [&](QDialog *modal) {
                        second = modal;
                        firstOpenUnderSecond = first && first->isVisible();
                        secondOnTop = QApplication::activeModalWidget() == second.data();
                        QTest::mouseClick(qobject_cast<TfrmRemind *>(modal)->BitBtn1, Qt::LeftButton);
                    },
                    first);
                m_actions.ShowBirthdayNotice(QStringLiteral("NULL"), QStringLiteral("Ивана"));
                // back in the first notice's loop: wait for it to be active again, then close it
                QTimer::singleShot(10, [&] {
                    if (!first)
                        return;
                    first->activateWindow();
                    if (QTest::qWaitForWindowActive(first))
                        QTest::mouseClick(qobject_cast<TfrmRemind *>(first.data())->BitBtn1, Qt::LeftButton);
                    else
                        ModalDriver::CloseAllModals();
                });
            });
        });

        m_actions.ShowReminderNotice(QStringLiteral("Первое"), QStringLiteral("/sounds/first.wav"));

        QVERIFY(firstOpenUnderSecond);
        QVERIFY(secondOnTop);
        QVERIFY(first.isNull());
        QVERIFY(second.isNull());
        const QStringList expected {
            "play /sounds/first.wav", "play lblFileName", "stop", "play /sounds/first.wav", "stop"};
        QCOMPARE(m_log, expected);
    }

    void countdownRunsOnItsOwnTimer_data()
    {
        QTest::addColumn<bool>("powerOff");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("request");
        QTest::newRow("shutdown") << true << "выключен!"
                                  << "power off";
        QTest::newRow("restart") << false << "перезагружен!"
                                 << "reboot";
    }

    void countdownRunsOnItsOwnTimer()
    {
        QFETCH(bool, powerOff);
        QFETCH(QString, label);
        QFETCH(QString, request);

        QString shownLabel;
        QStringList secondsSeen;
        QPointer<QDialog> window;
        ModalDriver::OnNextModal([&](QDialog *modal) {
            window = modal;
            auto *countdown = qobject_cast<TfrmShutReb *>(modal);
            if (!countdown)
                return ModalDriver::CloseAllModals();
            shownLabel = countdown->lblShutReb->text();
            QObject::connect(countdown->Timer1, &QTimer::timeout, countdown,
                [&, countdown] { secondsSeen << countdown->lblSec->text(); });
            countdown->Timer1->setInterval(2); // the same count, faster
        });

        m_actions.ShowShutdownCountdown(powerOff);

        QCOMPARE(shownLabel, label);
        QStringList expectedSeconds;
        for (int left = 14; left >= 0; --left)
            expectedSeconds << QString::number(left);
        QCOMPARE(secondsSeen, expectedSeconds);
        QCOMPARE(m_log, QStringList {request});
        QVERIFY(window.isNull());
    }

    void cancelledCountdownNeverActs()
    {
        QPointer<QTimer> timer;
        ModalDriver::OnNextModal([&](QDialog *modal) {
            auto *countdown = qobject_cast<TfrmShutReb *>(modal);
            if (!countdown)
                return ModalDriver::CloseAllModals();
            timer = countdown->Timer1;
            timer->setInterval(20);
            QTest::mouseClick(countdown->btnCancel, Qt::LeftButton);
        });

        m_actions.ShowShutdownCountdown(true);

        QVERIFY(timer.isNull());
        QTest::qWait(400); // longer than the whole count at this speed
        QCOMPARE(m_log, QStringList());
    }

    void systemActionsReachTheirService_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("log off") << "LogOffUser" << QStringList {"log off"};
        QTest::newRow("screen saver") << "StartScreenSaver" << QStringList {"screen saver"};
        QTest::newRow("run program") << "RunProgram" << QStringList {"open C:\\Program Files\\Игры\\sol.exe"};
        QTest::newRow("run with empty path") << "RunProgram (empty)" << QStringList {"open "};
    }

    void systemActionsReachTheirService()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, requests);
        if (action == QLatin1String("LogOffUser"))
            m_actions.LogOffUser();
        else if (action == QLatin1String("StartScreenSaver"))
            m_actions.StartScreenSaver();
        else if (action == QLatin1String("RunProgram"))
            m_actions.RunProgram(QStringLiteral("C:\\Program Files\\Игры\\sol.exe"));
        else
            m_actions.RunProgram(QString());
        QCOMPARE(m_log, requests);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0); // no window, no message
    }
};

ZARVO_TEST_MAIN(TestTaskActions)
#include "test_taskactions.moc"
