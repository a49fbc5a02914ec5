#pragma once

#include "Errors.h"
#include "Ports.h"

#include <QList>
#include <QMap>
#include <QStringList>

#include <functional>

// The main window's task list and indicators as plain data, for tests of the core.
class FakeTaskListView final : public TaskListView {
public:
    struct Row {
        QString text;
        bool checked = false;
    };

    QList<Row> rows;
    int selected = -1;
    bool ringVisible = false;
    bool timeLabelVisible = true;
    QMap<Control, bool> enabled;
    QString trayHint;
    QString hintAtLastRefresh; // the hint the tray showed when it was last refreshed
    int trayRefreshes = 0;
    QString clockTime;
    QString clockDate;
    QString clockWeekday;
    int clockUpdates = 0;
    // Called after the core sets a row's tick; lets a test change the world at that moment.
    std::function<void(int row, bool checked)> onRowChecked;

    int RowCount() const override { return int(rows.size()); }
    QString RowText(int row) const override { return rows.at(checkedIndex(row)).text; }
    bool IsRowChecked(int row) const { return rows.at(checkedIndex(row)).checked; }
    void SetRowChecked(int row, bool checked)
    {
        rows[checkedIndex(row)].checked = checked;
        if (onRowChecked)
            onRowChecked(row, checked);
    }
    void ClearRows() override
    {
        rows.clear();
        selected = -1;
    }
    void AppendRow(const QString &text, bool checked) override { rows.append({text, checked}); }
    void RemoveRow(int row) override
    {
        rows.removeAt(checkedIndex(row));
        if (selected == row)
            selected = -1;
        else if (selected > row)
            --selected;
    }
    int SelectedRow() const override { return selected; }

    void SetRingVisible(bool visible) override { ringVisible = visible; }
    bool IsTimeLabelVisible() const override { return timeLabelVisible; }
    void SetControlEnabled(Control control, bool on) override { enabled[control] = on; }
    void SetTrayHint(const QString &hint) override { trayHint = hint; }
    void RefreshTray() override
    {
        hintAtLastRefresh = trayHint;
        ++trayRefreshes;
    }
    void SetClockTexts(const QString &time, const QString &date, const QString &weekday) override
    {
        clockTime = time;
        clockDate = date;
        clockWeekday = weekday;
        ++clockUpdates;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Row &row : rows)
            out << row.text;
        return out;
    }
    QList<bool> ticks() const
    {
        QList<bool> out;
        for (const Row &row : rows)
            out << row.checked;
        return out;
    }
    bool isEnabled(Control control) const { return enabled.value(control, true); }

private:
    // Like a list box, an index outside the rows is an error rather than undefined behaviour.
    int checkedIndex(int row) const
    {
        if (row < 0 || row >= rows.size())
            throw ZarvoError(QStringLiteral("List index out of bounds (%1)").arg(row));
        return row;
    }
};
