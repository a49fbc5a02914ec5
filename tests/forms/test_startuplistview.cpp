#include "Startuplistview.h"
#include "support/FakeTaskListView.h"
#include "support/TestMain.h"

#include <QTest>

using Control = TaskListView::Control;

class TestStartupListView : public QObject {
    Q_OBJECT

private slots:
    void whatTheStartSets_reachesTheWindowWhole();
    void trayCalls_goToTheWindowAtOnce();
    void beforeTheControls_noRowIsSelectedAndTheClockIsHidden();
};

void TestStartupListView::whatTheStartSets_reachesTheWindowWhole()
{
    FakeTaskListView window;
    StartupListView start(window);
    start.AppendRow(QStringLiteral("a stale row"), true);
    start.ClearRows();
    start.AppendRow(QStringLiteral("1abc"), true);
    start.AppendRow(QStringLiteral("2gone"), false);
    start.AppendRow(QStringLiteral("7Анна"), false);
    start.RemoveRow(1);
    QCOMPARE(start.RowCount(), 2);
    QCOMPARE(start.RowText(1), QStringLiteral("7Анна"));
    start.SetRingVisible(true);
    start.SetControlEnabled(Control::Change, false);
    start.SetControlEnabled(Control::Clear, true);
    start.SetControlEnabled(Control::Change, true);
    start.SetClockTexts(
        QStringLiteral("9:05:00"), QStringLiteral("5 января 2004 г."), QStringLiteral("Понедельник"));

    // The list the window may have had is replaced, not added to.
    window.AppendRow(QStringLiteral("1before"), false);
    start.ApplyTo(window);

    QCOMPARE(window.texts(), (QStringList {QStringLiteral("1abc"), QStringLiteral("7Анна")}));
    QCOMPARE(window.IsRowChecked(0), true);
    QCOMPARE(window.IsRowChecked(1), false);
    QCOMPARE(window.ringVisible, true);
    QCOMPARE(window.enabled, (QMap<Control, bool> {{Control::Change, true}, {Control::Clear, true}}));
    QCOMPARE(window.clockTime, QStringLiteral("9:05:00"));
    QCOMPARE(window.clockDate, QStringLiteral("5 января 2004 г."));
    QCOMPARE(window.clockWeekday, QStringLiteral("Понедельник"));
}

void TestStartupListView::trayCalls_goToTheWindowAtOnce()
{
    FakeTaskListView window;
    StartupListView start(window);
    start.SetTrayHint(QStringLiteral("Zarvo - есть активные задачи"));
    start.RefreshTray();

    QCOMPARE(window.hintAtLastRefresh, QStringLiteral("Zarvo - есть активные задачи"));
    QCOMPARE(window.trayRefreshes, 1);

    // Nothing set stays unset on the window: no ring, no control, no clock.
    window.ringVisible = true;
    start.ApplyTo(window);
    QCOMPARE(window.ringVisible, true);
    QVERIFY(window.enabled.isEmpty());
    QCOMPARE(window.clockUpdates, 0);
    QCOMPARE(window.trayRefreshes, 1);
}

void TestStartupListView::beforeTheControls_noRowIsSelectedAndTheClockIsHidden()
{
    FakeTaskListView window;
    window.selected = 0;
    window.AppendRow(QStringLiteral("1abc"), false);
    StartupListView start(window);
    start.AppendRow(QStringLiteral("1abc"), false);

    QCOMPARE(start.SelectedRow(), -1);
    QCOMPARE(start.IsTimeLabelVisible(), false);
}

ZARVO_TEST_GUILESS_MAIN(TestStartupListView)
#include "test_startuplistview.moc"
