#include "support/TestMain.h"
#include "Context.h"
#include "Errors.h"
#include "Messages.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "Tasklist.h"

#include <QtTest>

using Control = TaskListView::Control;

using namespace Qt::StringLiterals;

namespace {

const QString T = QStringLiteral("true");
const QString F = QStringLiteral("false");
const QString FM = QStringLiteral("falseM");

} // namespace

class TaskListTest : public QObject {
    Q_OBJECT

private slots:
    void displayText_data()
    {
        QTest::addColumn<TaskFields>("task");
        QTest::addColumn<int>("simvCount");
        QTest::addColumn<QString>("text");

        const QString letters = QStringLiteral("abcdefghijklmnopqrst ");
        QTest::newRow("one-shot shutdown") << makeTask("2", "9:05:00", u"5 января 2004"_s) << 15
                                           << u"2Выключить компьютер [9:05:00] <5 января 2004>"_s;
        QTest::newRow("every-day reminder without message")
            << makeTask("1", "7:30:00", "NULL") << 15 << u"1Напомнить о чем-то...  [7:30:00] <кажд. день>"_s;
        QTest::newRow("reminder cut to 15 characters") << makeTask("1", "7:30:00", "NULL",
            letters) << 15 << u"1Напомнить о ''abcdefghijklmno...''  [7:30:00] <кажд. день>"_s;
        QTest::newRow("reminder shorter than 25 keeps its blank") << makeTask("1", "7:30:00", "NULL",
            letters) << 25 << u"1Напомнить о ''abcdefghijklmnopqrst ...''  [7:30:00] <кажд. день>"_s;
        QTest::newRow("reminder of exactly N characters is cut to N") << makeTask("1", "7:30:00", "NULL",
            letters) << 21 << u"1Напомнить о ''abcdefghijklmnopqrst ...''  [7:30:00] <кажд. день>"_s;
        QTest::newRow("reminder one longer than N loses its blank") << makeTask("1", "7:30:00", "NULL",
            letters) << 20 << u"1Напомнить о ''abcdefghijklmnopqrst...''  [7:30:00] <кажд. день>"_s;
        QTest::newRow("reminder with an empty message") << makeTask("1", "0:00:00", u"1 мая 2005"_s, "") << 15
                                                        << u"1Напомнить о ''...''  [0:00:00] <1 мая 2005>"_s;
        QTest::newRow("simv_count zero shows no piece") << makeTask("1", "0:00:00", "NULL", "abc ") << 0
                                                        << u"1Напомнить о ''...''  [0:00:00] <кажд. день>"_s;
        QTest::newRow("reboot") << makeTask("3", "23:59:07", "NULL") << 15
                                << u"3Перезагрузить компьютер [23:59:07] <кажд. день>"_s;
        QTest::newRow("log off") << makeTask("4", "1:00:00", u"31 декабря 2099"_s) << 15
                                 << u"4Завершить сеанс пользователя [1:00:00] <31 декабря 2099>"_s;
        QTest::newRow("screen saver")
            << makeTask("5", "12:00:00", "NULL") << 15 << u"5Запустить скринсейвер [12:00:00] <кажд. день>"_s;
        QTest::newRow("run program, windows path") << makeTask("6", "12:00:00", u"1 мая 2005"_s, "NULL",
            "C:\\Tools\\x.exe") << 15 << u"6Запустить: x.exe [12:00:00] <1 мая 2005>"_s;
        QTest::newRow("run program, linux path") << makeTask("6", "12:00:00", "NULL", "NULL",
            "/usr/bin/gedit") << 15 << u"6Запустить: gedit [12:00:00] <кажд. день>"_s;
        QTest::newRow("run program without folder") << makeTask("6", "12:00:00", "NULL", "NULL",
            "notes.txt") << 15 << u"6Запустить: notes.txt [12:00:00] <кажд. день>"_s;
        QTest::newRow("birthday keeps the blank of its date") << makeTask("7", "NULL", u"5 января "_s, "NULL",
            u"Иван"_s) << 15 << u"7У Иван будет день рождения <5 января >"_s;
        QTest::newRow("birthday message does not show") << makeTask("7", "NULL", u"29 февраля "_s,
            u"С праздником "_s, u"Анна"_s) << 0 << u"7У Анна будет день рождения <29 февраля >"_s;
        QTest::newRow("unknown type has an empty caption")
            << makeTask("9", "9:05:00", "NULL") << 15 << u"9 [9:05:00] <кажд. день>"_s;
        QTest::newRow("type with a leading blank shows the number")
            << makeTask(" 2", "9:05:00", "NULL") << 15 << u"2Выключить компьютер [9:05:00] <кажд. день>"_s;
        QTest::newRow("time and date both NULL read as a birthday")
            << makeTask("5", "NULL", "NULL") << 15 << u"5Запустить скринсейвер <NULL>"_s;
    }
    void displayText()
    {
        QFETCH(TaskFields, task);
        QFETCH(int, simvCount);
        QFETCH(QString, text);
        CoreFixture f;
        f.settings.set(QStringLiteral("Settings"), QStringLiteral("simv_count"), simvCount);
        f.writeTasks({task});
        RebuildTaskList(f.ctx);
        QCOMPARE(f.view.texts(), QStringList {text});
    }

