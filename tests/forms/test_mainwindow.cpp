#include "Addunit.h"
#include "Cp1251.h"
#include "Endunit.h"
#include "Errors.h"
#include "Mainunit.h"
#include "Messages.h"
#include "Missedunit.h"
#include "Settingsunit.h"
#include "Soundplayer.h"
#include "support/FakeClock.h"
#include "support/FileHelpers.h"
#include "support/MemorySettingsBackend.h"
#include "support/RecordingActions.h"
#include "support/RecordingHelp.h"
#include "support/RecordingMessages.h"
#include "support/RecordingServices.h"
#include "support/SettingsSeeds.h"
#include "support/SimWakeup.h"
#include "support/TestMain.h"
#include "Tasklistdelegate.h"
#include "Trayicon.h"
#include "Wakeuptimer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The moment every window of these tests lives in: Monday, 5 January 2004, 10:00:00.
const QDateTime kStillMoment(QDate(2004, 1, 5), QTime(10, 0));

// One task block; the fields as the task file holds them.
QStringList Block(const QString &type, const QString &time, const QString &date, const QString &message,
    const QString &param, const QString &state)
{
    return {QStringLiteral("%>>"), type, time, date, message, param, state};
}

QByteArray FileBytes(const QList<QStringList> &blocks)
{
    QByteArray bytes;
    for (const QStringList &block : blocks) {
        for (const QString &line : block)
            bytes += *Cp1251::encode(line) + "\r\n";
    }
    return bytes;
}

const QStringList Reminder = Block(QStringLiteral("1"), QStringLiteral("7:30:00"), QStringLiteral("NULL"),
    QStringLiteral("abc "), QStringLiteral("NULL"), QStringLiteral("true"));
