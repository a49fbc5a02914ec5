#pragma once

#include "Missedtasks.h"

#include <QIcon>
#include <QList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
struct CoreContext;

// "Пропущенные задания": the tasks whose moment passed while no tick ran, each with its type
// picture, its task-list text and the moment it was due. A reminder's or birthday's notice can be
// opened now ("Показать"), a program or document run now ("Запустить"); shutdown, restart,
// log-off and the screen saver are only listed. "Удалить пропущенные разовые задания" deletes the
// listed one-shot tasks in one save. Nothing changes unless a button is pressed. Not modal; it
// deletes itself on close.
class TfrmMissed final : public QWidget {
    Q_OBJECT

public:
    // images: the seven task-type pictures, type 1 first.
    TfrmMissed(CoreContext &ctx, QList<QIcon> images, QWidget *parent = nullptr);

    // Lists the tasks not listed yet (the same task missed at the same moment is listed once).
    void AddTasks(const MissedTaskList &tasks);
    const MissedTaskList &Tasks() const { return m_tasks; }

    QLabel *lblInfo = nullptr;
    QListWidget *lstMissed = nullptr;
    QPushButton *btnShow = nullptr;
    QPushButton *btnRun = nullptr;
    QLabel *lblNotRun = nullptr;
    QPushButton *btnDeleteOneShots = nullptr;
    QPushButton *btnClose = nullptr;

private:
    void btnShowClick();
    void btnRunClick();
    void btnDeleteOneShotsClick();
    void UpdateButtons();
    int SelectedTask() const;
    void AddItem(const MissedTask &task);

    CoreContext &m_ctx;
    QList<QIcon> m_images;
    MissedTaskList m_tasks; // in the order of the list's rows
};