    void rebuild_ticksActiveRowsAndTablesThemInFileOrder()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", u"5 января 2004"_s, "NULL", "NULL", T),
                         makeTask("5", "10:00:00", "NULL", "NULL", "NULL", F),
                         makeTask("7", "NULL", u"3 марта "_s, "NULL", u"Ира"_s, FM),
                         makeTask("4", "11:00:00", "NULL", "NULL", "NULL", T)},
            {"%>>", "1", "8:00:00", "NULL", "NULL", "NULL"}); // an incomplete block
        f.view.AppendRow(QStringLiteral("stale row"), true);
        f.view.selected = 0;
        RebuildTaskList(f.ctx);
        QCOMPARE(f.view.RowCount(), 4);
        QCOMPARE(f.view.ticks(), (QList<bool> {true, false, false, true}));
        // Each entry points at its task, not at "the i-th ticked row".
        QCOMPARE(f.ctx.activeTasks,
            (ActiveTaskTable {{"9:05:00", u"5 января 2004"_s, 0}, {"11:00:00", "NULL", 3}}));
        QCOMPARE(f.view.selected, -1);
        QCOMPARE(f.view.isEnabled(Control::Change), false);
        QCOMPARE(f.view.isEnabled(Control::Delete), false);
        QCOMPARE(f.view.isEnabled(Control::Clear), true);
    }

    void rebuild_missingFileGivesEmptyListAndZeroByteFile()
    {
        CoreFixture f;
        f.ctx.activeTasks = {{"9:05:00", "NULL"}};
        RebuildTaskList(f.ctx);
        QCOMPARE(f.view.RowCount(), 0);
        QCOMPARE(f.ctx.activeTasks.size(), 0);
        QCOMPARE(readBytes(f.ctx.taskFilePath), QByteArray());
        QCOMPARE(f.view.ringVisible, false);
        QCOMPARE(f.view.hintAtLastRefresh, Msg::HintNoActiveTasks);
        for (Control c : {Control::Change, Control::Delete, Control::Clear, Control::AllTasks})
            QCOMPARE(f.view.isEnabled(c), false);
    }

    void rebuild_failures_data()
    {
        QTest::addColumn<QString>("badType");
        QTest::addColumn<bool>("simvCountSet");
        QTest::addColumn<QString>("error");
        QTest::newRow("type is not a number") << "x" << true << "'x' is not a valid integer value";
        QTest::newRow("empty type") << "" << true << "'' is not a valid integer value";
        QTest::newRow("simv_count missing") << "1" << false << "Failed to get data for 'simv_count'";
    }
    // A block that cannot be read is one row that never fires; every other row is built. The
    // error is said once, naming the file and the block's first line, not at every rebuild.
    void rebuild_failures()
    {
        QFETCH(QString, badType);
        QFETCH(bool, simvCountSet);
        QFETCH(QString, error);
        CoreFixture f;
        if (!simvCountSet)
            f.settings.keys.clear();
        f.writeTasks({makeTask("1", "9:00:00", "NULL"), // a reminder without message needs no setting
            makeTask(badType, "9:05:00", "NULL", "abc "), makeTask("2", "9:10:00", "NULL")});
        const QByteArray bytes = readBytes(f.ctx.taskFilePath);
        RebuildTaskList(f.ctx);
        RebuildTaskList(f.ctx);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.at(0).startsWith(error), qPrintable(f.messages.shown.at(0)));
        const QString second = simvCountSet ? u"?Задание не читается (строка 8)"_s
                                            : u"1Напомнить о ''abc ...''  [9:05:00] <кажд. день>"_s;
        if (simvCountSet) {
            QVERIFY(f.messages.shown.at(0).contains(f.ctx.taskFilePath));
            QVERIFY(f.messages.shown.at(0).contains(u"со строки 8"_s));
        }
        QCOMPARE(f.view.texts(), (QStringList {u"1Напомнить о чем-то...  [9:00:00] <кажд. день>"_s, second,
                                     u"2Выключить компьютер [9:10:00] <кажд. день>"_s}));
        if (simvCountSet)
            QCOMPARE(f.ctx.activeTasks, (ActiveTaskTable {{"9:00:00", "NULL", 0}, {"9:10:00", "NULL", 2}}));
        QCOMPARE(readBytes(f.ctx.taskFilePath), bytes);
    }

    void updateActiveState_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("active");
        QTest::addColumn<bool>("timeLabelVisible");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("ring");
        QTest::addColumn<QString>("hint");
        QTest::newRow("no rows") << 0 << 0 << true << -1 << false << Msg::HintNoActiveTasks;
        QTest::newRow("rows, none active") << 2 << 0 << true << 1 << false << Msg::HintNoActiveTasks;
        QTest::newRow("active, clock shown") << 2 << 1 << true << -1 << true << Msg::HintActiveTasks;
        QTest::newRow("active, clock still hidden") << 2 << 2 << false << 0 << false << Msg::HintActiveTasks;
    }
    void updateActiveState()
    {
        QFETCH(int, rows);
        QFETCH(int, active);
        QFETCH(bool, timeLabelVisible);
        QFETCH(int, selected);
        QFETCH(bool, ring);
        QFETCH(QString, hint);
        CoreFixture f;
        f.view.ringVisible = !ring;
        f.view.timeLabelVisible = timeLabelVisible;
        for (int i = 0; i < rows; ++i)
            f.view.AppendRow(QStringLiteral("row"), i < active);
        for (int i = 0; i < active; ++i)
            f.ctx.activeTasks.append(ActiveTaskEntry {"9:05:00", "NULL"});
        f.view.selected = selected;
        UpdateActiveState(f.ctx);
        QCOMPARE(f.view.ringVisible, ring);
        QCOMPARE(f.view.hintAtLastRefresh, hint);
        QCOMPARE(f.view.trayRefreshes, 1);
        QCOMPARE(f.view.isEnabled(Control::Clear), rows > 0);
        QCOMPARE(f.view.isEnabled(Control::AllTasks), rows > 0);
        QCOMPARE(f.view.isEnabled(Control::Change), selected >= 0);
        QCOMPARE(f.view.isEnabled(Control::Delete), selected >= 0);
    }

    // Every unticked row is written "false", whatever it was, a fired task included.
    void storeTickStates_writesEveryRow()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL", "NULL", "NULL", T),
            makeTask("3", "9:06:00", "NULL", "NULL", "NULL", FM),
            makeTask("4", "9:07:00", "NULL", "NULL", "NULL", F),
            makeTask("5", "9:08:00", "NULL", "NULL", "NULL", T)});
        RebuildTaskList(f.ctx);
        SetTaskTicked(f.ctx, 0, false);
        SetTaskTicked(f.ctx, 2, true);
        f.view.rows[1].checked = true; // a tick on the screen alone is not the user's word
        StoreTickStates(f.ctx);
        QCOMPARE(f.fileStates(), (QStringList {F, F, T, T}));
        QCOMPARE(f.view.ticks(), (QList<bool> {false, false, true, true}));
        QCOMPARE(f.ctx.activeTasks, (ActiveTaskTable {{"9:07:00", "NULL", 2}, {"9:08:00", "NULL", 3}}));
    }

    void markTaskFired_setsFalseMAndDropsTheEntry()
    {
        CoreFixture f;
        f.writeTasks(
            {makeTask("2", "9:05:00", "NULL"), makeTask("7", "NULL", u"5 января "_s, "NULL", u"Иван"_s)});
        RebuildTaskList(f.ctx);
        MarkTaskFired(f.ctx, 1);
        QCOMPARE(f.fileStates(), (QStringList {T, FM}));
        QCOMPARE(f.view.ticks(), (QList<bool> {true, false}));
        QCOMPARE(f.ctx.activeTasks, (ActiveTaskTable {{"9:05:00", "NULL", 0}}));
    }

    void deleteTask_onlyTaskLeavesZeroByteFile()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", u"5 января 2004"_s)});
        RebuildTaskList(f.ctx);
        f.view.selected = 0;
        DeleteTask(f.ctx, 0);
        QCOMPARE(f.view.RowCount(), 0);
        RebuildTaskList(f.ctx);
        QCOMPARE(readBytes(f.ctx.taskFilePath), QByteArray());
        QCOMPARE(f.view.RowCount(), 0);
        QCOMPARE(f.messages.shown, QStringList());
    }

    // The rows after it keep their ticks and texts; the table follows the tasks to their places.
    void deleteTask_removesTheRowAndBlockButDoesNotRebuild()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL"), makeTask("3", "9:06:00", "NULL"),
                         makeTask("4", "9:07:00", "NULL")},
            {"left over"});
        RebuildTaskList(f.ctx);
        const int rebuilds = f.ctx.tasks.rebuilds;
        DeleteTask(f.ctx, 1);
        QCOMPARE(f.fileLines(),
            (QStringList {"%>>", "2", "9:05:00", "NULL", "NULL", "NULL", T, "%>>", "4", "9:07:00", "NULL",
                "NULL", "NULL", T, "left over"}));
        QCOMPARE(f.view.RowCount(), 2);
        QCOMPARE(f.view.RowText(1), QStringLiteral("4Завершить сеанс пользователя [9:07:00] <кажд. день>"));
        QCOMPARE(f.ctx.activeTasks, (ActiveTaskTable {{"9:05:00", "NULL", 0}, {"9:07:00", "NULL", 1}}));
        QCOMPARE(f.ctx.tasks.rebuilds, rebuilds);
    }

    void deleteTask_noSelectionDoesNothing()
    {
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL")});
        RebuildTaskList(f.ctx);
        const QByteArray bytes = readBytes(f.ctx.taskFilePath);
        DeleteTask(f.ctx, -1);
        QCOMPARE(readBytes(f.ctx.taskFilePath), bytes);
        QCOMPARE(f.view.RowCount(), 1);
        QCOMPARE(f.messages.shown, QStringList());
    }

    // A failure is reported with "тут!". A task that someone else removed from the file is gone
    // already: nothing is said, and the list shows the file.
    void deleteTask_failures_data()
    {
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("rowsLeft");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("no such row") << 5 << 2 << QStringList {Msg::DeleteFailed};
        QTest::newRow("block gone from the file") << 1 << 1 << QStringList();
    }
    void deleteTask_failures()
    {
        QFETCH(int, task);
        QFETCH(int, rowsLeft);
        QFETCH(QStringList, shown);
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL"), makeTask("3", "9:06:00", "NULL")});
        RebuildTaskList(f.ctx);
        f.writeTasks({makeTask("2", "9:05:00", "NULL")}); // the file shrank behind the list
        const QByteArray bytes = readBytes(f.ctx.taskFilePath);
        DeleteTask(f.ctx, task);
        QCOMPARE(f.messages.shown, shown);
        QCOMPARE(f.view.RowCount(), rowsLeft);
        QCOMPARE(readBytes(f.ctx.taskFilePath), bytes);
    }

    void clearAllTasks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void clearAllTasks()
    {
        QFETCH(bool, yes);
        CoreFixture f;
        f.writeTasks({makeTask("2", "9:05:00", "NULL"), makeTask("3", "9:06:00", "NULL")}, {"tail"});
        RebuildTaskList(f.ctx);
        const QByteArray bytes = readBytes(f.ctx.taskFilePath);
        f.messages.answerYes = yes;
        ClearAllTasks(f.ctx);
        QCOMPARE(f.messages.questions, QStringList {Msg::ClearQuestionCaption + "|" + Msg::ClearQuestion});
        if (yes) {
            QCOMPARE(readBytes(f.ctx.taskFilePath), QByteArray());
            QCOMPARE(f.view.RowCount(), 0);
            QCOMPARE(f.ctx.activeTasks.size(), 0);
            QCOMPARE(f.view.isEnabled(Control::Clear), false);
            QCOMPARE(f.view.hintAtLastRefresh, Msg::HintNoActiveTasks);
        } else {
            QCOMPARE(readBytes(f.ctx.taskFilePath), bytes);
            QCOMPARE(f.view.RowCount(), 2);
            QCOMPARE(f.ctx.activeTasks.size(), 2);
        }
    }
};

ZARVO_TEST_GUILESS_MAIN(TaskListTest)
#include "test_tasklist.moc"