const QStringList Shutdown = Block(QStringLiteral("2"), QStringLiteral("9:05:00"),
    QStringLiteral("5 января 2005"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("false"));
const QStringList Birthday = Block(QStringLiteral("7"), QStringLiteral("NULL"), QStringLiteral("6 января "),
    QStringLiteral("NULL"), QStringLiteral("Анна"), QStringLiteral("false"));

// Runs check on the modal dialog that the next action opens, then closes it.
template<typename Check> void OnNextModal(Check check)
{
    QTimer::singleShot(0, [check] {
        QWidget *modal = QApplication::activeModalWidget();
        check(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
}

// A main window over a task file in a temporary folder, with settings as after the first run.
struct Fixture {
    QTemporaryDir dir;
    QString taskFile = dir.filePath(QStringLiteral("ztasks.zct"));
    MemorySettingsBackend settings;
    FakeClock clock {kStillMoment};
    RecordingMessages messages;
    RecordingHelp help;
    RecordingActions actions;
    RecordingSoundPlayer sound;
    SimWakeup wakeup;
    QStringList opened;
    QStringList events;
    bool trayAvailable = true;

    explicit Fixture(const QList<QStringList> &blocks = {})
    {
        writeBytes(taskFile, FileBytes(blocks));
        settings.set(SettingsKeys::Settings, QStringLiteral("simv_count"), 15);
        settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 0);
        settings.set(SettingsKeys::Window, QStringLiteral("top"), 247);
        settings.set(SettingsKeys::Window, QStringLiteral("left"), 213); // on the 800 x 600 offscreen screen
        settings.set(SettingsKeys::Window, QStringLiteral("width"), 551);
        settings.set(SettingsKeys::Window, QStringLiteral("height"), 308);
    }

    MainWindowServices Services()
    {
        MainWindowServices s;
        s.taskFilePath = taskFile;
        s.settings = &settings;
        s.clock = &clock;
        s.wakeup = &wakeup;
        s.actions = &actions;
        s.help = &help;
        s.sound = &sound;
        s.messages = &messages;
        s.openAddress = [this](const QString &address) { opened << address; };
        s.firstRunSetup = [this](TfrmMain &) { events << QStringLiteral("first run"); };
        s.saveWindowGeometry = [this](TfrmMain &w) {
            events << QStringLiteral("save %1,%2 %3x%4").arg(w.x()).arg(w.y()).arg(w.width()).arg(w.height());
        };
        s.trayAvailable = [this] { return trayAvailable; };
        return s;
    }

    QString State(int task) const
    {
        const QStringList lines = Cp1251::decode(readBytes(taskFile)).split(QStringLiteral("\r\n"));
        return lines.value(7 * task + 6);
    }
};

void ReleaseKey(QWidget *widget, Qt::Key key)
{
    widget->setFocus();
    QTest::keyRelease(widget, key);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void missedReport_startAndLateWakeupShareOneWindow_data();
    void missedReport_startAndLateWakeupShareOneWindow();
    void rows_showPictureIndexAndTextOfEachTask_data();
    void rows_showPictureIndexAndTextOfEachTask();
    void emptyFile_disablesEveryTaskControl();
    void trayIcon_showsBeforeAnyControlIsBuilt();
    void errorAfterTheTrayIcon_windowRestoredFromTheTrayMeanwhile_isWhole();
    void selection_enablesChangeAndDelete_rightClickClearsIt();
    void deleteKey_withSelection_removesTheTask_withoutDoesNothing();
    void f1_opensMainHelp_menuLinksGoToTheOpener();
    void insert_bringsAnOpenAddDialogForward();
    void dragWithRightOrMiddle_movesTheWindowUntilThatButtonIsReleased_data();
    void dragWithRightOrMiddle_movesTheWindowUntilThatButtonIsReleased();
    void openDialogs_blockOnlyTheMainWindow_trayAddBringsTheOpenOneForward();
    void addChangeAndSettings_openTheirDialogs();
    void chkAll_writesEveryTickToTheFile();
    void tickingARow_storesItInTheFile();
    void dueTask_firesOnTheDriversWakeUp();
    void resize_snapsToMinimum_andKeepsTitleCentred_data();
    void resize_snapsToMinimum_andKeepsTitleCentred();
    void splash_hidesClockAndBellUntilItEnds();
    void trayHint_followsActiveTasks_data();
    void trayHint_followsActiveTasks();
    void formCreate_errorInAStep_isShownAndSkipsTheRest();
    void autoHide_startsHiddenOnlyWithANotificationArea_data();
    void autoHide_startsHiddenOnlyWithANotificationArea();
    void formShow_appliesStoredGeometryThroughMinimum();
    void close_savesGeometryShowsFarewellAndExits();
    void sessionEnd_exitsWithoutCloseHandler();
    void close_geometryThatCannotBeSaved_isReportedOnceAndStillExits();
    void trayHostLeavesWhileHidden_windowComesBack_iconReturnsWithTheHost();
    void rowPaint_takesDigitAsPictureIndex_data();
    void rowPaint_takesDigitAsPictureIndex();
};

void TestMainWindow::rows_showPictureIndexAndTextOfEachTask_data()
{
    QTest::addColumn<QStringList>("block");
    QTest::addColumn<int>("imageIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");

    QTest::newRow("every-day reminder")
        << Reminder << 0 << QStringLiteral("Напомнить о ''abc ...''  [7:30:00] <кажд. день>") << true;
    QTest::newRow("one-shot shutdown")
        << Shutdown << 1 << QStringLiteral("Выключить компьютер [9:05:00] <5 января 2005>") << false;
    QTest::newRow("birthday") << Birthday << 6 << QStringLiteral("У Анна будет день рождения <6 января >")
                              << false;
}

void TestMainWindow::rows_showPictureIndexAndTextOfEachTask()
{
    QFETCH(QStringList, block);
    QFETCH(int, imageIndex);
    QFETCH(QString, text);
    QFETCH(bool, checked);

    Fixture f({Shutdown, block});
    TfrmMain w(f.Services());

    QCOMPARE(w.cklTaskList->count(), 2);
    const TaskRowPaint paint = TaskRowPaintFor(w.cklTaskList->item(1)->text());
    QCOMPARE(paint.imageIndex, imageIndex);
    QCOMPARE(paint.text, text);
    QCOMPARE(w.cklTaskList->item(1)->checkState() == Qt::Checked, checked);
    QCOMPARE(w.cklTaskList->sizeHintForRow(1), TaskListDelegate::ItemHeight);
}

void TestMainWindow::emptyFile_disablesEveryTaskControl()
{
    Fixture f;
    TfrmMain w(f.Services());

    QCOMPARE(w.cklTaskList->count(), 0);
    QCOMPARE(w.btnClear->isEnabled(), false);
    QCOMPARE(w.chkAll->isEnabled(), false);
    QCOMPARE(w.btnChange->isEnabled(), false);
    QCOMPARE(w.btnDelete->isEnabled(), false);
    QCOMPARE(w.btnAdd->isEnabled(), true);
}

void TestMainWindow::trayIcon_showsBeforeAnyControlIsBuilt()
{
    // The first text a control gets starts Qt's accessibility bridge, calls on the session bus
    // that must not stand between the start and the tray icon.
    Fixture f({Reminder, Shutdown});
    MainWindowServices services = f.Services();
    const QWidgetList before = QApplication::topLevelWidgets();
    int controlsWhenTheIconShows = -1;
    services.trayAvailable = [&] {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!before.contains(window) && window->objectName() == QLatin1String("frmMain"))
                controlsWhenTheIconShows = int(window->findChildren<QWidget *>().size());
        }
        return true;
    };

    TfrmMain w(std::move(services));

    QCOMPARE(controlsWhenTheIconShows, 0);
    QCOMPARE(w.TrayComp1->Visible(), true);
    // What the start put into the list before is all there once the controls are.
    QCOMPARE(w.cklTaskList->count(), 2);
    QCOMPARE(w.cklTaskList->item(0)->checkState(), Qt::Checked);
    QCOMPARE(w.btnClear->isEnabled(), true);
    QCOMPARE(w.chkAll->isEnabled(), true);
    QCOMPARE(w.TrayComp1->Hint(), Msg::HintActiveTasks);
}

void TestMainWindow::errorAfterTheTrayIcon_windowRestoredFromTheTrayMeanwhile_isWhole()
{
    // A damaged auto_hide is reported once the tray icon is there; while the box is open, the
    // icon still takes clicks and can bring the window up.
    Fixture f({Reminder, Shutdown});
    f.settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), QStringLiteral("yes"));
    const QWidgetList before = QApplication::topLevelWidgets();
    int rowsWhileOpen = -1;
    f.messages.whileOpen = [&](const QString &) {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (before.contains(window) || window->objectName() != QLatin1String("frmMain"))
                continue;
            window->findChild<TTrayIcon *>()->Restore();
            rowsWhileOpen = window->findChild<QListWidget *>()->count();
        }
    };

    TfrmMain w(f.Services());

    QCOMPARE(f.messages.shown.size(), 1);
    QCOMPARE(rowsWhileOpen, 2);
    QCOMPARE(w.isVisible(), true);
    QCOMPARE(w.cklTaskList->count(), 2);
    QCOMPARE(w.btnClear->isEnabled(), true);
}

