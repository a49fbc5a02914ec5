#pragma once

#include <QIcon>
#include <QList>
#include <QStyledItemDelegate>

// What a task-list row shows: its first character, the task's type digit, picks the picture
// (digit − 1); the rest of the row is the text.
struct TaskRowPaint {
    int imageIndex = -1;
    QString text;

    friend bool operator==(const TaskRowPaint &, const TaskRowPaint &) = default;
};
TaskRowPaint TaskRowPaintFor(const QString &rowText);

// Draws a row of cklTaskList: the check box at the left edge, then on the rest of the row the
// background (list or selection colours), the type picture at left + 5 and the text at left + 30.
class TaskListDelegate final : public QStyledItemDelegate {
public:
    static constexpr int ItemHeight = 18;
    static constexpr int PictureOffset = 5;
    static constexpr int TextOffset = 30;

    explicit TaskListDelegate(const QList<QIcon> *images, QObject *parent = nullptr);

    void paint(
        QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QList<QIcon> *m_images;
};
