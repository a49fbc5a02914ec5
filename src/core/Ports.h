#pragma once

#include <QString>

// The small interfaces through which the core reaches the windows. The main window implements
// them in the program; tests implement them with plain objects.

// The task list of the main window and the indicators the task-list operations and the tick set.
// The rows only show the task model: the core sets them and never reads a tick back; the window
// reports the user's clicks on the ticks to the core (SetTaskTicked).
class TaskListView
{
public:
    enum class Control { Change, Delete, Clear, AllTasks };

    virtual ~TaskListView() = default;

    virtual int RowCount() const = 0;
    virtual QString RowText(int row) const = 0;
    virtual void ClearRows() = 0; // afterwards no row is selected
    virtual void AppendRow(const QString &text, bool checked) = 0;
    virtual void RemoveRow(int row) = 0;
    virtual int SelectedRow() const = 0; // -1 when none is selected

    virtual void SetRingVisible(bool visible) = 0;
    virtual bool IsTimeLabelVisible() const = 0;
    virtual void SetControlEnabled(Control control, bool enabled) = 0;
    virtual void SetTrayHint(const QString &hint) = 0;
    virtual void RefreshTray() = 0;

    // The clock panel's labels: time "9:05:00", date "5 января 2004 г.", weekday "Среда".
    virtual void SetClockTexts(const QString &time, const QString &date, const QString &weekday) = 0;
};

// Plain message boxes: caption "Zarvo", no icon.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    virtual void ShowMessage(const QString &text) = 0; // one OK button
    // Yes and No buttons, question icon, the given caption; true only for Yes.
    virtual bool AskYesNo(const QString &text, const QString &caption) = 0;
};

// The re-arming timer (5000 ms) of the main window.
class HelperTimer
{
public:
    virtual ~HelperTimer() = default;
    virtual void Disable() = 0;
    virtual void Enable() = 0; // a full period begins
    virtual bool IsEnabled() const = 0;
};

// What a fired task does. The notices and the countdown are modal: they return when their window
// has closed, and timers (so further ticks) keep running meanwhile.
class TaskActions
{
public:
    virtual ~TaskActions() = default;
    virtual void ShowReminderNotice(const QString &message, const QString &soundFile) = 0;
    virtual void ShowBirthdayNotice(const QString &message, const QString &name) = 0;
    virtual void ShowShutdownCountdown(bool powerOff) = 0;
    virtual void LogOffUser() = 0;
    virtual void StartScreenSaver() = 0;
    virtual void RunProgram(const QString &path) = 0;
};

// The help viewer, opened at a topic of zhelp.hlp ("SHZ_contents0004" ...).
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    virtual void OpenHelp(const QString &topic) = 0;
};

// The main window's frame in screen coordinates (the first-run centring and the saved geometry),
// and the size of the screen it is shown on.
class MainWindowGeometry
{
public:
    virtual ~MainWindowGeometry() = default;
    virtual int Left() const = 0;
    virtual int Top() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetLeft(int left) = 0;
    virtual void SetTop(int top) = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;
};