void TestMainWindow::selection_enablesChangeAndDelete_rightClickClearsIt()
{
    Fixture f({Reminder, Shutdown});
    TfrmMain w(f.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.btnDelete->isEnabled(), false);

    const QRect row1 = w.cklTaskList->visualItemRect(w.cklTaskList->item(1));
    QTest::mouseClick(w.cklTaskList->viewport(), Qt::LeftButton, {}, row1.center() + QPoint(40, 0));
    QCOMPARE(w.SelectedRow(), 1);
    QTRY_COMPARE(w.btnChange->isEnabled(), true);
    QCOMPARE(w.btnDelete->isEnabled(), true);

    QTest::mouseClick(w.cklTaskList->viewport(), Qt::RightButton, {}, row1.center() + QPoint(40, 0));
    QTRY_COMPARE(w.SelectedRow(), -1);
    QCOMPARE(w.btnChange->isEnabled(), false);
    QCOMPARE(w.btnDelete->isEnabled(), false);
}

void TestMainWindow::deleteKey_withSelection_removesTheTask_withoutDoesNothing()
{
    Fixture f({Reminder, Shutdown});
    TfrmMain w(f.Services());
    w.show();
    const QByteArray before = readBytes(f.taskFile);

    ReleaseKey(w.cklTaskList, Qt::Key_Delete);
    QCOMPARE(readBytes(f.taskFile), before);
    QCOMPARE(w.cklTaskList->count(), 2);

    w.cklTaskList->setCurrentRow(0);
    ReleaseKey(w.cklTaskList, Qt::Key_Delete);
    QCOMPARE(readBytes(f.taskFile), FileBytes({Shutdown}));
    QCOMPARE(w.cklTaskList->count(), 1);
    QCOMPARE(w.SelectedRow(), -1);
}

