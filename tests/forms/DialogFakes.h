#pragma once

#include "Clock.h"
#include "Context.h"
#include "Ports.h"
#include "Soundplayer.h"

#include <QStringList>

// Plain stand-ins for what the dialogs reach outside themselves.

class FixedClock final : public Clock
{
public:
    QDateTime now;
    QDateTime CurrentDateTime() const override { return now; }
};

class RecordingMessages final : public UserMessages
{
public:
    QStringList shown;
    void ShowMessage(const QString &text) override { shown << text; }
    bool AskYesNo(const QString &, const QString &) override { return false; }
};

class RecordingHelp final : public HelpViewer
{
public:
    QStringList topics;
    void OpenHelp(const QString &topic) override { topics << topic; }
};

class RecordingSoundPlayer final : public SoundPlayer
{
public:
    QStringList calls; // "play:<path>" and "stop"
    bool playable = true;
    bool Play(const QString &path) override
    {
        calls << QStringLiteral("play:") + path;
        return playable;
    }
    void Stop() override { calls << QStringLiteral("stop"); }
};

// Only the selection matters to the dialogs.
class SelectionView final : public TaskListView
{
public:
    int selected = -1;
    int RowCount() const override { return 0; }
    QString RowText(int) const override { return {}; }
    bool IsRowChecked(int) const override { return false; }
    void SetRowChecked(int, bool) override { }
    void ClearRows() override { selected = -1; }
    void AppendRow(const QString &, bool) override { }
    void RemoveRow(int) override { }
    int SelectedRow() const override { return selected; }
    void SetRingVisible(bool) override { }
    bool IsTimeLabelVisible() const override { return false; }
    void SetControlEnabled(Control, bool) override { }
    void SetTrayHint(const QString &) override { }
    void RefreshTray() override { }
    void SetClockTexts(const QString &, const QString &, const QString &) override { }
};
