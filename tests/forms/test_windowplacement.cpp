#include "support/TestMain.h"
#include "Windowplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
const QRect kLeftScreen(0, 0, 1280, 770); // available area: a panel takes the bottom 30
const QRect kRightScreen(1280, 0, 1920, 1080);
} // namespace

class TestWindowPlacement : public QObject {
    Q_OBJECT

private slots:
    void onScreen_data()
    {
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("placed");
        const QSize frame(553, 335);
        QTest::newRow("on screen: unchanged") << QPoint(313, 247) << frame << QPoint(313, 247);
        QTest::newRow("title bar above the screen (a Wayland save)")
            << QPoint(-3, -30) << frame << QPoint(0, 0);
        QTest::newRow("past the right edge") << QPoint(1000, 100) << frame << QPoint(1280 - 553, 100);
        QTest::newRow("below the panel") << QPoint(100, 700) << frame << QPoint(100, 770 - 335);
        QTest::newRow("far away: the screen it is nearest by area, else the first")
            << QPoint(90000, 90000) << frame << QPoint(1280 - 553, 770 - 335);
        QTest::newRow("on the second screen: stays there") << QPoint(2000, 500) << frame << QPoint(2000, 500);
        QTest::newRow("across both: the screen holding most of it")
            << QPoint(1100, 100) << frame << QPoint(1280, 100);
        QTest::newRow("larger than the screen: top-left kept reachable")
            << QPoint(-50, -50) << QSize(1400, 900) << QPoint(0, 0);
    }

    void onScreen()
    {
        QFETCH(QPoint, stored);
        QFETCH(QSize, size);
        QFETCH(QPoint, placed);
        QCOMPARE(WindowPlacement::OnScreen(stored, size, {kLeftScreen, kRightScreen}), placed);
    }

    // Where the platform cannot report a window's place, the stored value is saved back as it
    // was read, and not pulled onto a screen whose place is unknown.
    void noReportedPosition_storedValueSurvives()
    {
        QWidget window;
        window.resize(551, 308);
        WindowPlacement placement(window);
        placement.SetReportsPosition(false);

        placement.RestoreFrame(QPoint(-3, -30));
        window.show();
        window.move(0, 0); // wherever the compositor puts it

        QCOMPARE(placement.Left(), -3);
        QCOMPARE(placement.Top(), -30);
    }

    void reportedPosition_offScreenComesBack()
    {
        QWidget window;
        window.resize(551, 308);
        WindowPlacement placement(window);
        placement.SetReportsPosition(true);

        placement.RestoreFrame(QPoint(-400, 5000));

        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(screen.contains(QRect(QPoint(placement.Left(), placement.Top()), window.size())),
            qPrintable(QStringLiteral("%1,%2").arg(placement.Left()).arg(placement.Top())));
    }
};

ZARVO_TEST_MAIN(TestWindowPlacement)
#include "test_windowplacement.moc"