void TestMainWindow::f1_opensMainHelp_menuLinksGoToTheOpener()
{
    Fixture f;
    TfrmMain w(f.Services());
    w.show();

    ReleaseKey(w.btnAdd, Qt::Key_F1);
    QCOMPARE(f.help.topics, QStringList {Msg::HelpMain});

    w.mnuTrayHelp->trigger();
    w.mnuSendLetter->trigger();
    w.mnuTrayHomePage->trigger();
    QCOMPARE(f.help.topics, (QStringList {Msg::HelpMain, Msg::HelpMain}));
    QCOMPARE(f.opened, (QStringList {Msg::MailLink, Msg::HomePage}));
}

// Records whether Qt blocked a window because a modal one is open.
class BlockWatch : public QObject {
public:
    bool blocked = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowBlocked)
            blocked = true;
        else if (event->type() == QEvent::WindowUnblocked)
            blocked = false;
        return false;
    }
};

// While a dialog or one of its boxes is open, the main window takes no input, but other windows
// of the program do: the tray icon's (stood in for by a plain window) must keep its clicks, so
// that its menu can bring the open dialog forward.
void TestMainWindow::openDialogs_blockOnlyTheMainWindow_trayAddBringsTheOpenOneForward()
{
    Fixture f;
    SeedSettingsAfterFirstRun(f.settings);
    TfrmMain w(f.Services());
    w.show();
    QWidget trayStandIn;
    trayStandIn.show();
    BlockWatch mainWatch;
    BlockWatch trayWatch;
    w.installEventFilter(&mainWatch);
    trayStandIn.installEventFilter(&trayWatch);

    struct Seen {
        QString dialog;
        bool mainBlocked = false;
        bool trayBlocked = true;
        int addDialogs = 0;
    };
    QList<Seen> seen;
    const auto look = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        Seen now;
        now.dialog = modal ? modal->objectName() : QString();
        now.mainBlocked = mainWatch.blocked;
        now.trayBlocked = trayWatch.blocked;
        seen << now;
        return modal;
    };
    QTimer::singleShot(0, [&] {
        QWidget *dialog = look();
        // "Добавить задание..." of the tray menu: the open dialog comes forward, no second one.
        w.mnuTrayAdd->trigger();
        const QWidgetList tops = QApplication::topLevelWidgets();
        seen.last().addDialogs = int(std::count_if(
            tops.cbegin(), tops.cend(), [](QWidget *top) { return qobject_cast<TfrmAdd *>(top); }));
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        // A box of the dialog blocks the dialog, and still not the tray.
        QTimer::singleShot(0, [&] {
            look();
            if (auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                box->accept();
        });
        w.ShowMessage(QStringLiteral("проверка"));
        qobject_cast<QDialog *>(dialog)->reject();
    });
    w.btnAddClick();

    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0).dialog, QStringLiteral("frmAdd"));
    QCOMPARE(seen.at(0).mainBlocked, true);
    QCOMPARE(seen.at(0).trayBlocked, false);
    QCOMPARE(seen.at(0).addDialogs, 1);
    QCOMPARE(seen.at(1).trayBlocked, false);
    QCOMPARE(seen.at(1).mainBlocked, true);
}

void TestMainWindow::dragWithRightOrMiddle_movesTheWindowUntilThatButtonIsReleased_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestMainWindow::dragWithRightOrMiddle_movesTheWindowUntilThatButtonIsReleased()
{
    QFETCH(Qt::MouseButton, button);
    Fixture f;
    TfrmMain w(f.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint start = w.frameGeometry().topLeft();
    const QPoint free(350, 262); // the window's own surface, between the bottom buttons
    QVERIFY(w.childAt(free) == nullptr);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton which, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), which, held, Qt::NoModifier);
        QApplication::sendEvent(&w, &event);
    };

    send(QEvent::MouseButtonPress, free, button, button);
    send(QEvent::MouseMove, free + QPoint(30, 20), Qt::NoButton, button);
    QTRY_COMPARE(w.frameGeometry().topLeft(), start + QPoint(30, 20));
    send(QEvent::MouseButtonRelease, free + QPoint(30, 20) - QPoint(30, 20), button, Qt::NoButton);
    const QPoint dropped = w.frameGeometry().topLeft();
    send(QEvent::MouseMove, free + QPoint(80, 60), Qt::NoButton, Qt::NoButton);
    QTest::qWait(20);

    QCOMPARE(w.frameGeometry().topLeft(), dropped);
}

