#pragma once

#include "Context.h"
#include "Missedtasks.h"
#include "Ports.h"
#include "Windowplacement.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class StartupListView;
class TTrayIcon;
class TfrmMain;
class TfrmMissed;
class TickDriver;
class WakeupTimer;

// What the main window is given by the program (or by a test).
class SoundPlayer;

struct MainWindowServices {
    QString taskFilePath;
    SettingsBackend *settings = nullptr;
    const Clock *clock = nullptr;
    // The wall-clock wake-up that drives the tick (every beat while the window is shown, only the
    // due seconds while it is hidden); it must follow the same clock as `clock`. Tests give a
    // simulated one. Without one nothing ticks.
    WakeupTimer *wakeup = nullptr;
    TaskActions *actions = nullptr;
    SoundPlayer *sound = nullptr; // the add/change dialog's preview
    HelpViewer *help = nullptr;
    UserMessages *messages = nullptr; // none: the window's own plain message boxes
    // Opens a mail or web address with the desktop's opener.
    std::function<void(const QString &address)> openAddress;
    // The first-run setup and the geometry writer of the settings store.
    std::function<void(TfrmMain &)> firstRunSetup;
    std::function<void(TfrmMain &)> saveWindowGeometry;
    // Whether a notification area exists (none given: ask the system) and how it reports clicks.
    std::function<bool()> trayAvailable;
    // Starts calling its argument whenever a notification area appears or goes away (for as long
    // as the given object lives). None: the area is looked at only at start.
    std::function<void(QObject *receiver, std::function<void()> changed)> watchTrayHost;
    // Whether the notification area reports double-clicks itself (none given: it does). Asked once
    // the icon shows: the answer is a bus round trip that start-up need not wait for.
    std::function<bool()> trayHostReportsDoubleClick;
    // Told to the user once the program has started (where the task file now lives, ...).
    QStringList startNotices;
    QList<QIcon> images; // ImageList1: seven task-type pictures, then the tray icon
    QIcon appIcon;
};

// The program's only permanent window: the clock panel, the task list and its buttons, the two
// popup menus, the tray icon, and the timers that drive the scheduler.
class TfrmMain final : public QWidget, public TaskListView, public UserMessages, public MissedTasksReport {
    Q_OBJECT

public:
    explicit TfrmMain(MainWindowServices services, QWidget *parent = nullptr);
    ~TfrmMain() override;

    CoreContext &Context() { return m_ctx; }
    // The window's place as the settings store saves and restores it.
    WindowPlacement &Placement() { return m_placement; }
    // Shows the window unless the start-up put the program into the notification area.
    void ShowAtStart();
    bool StartsHidden() const { return m_startHidden; }

    // The window-open flags, set and cleared by those windows.
    bool AddFormOpen = false;
    bool SettingsFormOpen = false;
    bool AboutFormOpen = false;
    QPointer<QWidget> frmAdd;
    QPointer<QWidget> frmSettings;
    QPointer<TfrmMissed> frmMissed; // "Пропущенные задания", while it is open

    // Handlers that other windows and the tests call.
    void btnAddClick();
    void btnChangeClick();
    void btnDeleteClick();
    void btnClearClick();
    void btnSettingsClick();
    void btnExitClick();
    void chkAllClick();
    void mnuHelpClick();
    void mnuSendLetterClick();
    void mnuHomeSaitClick();
    void mnuAboutClick();
    void mnuTrayShowClick();
    void OpenInfoMenu();
    // The desktop session ends: the program ends without the close handler, the icon goes now.
    void SessionEnding();

    // TaskListView
    int RowCount() const override;
    QString RowText(int row) const override;
    void ClearRows() override;
    void AppendRow(const QString &text, bool checked) override;
    void RemoveRow(int row) override;
    int SelectedRow() const override;
    void SetRingVisible(bool visible) override;
    bool IsTimeLabelVisible() const override;
    void SetControlEnabled(Control control, bool enabled) override;
    void SetTrayHint(const QString &hint) override;
    void RefreshTray() override;
    void SetClockTexts(const QString &time, const QString &date, const QString &weekday) override;

