#include "support/TestMain.h"
#include "Errors.h"
#include "Messages.h"
#include "Trayicon.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using Reason = QSystemTrayIcon::ActivationReason;
using Mode = TTrayIconMessage;
Q_DECLARE_METATYPE(QList<QSystemTrayIcon::ActivationReason>)
Q_DECLARE_METATYPE(TTrayIconMessage)

namespace {

QIcon SolidIcon(const QColor &colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QRgb CentreOf(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().pixel(8, 8);
}

} // namespace

class TestTrayIcon : public QObject {
    Q_OBJECT

private slots:
    void activations_restoreAndMenuAsConfigured_data();
    void activations_restoreAndMenuAsConfigured();
    void hostLearnedToReportDoubleClick_laterSingleClickDoesNothing();
    void hint_takenOnlyWhenNewAndShorterThan64_data();
    void hint_takenOnlyWhenNewAndShorterThan64();
    void iconIndex_takesImageOfTheList();
    void animate_cyclesThroughImagesBackToFirst();
    void animate_withoutImages_staysOff();
    void setVisible_withoutNotificationArea_raisesAndKeepsWindowReachable();
    void minimizeAndRestore_withNotificationArea_hideAndShowTheWindow();
    void hostLeaves_whileHidden_windowComesBack_hostReturns_iconToo();
};

void TestTrayIcon::activations_restoreAndMenuAsConfigured_data()
{
    QTest::addColumn<Mode>("restoreOn");
    QTest::addColumn<Mode>("menuOn");
    QTest::addColumn<bool>("hostReportsDoubleClick");
    QTest::addColumn<QList<Reason>>("reasons");
    QTest::addColumn<int>("restores");
    QTest::addColumn<int>("menus");

    const Mode dbl = Mode::imDoubleClick;
    const Mode rup = Mode::imRightClickUp;
    using R = QSystemTrayIcon;
    // The program's own configuration: double-click restores, right-click opens the menu.
    QTest::newRow("embedding host: single click does nothing")
        << dbl << rup << true << QList<Reason> {R::Trigger} << 0 << 0;
    QTest::newRow("embedding host: click then double-click restores once")
        << dbl << rup << true << QList<Reason> {R::Trigger, R::DoubleClick} << 1 << 0;
    QTest::newRow("notifier host: its single activation is the double-click")
        << dbl << rup << false << QList<Reason> {R::Trigger} << 1 << 0;
    QTest::newRow("notifier assumed but double-click follows: restored once")
        << dbl << rup << false << QList<Reason> {R::Trigger, R::DoubleClick} << 1 << 0;
    QTest::newRow("right click opens the menu") << dbl << rup << true << QList<Reason> {R::Context} << 0 << 1;
    QTest::newRow("middle click does nothing")
        << dbl << rup << true << QList<Reason> {R::MiddleClick} << 0 << 0;
    // The embedding host reports each middle press on its own; two in a row are a double-click.
    QTest::newRow("middle double-click restores")
        << dbl << rup << true << QList<Reason> {R::MiddleClick, R::MiddleClick} << 1 << 0;
    QTest::newRow("middle triple click restores once")
        << dbl << rup << true << QList<Reason> {R::MiddleClick, R::MiddleClick, R::MiddleClick} << 1 << 0;
    QTest::newRow("middle then left click: no double-click")
        << dbl << rup << true << QList<Reason> {R::MiddleClick, R::Trigger} << 0 << 0;
    // Other modes of the component.
    QTest::newRow("restore on click")
        << Mode::imClick << Mode::imNone << true << QList<Reason> {R::Trigger} << 1 << 0;
    QTest::newRow("restore on left release")
        << Mode::imLeftClickUp << Mode::imNone << true << QList<Reason> {R::Trigger} << 1 << 0;
    QTest::newRow("restore on any release, right")
        << Mode::imMouseUp << Mode::imNone << true << QList<Reason> {R::Context} << 1 << 0;
    QTest::newRow("restore on any release, middle")
        << Mode::imMouseUp << Mode::imNone << true << QList<Reason> {R::MiddleClick} << 1 << 0;
    QTest::newRow("menu on left double-click") << Mode::imNone << Mode::imLeftDoubleClick << true
                                               << QList<Reason> {R::Trigger, R::DoubleClick} << 0 << 1;
    QTest::newRow("menu on click") << Mode::imNone << Mode::imClick << true << QList<Reason> {R::Trigger} << 0
                                   << 1;
    QTest::newRow("none: nothing at all") << Mode::imNone << Mode::imNone << true
                                          << QList<Reason> {R::Trigger, R::DoubleClick, R::Context} << 0 << 0;
}

void TestTrayIcon::activations_restoreAndMenuAsConfigured()
{
    QFETCH(Mode, restoreOn);
    QFETCH(Mode, menuOn);
    QFETCH(bool, hostReportsDoubleClick);
    QFETCH(QList<Reason>, reasons);
    QFETCH(int, restores);
    QFETCH(int, menus);

    QWidget window;
    QMenu menu;
    menu.addAction(QStringLiteral("Выход"));
    TTrayIcon tray;
    tray.SetWindow(&window);
    tray.SetPopupMenu(&menu);
    tray.SetRestoreOn(restoreOn);
    tray.SetPopupMenuOn(menuOn);
    tray.SetHostReportsDoubleClick(hostReportsDoubleClick);
    QSignalSpy restored(&tray, &TTrayIcon::OnRestore);
    QSignalSpy menuShown(&tray, &TTrayIcon::MenuRequested);

    for (Reason reason : reasons)
        tray.HandleActivation(reason);

    QCOMPARE(restored.count(), restores);
    QCOMPARE(menuShown.count(), menus);
    QCOMPARE(window.isVisible(), restores > 0);
    menu.hide();
}

void TestTrayIcon::hostLearnedToReportDoubleClick_laterSingleClickDoesNothing()
{
    QWidget window;
    TTrayIcon tray;
    tray.SetWindow(&window);
    tray.SetHostReportsDoubleClick(false);
    QSignalSpy restored(&tray, &TTrayIcon::OnRestore);

    tray.HandleActivation(QSystemTrayIcon::Trigger);
    tray.HandleActivation(QSystemTrayIcon::DoubleClick);
    QCOMPARE(tray.HostReportsDoubleClick(), true);
    tray.HandleActivation(QSystemTrayIcon::Trigger);

    QCOMPARE(restored.count(), 1);
}

void TestTrayIcon::hint_takenOnlyWhenNewAndShorterThan64_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expected");