void TestMainWindow::insert_bringsAnOpenAddDialogForward()
{
    Fixture f;
    TfrmMain w(f.Services());
    w.show();
    QWidget dialog;
    w.AddFormOpen = true;
    w.frmAdd = &dialog;

    ReleaseKey(w.cklTaskList, Qt::Key_Insert);
    QCOMPARE(dialog.isVisible(), true);

    // Change does nothing while the add dialog is open, and without a selection.
    dialog.hide();
    w.btnChangeClick();
    QCOMPARE(dialog.isVisible(), false);
}

void TestMainWindow::addChangeAndSettings_openTheirDialogs()
{
    Fixture f({Reminder, Shutdown});
    const QStringList booleans {"auto_run", "chk_sound", "chk_mes"};
    for (const QString &name : booleans)
        f.settings.set(SettingsKeys::Settings, name, 0);
    const QStringList texts {"pl_h", "pl_m", "pl_s"};
    for (const QString &name : texts)
        f.settings.set(SettingsKeys::Settings, name, QStringLiteral("00"));
    TfrmMain w(f.Services());
    w.show();

    bool addOpen = false;
    bool addMode = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmAdd *>(modal);
        addOpen = dialog && w.AddFormOpen && w.frmAdd == dialog;
        addMode = dialog && dialog->AddMode();
    });
    ReleaseKey(w.cklTaskList, Qt::Key_Insert);
    QCOMPARE(addOpen, true);
    QCOMPARE(addMode, true);
    QTRY_COMPARE(w.AddFormOpen, false);

    w.cklTaskList->setCurrentRow(1);
    bool changeMode = false;
    OnNextModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<TfrmAdd *>(modal);
        changeMode = dialog && !dialog->AddMode();
    });
    w.btnChangeClick();
    QCOMPARE(changeMode, true);
    QTRY_COMPARE(w.AddFormOpen, false);

    bool settingsOpen = false;
    OnNextModal(
        [&](QWidget *modal) { settingsOpen = qobject_cast<TfrmSettings *>(modal) && w.SettingsFormOpen; });
    w.btnSettings->click();
    QCOMPARE(settingsOpen, true);
    QTRY_COMPARE(w.SettingsFormOpen, false);
    // Cancelled dialogs write nothing.
    QCOMPARE(readBytes(f.taskFile), FileBytes({Reminder, Shutdown}));
}

void TestMainWindow::chkAll_writesEveryTickToTheFile()
{
    Fixture f({Reminder, Shutdown, Birthday});
    TfrmMain w(f.Services());
    w.show();

    QTest::mouseClick(w.chkAll, Qt::LeftButton);
    QCOMPARE(w.chkAll->isChecked(), true);
    QCOMPARE((QStringList {f.State(0), f.State(1), f.State(2)}),
        (QStringList {QStringLiteral("true"), QStringLiteral("true"), QStringLiteral("true")}));

    QTest::mouseClick(w.chkAll, Qt::LeftButton);
    QCOMPARE((QStringList {f.State(0), f.State(1), f.State(2)}),
        (QStringList {QStringLiteral("false"), QStringLiteral("false"), QStringLiteral("false")}));
    QCOMPARE(w.cklTaskList->item(0)->checkState(), Qt::Unchecked);
    // The rebuild after storing leaves chkAll's own mark alone.
    QCOMPARE(w.chkAll->isChecked(), false);
}

void TestMainWindow::tickingARow_storesItInTheFile()
{
    Fixture f({Reminder, Shutdown});
    TfrmMain w(f.Services());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    w.cklTaskList->item(1)->setCheckState(Qt::Checked); // as the check box's click does

    QTRY_COMPARE(f.State(1), QStringLiteral("true"));
    QCOMPARE(f.State(0), QStringLiteral("true"));
    QCOMPARE(w.Context().activeTasks.size(), 2);
}