    // UserMessages: plain boxes with the caption "Zarvo".
    void ShowMessage(const QString &text) override;
    bool AskYesNo(const QString &text, const QString &caption) override;

    // MissedTasksReport: one window for all misses; new ones join the open window.
    void ShowMissedTasks(const MissedTaskList &tasks) override;

    // Controls, named as the other windows and the tests know them.
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *pnlTimeAndDate = nullptr;
    QLabel *pnlCaption = nullptr;
    QLabel *lblData = nullptr;
    QLabel *lblDayOfWeek = nullptr;
    QLabel *lblTime = nullptr;
    QLabel *imgRing = nullptr;
    QListWidget *cklTaskList = nullptr;
    QPushButton *btnAdd = nullptr;
    QPushButton *btnDelete = nullptr;
    QPushButton *btnChange = nullptr;
    QPushButton *btnClear = nullptr;
    QCheckBox *chkAll = nullptr;
    QPushButton *btnSettings = nullptr;
    QPushButton *btnHelp = nullptr;
    QPushButton *btnExit = nullptr;
    QMenu *popMenuInfo = nullptr;
    QMenu *popMenuTray = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuSendLetter = nullptr;
    QAction *mnuHomeSait = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuTrayShow = nullptr;
    QAction *mnuTrayAdd = nullptr;
    QAction *mnuTraySettings = nullptr;
    QAction *mnuTrayHelp = nullptr;
    QAction *mnuTraySendLetter = nullptr;
    QAction *mnuTrayHomePage = nullptr;
    QAction *mnuTrayAbout = nullptr;
    QAction *mnuTrayExit = nullptr;
    TTrayIcon *TrayComp1 = nullptr;
    QTimer TimerHelper;
    QTimer TimerCaption;

signals:
    // The program is to end with this exit code (after the farewell, or with the session).
    void ExitRequested(int code);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    class HelperTimerPort final : public HelperTimer {
    public:
        explicit HelperTimerPort(QTimer &timer)
            : m_timer(timer)
        {
        }
        void Disable() override { m_timer.stop(); }
        void Enable() override { m_timer.start(); }
        bool IsEnabled() const override { return m_timer.isActive(); }

    private:
        QTimer &m_timer;
    };

    // The controls, menus and their layout, with what the start-up put into the list meanwhile;
    // once, as soon as the tray icon shows (or at the end of the window's creation without one).
    void BuildContents();
    void BuildControls();
    void BuildMenus();
    void SetTabOrder();
    void FormCreate();
    void FormShow();
    void FormKeyUp(int key);
    void LayOut();
    void SizeLabelsToText();
    void TimerCaptionTimer();
    void OpenTaskDialog(bool addMode);
    void SetRowChecked(int row, bool checked);
    void TimerHelperTimer();
    void cklTaskListClickCheck(QListWidgetItem *item);
    void cklTaskListMouseUp(Qt::MouseButton button);
    void ReportError(const QString &text);
    QWidget *BoxOwner();
    static int ExecOverMainWindow(QDialog &dialog);
    template<typename Handler> void Guarded(Handler handler);

    MainWindowServices m_services;
    CoreContext m_ctx;
    WindowPlacement m_placement {*this};
    HelperTimerPort m_helperPort {TimerHelper};
    // The task list as plain data until the controls are built.
    std::unique_ptr<StartupListView> m_startupList;
    std::unique_ptr<TickDriver> m_tickDriver; // runs the tick on the wake-up it is given
    int m_settingRows = 0; // > 0 while the program itself changes rows or ticks
    bool m_startHidden = false;
    bool m_shownOnce = false;
    bool m_minimizeHook = false;
    bool m_closing = false;
    bool m_sessionEnding = false;
    Qt::MouseButton m_dragButton = Qt::NoButton; // the button of a drag of the window in progress
    QPoint m_dragOffset; // from the frame's top-left to the pointer
};
