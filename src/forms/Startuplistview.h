#pragma once

#include "Ports.h"

#include <QList>
#include <QMap>

#include <optional>

// The task list and its indicators as plain data, while the main window's controls do not exist
// yet. The start-up builds the list from the task file before the tray icon shows and the
// controls only after it: the first text a control is given starts Qt's accessibility bridge,
// three calls on the session bus that would come before the icon. ApplyTo then hands everything
// over to the window. The tray calls go to the window at once; its tray icon exists from the
// start.
class StartupListView final : public TaskListView {
public:
    explicit StartupListView(TaskListView &window);

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

    // Everything set so far, onto the view that takes over (the window, its controls built).
    void ApplyTo(TaskListView &view) const;

private:
    struct Row {
        QString text;
        bool checked = false;
    };
    struct ClockTexts {
        QString time;
        QString date;
        QString weekday;
    };

    TaskListView &m_window;
    QList<Row> m_rows;
    std::optional<bool> m_ringVisible;
    QMap<Control, bool> m_enabled;
    std::optional<ClockTexts> m_clock;
};