// The window ticks only through the tick driver, on the wake-up it was given.
void TestMainWindow::dueTask_firesOnTheDriversWakeUp()
{
    const QStringList due
        = Block(QStringLiteral("6"), QStringLiteral("10:00:00"), QStringLiteral("5 января 2004"),
            QStringLiteral("NULL"), QStringLiteral("/bin/now"), QStringLiteral("true"));
    Fixture f({Shutdown, due});
    TfrmMain w(f.Services());
    w.show();
    QVERIFY(f.wakeup.armed.isValid());
    QCOMPARE(f.actions.calls, QStringList());
    f.wakeup.fire();
    QCOMPARE(f.actions.calls, QStringList {QStringLiteral("run|/bin/now")});
    QCOMPARE(w.RowCount(), 1);
    QCOMPARE(readBytes(f.taskFile), FileBytes({Shutdown}));
    QCOMPARE(w.lblTime->text(), QStringLiteral("10:00:00"));
    QVERIFY(f.wakeup.armed.isValid());
}

void TestMainWindow::resize_snapsToMinimum_andKeepsTitleCentred_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("too small both ways") << QSize(300, 200) << QSize(551, 305);
    QTest::newRow("too narrow") << QSize(500, 400) << QSize(551, 400);
    QTest::newRow("too low") << QSize(700, 250) << QSize(700, 305);
    QTest::newRow("large") << QSize(901, 600) << QSize(901, 600);
}

void TestMainWindow::resize_snapsToMinimum_andKeepsTitleCentred()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);

    Fixture f;
    TfrmMain w(f.Services());
    w.show();
    w.resize(requested);

    QCOMPARE(w.size(), expected);
    const int listCentre = w.cklTaskList->x() + w.cklTaskList->width() / 2;
    const int titleCentre = w.Label1->x() + w.Label1->width() / 2;
    QVERIFY2(qAbs(listCentre - titleCentre) <= 1,
        qPrintable(QStringLiteral("%1 vs %2").arg(listCentre).arg(titleCentre)));
    // The list keeps its place at the top left and follows the right and bottom edges.
    QCOMPARE(w.cklTaskList->pos(), QPoint(170, 20));
    QCOMPARE(w.width() - w.cklTaskList->geometry().right(), 551 - 8 - 538 + 1);
    QCOMPARE(w.height() - w.btnExit->y(), 281 - 246);
}

void TestMainWindow::splash_hidesClockAndBellUntilItEnds()
{
    Fixture f({Reminder});
    TfrmMain w(f.Services());
    w.show();

    QCOMPARE(w.pnlCaption->text(), QStringLiteral("Zarvo 1.0"));
    f.wakeup.fire(); // a beat
    // The clock is kept up to date from the start, hidden or not; the bell waits for the splash.
    QTRY_COMPARE(w.lblTime->text(), QStringLiteral("10:00:00"));
    QCOMPARE(w.lblTime->isVisible(), false);
    QCOMPARE(w.imgRing->isVisible(), false);

    QTRY_COMPARE_WITH_TIMEOUT(w.lblTime->isVisible(), true, 5000);
    QCOMPARE(w.lblData->isVisible(), true);
    QCOMPARE(w.lblDayOfWeek->isVisible(), true);
    QCOMPARE(w.lblData->text(), QStringLiteral("5 января 2004 г."));
    QCOMPARE(w.pnlCaption->text(), QString());
    QCOMPARE(w.imgRing->isVisible(), true);
    QCOMPARE(w.TimerCaption.isActive(), false);
}

void TestMainWindow::trayHint_followsActiveTasks_data()
{
    QTest::addColumn<QList<QStringList>>("blocks");
    QTest::addColumn<QString>("hint");

    QTest::newRow("no tasks") << QList<QStringList> {} << Msg::HintNoActiveTasks;
    QTest::newRow("only inactive") << QList<QStringList> {Shutdown} << Msg::HintNoActiveTasks;
    QTest::newRow("an active one") << QList<QStringList> {Shutdown, Reminder} << Msg::HintActiveTasks;
}

void TestMainWindow::trayHint_followsActiveTasks()
{
    QFETCH(QList<QStringList>, blocks);
    QFETCH(QString, hint);

    Fixture f(blocks);
    TfrmMain w(f.Services());

    QCOMPARE(w.TrayComp1->Hint(), hint);
    QCOMPARE(w.TrayComp1->IconIndex(), 7);
}

