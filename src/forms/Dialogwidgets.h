#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialog;
class QEvent;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QRect;
class QWidget;

// Small builders shared by the dialogs: every control gets its name as object name, so tests
// find it (screen readers get the names of AccessibleNames).
namespace DialogWidgets {

// The light blue background of the dialogs' lists, edit fields and memos.
void SetFieldBackground(QWidget *widget);

QComboBox *MakeList(QWidget *parent, const QString &name, const QStringList &items, const QRect &geometry);
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
QCheckBox *MakeCheck(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &text, const QRect &geometry);
QLineEdit *MakeEdit(QWidget *parent, const QString &name, const QRect &geometry);

// Sets a read-only file field: the name shown, the full path as its tooltip.
void ShowFile(QLineEdit *edit, const QString &shown, const QString &fullPath);

// Calls the dialog's help on F1 key release in the dialog or any of its controls.
void WatchChildren(QDialog *dialog);
bool IsHelpKeyRelease(const QObject *watched, const QEvent *event);

// The file dialog with a filter in "text|pattern" form; empty when the user cancels.
QString ChooseFile(QWidget *parent, const QString &qtFilter);

} // namespace DialogWidgets