    QTest::newRow("new hint") << Msg::HintNoActiveTasks << Msg::HintActiveTasks << Msg::HintActiveTasks;
    QTest::newRow("63 characters taken")
        << Msg::HintNoActiveTasks << QString(63, QLatin1Char('x')) << QString(63, QLatin1Char('x'));
    QTest::newRow("64 characters ignored")
        << Msg::HintNoActiveTasks << QString(64, QLatin1Char('x')) << Msg::HintNoActiveTasks;
    QTest::newRow("empty clears") << Msg::HintActiveTasks << QString() << QString();
}

void TestTrayIcon::hint_takenOnlyWhenNewAndShorterThan64()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, expected);

    TTrayIcon tray;
    tray.SetHint(first);
    tray.SetHint(second);

    QCOMPARE(tray.Hint(), expected);
}

void TestTrayIcon::iconIndex_takesImageOfTheList()
{
    TTrayIcon tray;
    tray.SetIcons({SolidIcon(Qt::red), SolidIcon(Qt::green), SolidIcon(Qt::blue)});

    tray.SetIconIndex(2);

    QCOMPARE(tray.IconIndex(), 2);
    QCOMPARE(CentreOf(tray.CurrentIcon()), QColor(Qt::blue).rgb());
}

void TestTrayIcon::animate_cyclesThroughImagesBackToFirst()
{
    TTrayIcon tray;
    tray.SetIcons({SolidIcon(Qt::red), SolidIcon(Qt::green), SolidIcon(Qt::blue)});
    QCOMPARE(tray.AnimateInterval(), 1000);
    tray.SetAnimateInterval(10);
    tray.SetIconIndex(1);

    tray.SetAnimate(true);

    QTRY_COMPARE(tray.IconIndex(), 2);
    QTRY_COMPARE(tray.IconIndex(), 0);
    QCOMPARE(CentreOf(tray.CurrentIcon()), QColor(Qt::red).rgb());
    tray.SetAnimate(false);
}