void TestMainWindow::formCreate_errorInAStep_isShownAndSkipsTheRest()
{
    Fixture f({Reminder});
    MainWindowServices services = f.Services();
    services.firstRunSetup
        = [](TfrmMain &) { throw ZarvoError(QStringLiteral("Failed to get data for 'chk_mes'")); };
    f.settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 1);

    TfrmMain w(std::move(services));

    QCOMPARE(f.messages.shown, QStringList {QStringLiteral("Failed to get data for 'chk_mes'")});
    QCOMPARE(w.cklTaskList->count(), 0);
    QCOMPARE(w.TrayComp1->Visible(), false);
    QCOMPARE(w.StartsHidden(), false);
}

void TestMainWindow::autoHide_startsHiddenOnlyWithANotificationArea_data()
{
    QTest::addColumn<int>("autoHide");
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("auto_hide with a tray") << 1 << true << true << QStringList {};
    QTest::newRow("no auto_hide") << 0 << true << false << QStringList {};
    QTest::newRow("auto_hide without a tray") << 1 << false << false << QStringList {Msg::TrayCannotCreate};
}

void TestMainWindow::autoHide_startsHiddenOnlyWithANotificationArea()
{
    QFETCH(int, autoHide);
    QFETCH(bool, trayAvailable);
    QFETCH(bool, hidden);
    QFETCH(QStringList, messages);

    Fixture f({Reminder});
    f.trayAvailable = trayAvailable;
    f.settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), autoHide);

    TfrmMain w(f.Services());
    w.ShowAtStart();

    QCOMPARE(f.events, QStringList {QStringLiteral("first run")});
    QCOMPARE(w.cklTaskList->count(), 1); // the list is built before the tray
    QCOMPARE(w.StartsHidden(), hidden);
    QCOMPARE(w.isVisible(), !hidden);
    QCOMPARE(f.messages.shown, messages);
}

void TestMainWindow::formShow_appliesStoredGeometryThroughMinimum()
{
    Fixture f;
    f.settings.set(SettingsKeys::Window, QStringLiteral("top"), 20);
    f.settings.set(SettingsKeys::Window, QStringLiteral("left"), 10);
    f.settings.set(SettingsKeys::Window, QStringLiteral("width"), 400);
    f.settings.set(SettingsKeys::Window, QStringLiteral("height"), 500);
    TfrmMain w(f.Services());

    w.show();

    QTRY_COMPARE(w.pos(), QPoint(10, 20)); // the frame moves when the platform has placed it
    QCOMPARE(w.size(), QSize(551, 500));
}

void TestMainWindow::close_savesGeometryShowsFarewellAndExits()
{
    Fixture f;
    TfrmMain w(f.Services());
    w.show();
    QSignalSpy exit(&w, &TfrmMain::ExitRequested);
    QSize farewellSize;
    bool farewellVisible = false;
    QTimer::singleShot(200, [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *end = qobject_cast<TfrmEnd *>(top)) {
                farewellVisible = end->isVisible();
                farewellSize = end->size();
            }
        }
    });

    QTest::keyClick(w.btnAdd, Qt::Key_Escape);

    QCOMPARE(f.events.value(1), QStringLiteral("save 213,247 551x308"));
    QCOMPARE(farewellVisible, true);
    QCOMPARE(farewellSize, QSize(285, 85));
    QCOMPARE(exit.count(), 1);
    QCOMPARE(exit.at(0).at(0).toInt(), 0);
    QCOMPARE(w.isVisible(), false);
}

void TestMainWindow::sessionEnd_exitsWithoutCloseHandler()
{
    Fixture f;
    TfrmMain w(f.Services());
    w.show();
    QSignalSpy exit(&w, &TfrmMain::ExitRequested);

    w.SessionEnding();
    w.close();

    QCOMPARE(f.events, QStringList {QStringLiteral("first run")}); // no geometry saved
    QCOMPARE(exit.count(), 1);
    QCOMPARE(w.TrayComp1->IsShown(), false);
}

