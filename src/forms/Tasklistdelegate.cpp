#include "Tasklistdelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

TaskRowPaint TaskRowPaintFor(const QString &rowText)
{
    if (rowText.isEmpty())
        return {};
    const QChar digit = rowText.at(0);
    const int index = digit.isDigit() ? digit.digitValue() - 1 : -1;
    return {index, rowText.mid(1)};
}

TaskListDelegate::TaskListDelegate(const QList<QIcon> *images, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_images(images)
{
}

void TaskListDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The check box is drawn where the style also looks for clicks on it.
    const QRect check = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    QStyleOptionViewItem checkOpt = opt;
    checkOpt.rect = check;
    checkOpt.state &= ~QStyle::State_HasFocus;
    checkOpt.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &checkOpt, painter, widget);

    QRect rest = opt.rect;
    rest.setLeft(check.right() + 2);
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group
        = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->fillRect(rest,
        selected ? opt.palette.brush(group, QPalette::Highlight) : opt.palette.brush(group, QPalette::Base));

    const TaskRowPaint row = TaskRowPaintFor(index.data(Qt::DisplayRole).toString());
    if (m_images && row.imageIndex >= 0 && row.imageIndex < m_images->size())
        m_images->at(row.imageIndex).paint(painter, QRect(rest.left() + PictureOffset, rest.top(), 16, 16));

    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect textRect(rest.left() + TextOffset, rest.top(), 10000, rest.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, row.text);
    painter->restore();

    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = rest;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

QSize TaskListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    return {QStyledItemDelegate::sizeHint(option, index).width(), ItemHeight};
}
