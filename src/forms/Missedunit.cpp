#include "Missedunit.h"

#include "Context.h"
#include "Datetimetext.h"
#include "Dialogwidgets.h"
#include "Errors.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

using namespace DialogWidgets;

namespace {

// "срок: 9:05:00, 5 января 2004"; a birthday's whole day: "срок: 6 января 2004".
QString dueText(const MissedTask &task)
{
    const QString date = OneShotDateText(task.due);
    if (task.kind == TaskKind::Birthday)
        return QStringLiteral("срок: ") + date;
    return QStringLiteral("срок: ") + TimeToText(task.due) + QStringLiteral(", ") + date;
}

bool sameMiss(const MissedTask &a, const MissedTask &b)
{
    return a.identity == b.identity && a.due == b.due;
}

} // namespace

TfrmMissed::TfrmMissed(CoreContext &ctx, QList<QIcon> images, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_ctx(ctx)
    , m_images(std::move(images))
{
    setObjectName(QStringLiteral("frmMissed"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Пропущенные задания"));
    setFixedSize(500, 262);

    lblInfo = MakeLabel(this, QStringLiteral("lblInfo"),
        QStringLiteral("Эти задания не выполнились в свой срок:"), QRect(8, 8, 484, 16));
    lstMissed = new QListWidget(this);
    lstMissed->setObjectName(QStringLiteral("lstMissed"));
    lstMissed->setAccessibleName(QStringLiteral("Пропущенные задания"));
    lstMissed->setGeometry(8, 28, 484, 150);
    lstMissed->setIconSize(QSize(16, 16));
    lstMissed->setSpacing(1);
    SetFieldBackground(lstMissed);

    btnShow
        = MakeButton(this, QStringLiteral("btnShow"), QStringLiteral("&Показать"), QRect(8, 186, 100, 26));
    btnRun
        = MakeButton(this, QStringLiteral("btnRun"), QStringLiteral("&Запустить"), QRect(114, 186, 100, 26));
    lblNotRun = MakeLabel(this, QStringLiteral("lblNotRun"),
        QStringLiteral("Выключение, перезагрузка, завершение сеанса и заставка с опозданием не выполняются."),
        QRect(222, 182, 270, 32));
    lblNotRun->setWordWrap(true);
    btnDeleteOneShots = MakeButton(this, QStringLiteral("btnDeleteOneShots"),
        QStringLiteral("&Удалить пропущенные разовые задания"), QRect(8, 228, 280, 26));
    btnClose
        = MakeButton(this, QStringLiteral("btnClose"), QStringLiteral("За&крыть"), QRect(392, 228, 100, 26));

    // A screen reader says what the button shows.
    for (QPushButton *button : {btnShow, btnRun, btnDeleteOneShots, btnClose})
        button->setAccessibleName(QString(button->text()).remove(u'&'));
    lblNotRun->setAccessibleName(lblNotRun->text());
    lblInfo->setAccessibleName(lblInfo->text());

    connect(btnShow, &QPushButton::clicked, this, &TfrmMissed::btnShowClick);
    connect(btnRun, &QPushButton::clicked, this, &TfrmMissed::btnRunClick);
    connect(btnDeleteOneShots, &QPushButton::clicked, this, &TfrmMissed::btnDeleteOneShotsClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(lstMissed, &QListWidget::currentRowChanged, this, &TfrmMissed::UpdateButtons);
    UpdateButtons();
}

void TfrmMissed::AddTasks(const MissedTaskList &tasks)
{
    for (const MissedTask &task : tasks) {
        const bool listed = std::any_of(
            m_tasks.cbegin(), m_tasks.cend(), [&](const MissedTask &other) { return sameMiss(task, other); });
        if (!listed)
            AddItem(task);
    }
    if (lstMissed->currentRow() < 0 && lstMissed->count() > 0)
        lstMissed->setCurrentRow(0);
    UpdateButtons();
}

void TfrmMissed::AddItem(const MissedTask &task)
{
    m_tasks.append(task);
    // Two lines: the task as the task list shows it, and under it when it was due.
    auto *item = new QListWidgetItem(task.text + QStringLiteral("\n") + dueText(task), lstMissed);
    if (task.type >= ttRemind && task.type <= ttBirthday && task.type - 1 < m_images.size())
        item->setIcon(m_images.at(task.type - 1));
}

int TfrmMissed::SelectedTask() const
{
    const int row = lstMissed->currentRow();
    return row >= 0 && row < m_tasks.size() ? row : -1;
}

void TfrmMissed::UpdateButtons()
{
    const int k = SelectedTask();
    const MissedAction action = k >= 0 ? ActionFor(m_tasks.at(k)) : MissedAction::None;
    btnShow->setEnabled(action == MissedAction::ShowNotice);
    btnRun->setEnabled(action == MissedAction::Run);
    lblNotRun->setVisible(k >= 0 && action == MissedAction::None);
    btnDeleteOneShots->setEnabled(std::any_of(
        m_tasks.cbegin(), m_tasks.cend(), [](const MissedTask &task) { return task.IsOneShot(); }));
}

void TfrmMissed::btnShowClick()
{
    const int k = SelectedTask();
    if (k >= 0 && ActionFor(m_tasks.at(k)) == MissedAction::ShowNotice)
        ActOnMissedTask(m_ctx, m_tasks.at(k)); // modal: returns when the notice closes
}

void TfrmMissed::btnRunClick()
{
    const int k = SelectedTask();
    if (k >= 0 && ActionFor(m_tasks.at(k)) == MissedAction::Run)
        ActOnMissedTask(m_ctx, m_tasks.at(k));
}

void TfrmMissed::btnDeleteOneShotsClick()
{
    const QList<QStringList> gone = DeleteMissedOneShots(m_ctx, m_tasks);
    // The rows of the tasks that are no longer in the file go; everything else stays listed.
    for (int row = m_tasks.size() - 1; row >= 0; --row) {
        const MissedTask &task = m_tasks.at(row);
        if (task.IsOneShot() && gone.contains(task.identity)) {
            m_tasks.removeAt(row);
            delete lstMissed->takeItem(row);
        }
    }
    if (lstMissed->currentRow() < 0 && lstMissed->count() > 0)
        lstMissed->setCurrentRow(0);
    UpdateButtons();
}
