#include "Startuplistview.h"

StartupListView::StartupListView(TaskListView &window)
    : m_window(window)
{
}

int StartupListView::RowCount() const
{
    return int(m_rows.size());
}

QString StartupListView::RowText(int row) const
{
    return m_rows.at(row).text;
}

void StartupListView::ClearRows()
{
    m_rows.clear();
}

void StartupListView::AppendRow(const QString &text, bool checked)
{
    m_rows.append({text, checked});
}

void StartupListView::RemoveRow(int row)
{
    m_rows.removeAt(row);
}

int StartupListView::SelectedRow() const
{
    // Nobody can select a row in a list that is not on the screen yet.
    return -1;
}

void StartupListView::SetRingVisible(bool visible)
{
    m_ringVisible = visible;
}

bool StartupListView::IsTimeLabelVisible() const
{
    // The clock is hidden while the start's caption shows in its place.
    return false;
}

void StartupListView::SetControlEnabled(Control control, bool enabled)
{
    m_enabled.insert(control, enabled);
}

void StartupListView::SetTrayHint(const QString &hint)
{
    m_window.SetTrayHint(hint);
}

void StartupListView::RefreshTray()
{
    m_window.RefreshTray();
}

void StartupListView::SetClockTexts(const QString &time, const QString &date, const QString &weekday)
{
    m_clock = ClockTexts {time, date, weekday};
}

void StartupListView::ApplyTo(TaskListView &view) const
{
    view.ClearRows();
    for (const Row &row : m_rows)
        view.AppendRow(row.text, row.checked);
    if (m_ringVisible)
        view.SetRingVisible(*m_ringVisible);
    for (auto control = m_enabled.cbegin(); control != m_enabled.cend(); ++control)
        view.SetControlEnabled(control.key(), control.value());
    if (m_clock)
        view.SetClockTexts(m_clock->time, m_clock->date, m_clock->weekday);
}
