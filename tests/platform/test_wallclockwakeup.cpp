#include "support/TestMain.h"
#include "Wallclockwakeup.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>

class WallClockWakeupTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheWallClockHere() { QVERIFY(WallClockWakeup().followsWallClock()); }

    // The wake-up comes at the moment, not before it, and not much after (on a loaded machine a
    // late one fails loudly rather than by a timing assertion: the lateness is printed).
    void wakesAtTheMomentAndNotBefore()
    {
        WallClockWakeup wakeup;
        QSignalSpy due(&wakeup, &WakeupTimer::due);
        const QDateTime moment = QDateTime::currentDateTime().addMSecs(300);
        wakeup.wakeAt(moment);
        QVERIFY(due.wait(5000));
        const qint64 late = moment.msecsTo(QDateTime::currentDateTime());
        QVERIFY2(late >= 0, qPrintable(QStringLiteral("woke %1 ms early").arg(-late)));
        qInfo("woke %lld ms after the moment", late);
        QCOMPARE(due.count(), 1);
        QVERIFY(!due.wait(400)); // once only
    }

    void momentInThePast_isDueAtOnce_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::newRow("a second ago") << QDateTime::currentDateTime().addSecs(-1);
        QTest::newRow("before the epoch") << QDateTime(QDate(1960, 1, 1), QTime(0, 0));
    }

    void momentInThePast_isDueAtOnce()
    {
        QFETCH(QDateTime, moment);
        WallClockWakeup wakeup;
        QSignalSpy due(&wakeup, &WakeupTimer::due);
        wakeup.wakeAt(moment);
        QVERIFY(due.wait(2000));
    }

    void laterMomentReplacesTheEarlier_andCancelStopsIt()
    {
        WallClockWakeup wakeup;
        QSignalSpy due(&wakeup, &WakeupTimer::due);
        const QDateTime now = QDateTime::currentDateTime();
        wakeup.wakeAt(now.addMSecs(100));
        wakeup.wakeAt(now.addMSecs(600));
        QVERIFY(!due.wait(350));
        QVERIFY(due.wait(3000));
        const qint64 at = now.msecsTo(QDateTime::currentDateTime());
        QVERIFY2(at >= 600, qPrintable(QString::number(at)));

        wakeup.wakeAt(QDateTime::currentDateTime().addMSecs(200));
        wakeup.cancel();
        QVERIFY(!due.wait(600));
        QCOMPARE(due.count(), 1);
    }
};

ZARVO_TEST_GUILESS_MAIN(WallClockWakeupTest)
#include "test_wallclockwakeup.moc"