void TestTrayIcon::animate_withoutImages_staysOff()
{
    TTrayIcon tray;
    tray.SetAnimate(true);
    QCOMPARE(tray.Animate(), false);
}

void TestTrayIcon::setVisible_withoutNotificationArea_raisesAndKeepsWindowReachable()
{
    QWidget window;
    window.show();
    TTrayIcon tray;
    tray.SetWindow(&window);
    tray.SetAvailabilityProbe([] { return false; });

    QString error;
    try {
        tray.SetVisible(true);
    } catch (const ZarvoError &e) {
        error = e.text();
    }

    QCOMPARE(error, Msg::TrayCannotCreate);
    QCOMPARE(tray.Visible(), true);
    QCOMPARE(tray.IsShown(), false);
    // With nowhere to hide, minimizing keeps the window and its taskbar entry.
    tray.Minimize();
    QCOMPARE(window.isVisible(), true);
    QCOMPARE(window.isMinimized(), true);
}

void TestTrayIcon::minimizeAndRestore_withNotificationArea_hideAndShowTheWindow()
{
    QWidget window;
    window.show();
    TTrayIcon tray;
    tray.SetWindow(&window);
    tray.SetAvailabilityProbe([] { return true; });
    tray.SetVisible(true);
    QSignalSpy minimized(&tray, &TTrayIcon::OnMinimize);

    tray.Minimize();
    QCOMPARE(window.isVisible(), false);
    QCOMPARE(minimized.count(), 1);

    tray.Restore();
    QCOMPARE(window.isVisible(), true);
    QCOMPARE(window.isMinimized(), false);

    tray.EndSession();
    QCOMPARE(tray.IsShown(), false);
}

void TestTrayIcon::hostLeaves_whileHidden_windowComesBack_hostReturns_iconToo()
{
    QWidget window; // never shown: the program started hidden in the icon
    TTrayIcon tray;
    tray.SetWindow(&window);
    bool available = true;
    tray.SetAvailabilityProbe([&available] { return available; });
    tray.SetVisible(true);
    tray.Minimize();
    QCOMPARE(window.isVisible(), false);

    available = false;
    tray.HostChanged();
    QCOMPARE(tray.IsShown(), false);
    QCOMPARE(window.isVisible(), true);
    // Nowhere to hide now: minimizing keeps the window reachable.
    tray.Minimize();
    QCOMPARE(window.isVisible(), true);
    tray.HostChanged(); // still none: nothing more happens
    QCOMPARE(window.isVisible(), true);

    available = true;
    tray.HostChanged();
    QCOMPARE(tray.IsShown(), true);
    tray.Restore();
    tray.Minimize();
    QCOMPARE(window.isVisible(), false);

    // A shown window stays as it is when the area goes; after the session's end nothing returns.
    tray.Restore();
    available = false;
    tray.HostChanged();
    QCOMPARE(window.isVisible(), true);
    tray.EndSession();
    available = true;
    tray.HostChanged();
    QCOMPARE(tray.IsShown(), false);
}

ZARVO_TEST_MAIN(TestTrayIcon)
#include "test_trayicon.moc"