void TestMainWindow::close_geometryThatCannotBeSaved_isReportedOnceAndStillExits()
{
    Fixture f;
    MainWindowServices services = f.Services();
    services.saveWindowGeometry
        = [](TfrmMain &) { throw ZarvoError(QStringLiteral("Failed to set data for 'top'")); };
    TfrmMain w(std::move(services));
    w.show();
    QSignalSpy exit(&w, &TfrmMain::ExitRequested);

    QTest::keyClick(w.btnAdd, Qt::Key_Escape);

    QCOMPARE(f.messages.shown, QStringList {QStringLiteral("Failed to set data for 'top'")});
    QCOMPARE(exit.count(), 1);
    QCOMPARE(w.isVisible(), false);
}

void TestMainWindow::trayHostLeavesWhileHidden_windowComesBack_iconReturnsWithTheHost()
{
    Fixture f({Reminder});
    f.settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 1);
    std::function<void()> hostChanged;
    MainWindowServices services = f.Services();
    services.watchTrayHost
        = [&](QObject *, std::function<void()> changed) { hostChanged = std::move(changed); };
    TfrmMain w(std::move(services));
    w.ShowAtStart();
    QVERIFY(w.StartsHidden());
    QTRY_VERIFY(hostChanged); // watched from the first turn of the event loop, after the icon shows

    f.trayAvailable = false;
    hostChanged();
    QCOMPARE(w.isVisible(), true);
    QCOMPARE(w.pos(), QPoint(213, 247)); // shown for the first time: the stored geometry

    f.trayAvailable = true;
    hostChanged();
    QCOMPARE(w.TrayComp1->IsShown(), true);
    w.showMinimized();
    QTRY_COMPARE(w.isVisible(), false); // to the icon again
}

void TestMainWindow::rowPaint_takesDigitAsPictureIndex_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("imageIndex");
    QTest::addColumn<QString>("text");

    QTest::newRow("reminder") << QStringLiteral("1Напомнить о чем-то... ") << 0
                              << QStringLiteral("Напомнить о чем-то... ");
    QTest::newRow("birthday") << QStringLiteral("7У Анна") << 6 << QStringLiteral("У Анна");
    QTest::newRow("unknown type shows no picture") << QStringLiteral("9") << 8 << QString();
    QTest::newRow("empty row") << QString() << -1 << QString();
}

void TestMainWindow::rowPaint_takesDigitAsPictureIndex()
{
    QFETCH(QString, row);
    QFETCH(int, imageIndex);
    QFETCH(QString, text);

    QCOMPARE(TaskRowPaintFor(row), (TaskRowPaint {imageIndex, text}));
}

void TestMainWindow::missedReport_startAndLateWakeupShareOneWindow_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("on") << true;
    QTest::newRow("off (no value)") << false;
}

// With "missed_report" on, a one-shot task an hour in the past is listed at start, and what a
// late wake-up finds joins the same window; with it off (absent), no window and no message.
void TestMainWindow::missedReport_startAndLateWakeupShareOneWindow()
{
    QFETCH(bool, on);
    const QStringList pastReminder
        = Block(QStringLiteral("1"), QStringLiteral("9:00:00"), QStringLiteral("5 января 2004"),
            QStringLiteral("Час назад"), QStringLiteral("NULL"), QStringLiteral("true"));
    const QStringList daily = Block(QStringLiteral("1"), QStringLiteral("10:30:00"), QStringLiteral("NULL"),
        QStringLiteral("Каждый день"), QStringLiteral("NULL"), QStringLiteral("true"));
    Fixture f({pastReminder, daily});
    if (on)
        f.settings.set(SettingsKeys::Settings, QStringLiteral("missed_report"), 1);
    const QByteArray before = readBytes(f.taskFile);
    TfrmMain w(f.Services());
    w.ShowAtStart();
    QCoreApplication::processEvents();
    QCOMPARE(bool(w.frmMissed), on);
    f.clock.set(kStillMoment.addSecs(3600).addMSecs(500)); // asleep from 10:00 to 11:00
    f.wakeup.fire();
    QCoreApplication::processEvents();
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.actions.calls.isEmpty());
    QCOMPARE(readBytes(f.taskFile), before);
    if (!on)
        return;
    QVERIFY(w.frmMissed->isVisible());
    QCOMPARE(w.frmMissed->lstMissed->count(), 2);
    int windows = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        windows += qobject_cast<TfrmMissed *>(top) && top->isVisible() ? 1 : 0;
    QCOMPARE(windows, 1);
}

ZARVO_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
