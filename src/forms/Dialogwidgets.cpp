#include "Dialogwidgets.h"

#include "Windowlook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace DialogWidgets {

namespace {

template<typename W> W *named(W *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

void SetFieldBackground(QWidget *widget)
{
    // The text colour is forced with the background: a dark system palette's light text would
    // be unreadable on this blue.
    const QColor blue(214, 234, 254);
    WindowLook::SetFieldColours(*widget, Qt::black, blue);
    WindowLook::SetButtonColours(*widget, Qt::black, blue);
    widget->setAutoFillBackground(true);
}

QComboBox *MakeList(QWidget *parent, const QString &name, const QStringList &items, const QRect &geometry)
{
    auto *list = named(new QComboBox(parent), name, geometry);
    list->setEditable(false);
    list->addItems(items);
    list->setCurrentIndex(-1);
    list->setMaxVisibleItems(12);
    SetFieldBackground(list);
    return list;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = named(new QLabel(text, parent), name, geometry);
    label->setWordWrap(true);
    return label;
}

QCheckBox *MakeCheck(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    return named(new QCheckBox(text, parent), name, geometry);
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *button = named(new QPushButton(text, parent), name, geometry);
    button->setAutoDefault(false);
    return button;
}

QLineEdit *MakeEdit(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *edit = named(new QLineEdit(parent), name, geometry);
    SetFieldBackground(edit);
    return edit;
}

void ShowFile(QLineEdit *edit, const QString &shown, const QString &fullPath)
{
    edit->setText(shown);
    edit->setCursorPosition(0);
    edit->setToolTip(fullPath);
}

void WatchChildren(QDialog *dialog)
{
    dialog->installEventFilter(dialog);
    const auto children = dialog->findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(dialog);
}

bool IsHelpKeyRelease(const QObject *, const QEvent *event)
{
    if (event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_F1 && !key->isAutoRepeat();
}

QString ChooseFile(QWidget *parent, const QString &qtFilter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), qtFilter);
}

} // namespace DialogWidgets
