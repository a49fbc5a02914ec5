#include "Addunit.h"

#include "Accessiblenames.h"
#include "Context.h"
#include "Dialogwidgets.h"
#include "Errors.h"
#include "Filefilter.h"
#include "Messages.h"
#include "Ports.h"
#include "Soundplayer.h"
#include "Tasklist.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"
#include "Windowlook.h"
#include "Workingset.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextLayout>

using namespace DialogWidgets;

namespace {

constexpr int kMemoMaxLength = 150;
constexpr int kAudioOpenTop = 16;

const QStringList kTypeItems = {
    QStringLiteral("Напомнить что-либо"),
    QStringLiteral("Выключить компьютер"),
    QStringLiteral("Перезагрузить компьютер"),
    QStringLiteral("Завершить сеанс пользователя"),
    QStringLiteral("Запустить скринсейвер"),
    QStringLiteral("Запустить программу\\документ"),
    QStringLiteral("Напомнить о дне рождения"),
};

const QStringList kInitialMemo = {
    QStringLiteral("Здесь вы можете написать свое напоминающее "),
    QStringLiteral("послание. Количество символов не должно "),
    QStringLiteral("превышать 150-ти."),
};

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setIndex(QComboBox *list, int index)
{
    list->setCurrentIndex(index);
}

} // namespace

TfrmAdd::TfrmAdd(
    CoreContext &ctx, SoundPlayer &player, HelpViewer &help, bool &addFormOpen, bool addMode, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_player(player)
    , m_help(help)
    , m_openFlag(addFormOpen)
    , m_addMode(addMode)
    , m_chooseFile(&ChooseFile)
{
    setObjectName(QStringLiteral("frmAdd"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Добавить\\редактировать задание"));
    setFixedSize(506, 378);
    setWindowFlags(WindowLook::CloseBoxOnlyFlags());
    WindowLook::SetClassicColours(*this);
    setFont(WindowLook::DialogFont());
    CreateControls();
    AccessibleNames::Apply(*this);
    WatchChildren(this);
    // Filled once per opening: a message box shown by the dialog must not refill it over what
    // the user has typed.
    FillControls();
    // Raised only once the dialog exists: a filling that fails leaves no dialog behind.
    m_openFlag = true;
}

TfrmAdd::~TfrmAdd()
{
    m_openFlag = false;
}

void TfrmAdd::CreateControls()
{
    // Created first so that they stay behind the groups that hide them.
    Label13 = MakeLabel(this, QStringLiteral("Label13"), QStringLiteral("<дополнительных параметров нет>"),
        QRect(250, 90, 250, 20));
    Label13->setAlignment(Qt::AlignCenter);
    Label10 = MakeLabel(this, QStringLiteral("Label10"), QStringLiteral("<устанавливать время не нужно>"),
        QRect(8, 262, 236, 20));
    Label10->setAlignment(Qt::AlignCenter);

    radType = new QGroupBox(QStringLiteral("Что следует сделать?"), this);
    radType->setObjectName(QStringLiteral("radType"));
    radType->setGeometry(8, 4, 236, 196);
    m_typeButtons = new QButtonGroup(this);
    for (int i = 0; i < kTypeItems.size(); ++i) {
        auto *item = new QRadioButton(kTypeItems.at(i), radType);
        item->setObjectName(QStringLiteral("radType%1").arg(i));
        item->setAccessibleName(kTypeItems.at(i));
        item->setGeometry(10, 22 + i * 24, 220, 22);
        m_typeButtons->addButton(item, i);
    }
    m_typeButtons->button(0)->setChecked(true);
    connect(m_typeButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            radTypeClick(id);
    });

    CreateRemindGroup();
    CreateTimeGroup();
    CreateDateGroup();
    CreateButtons();
    ApplyTypeLayout(ttRemind);
}

void TfrmAdd::CreateRemindGroup()
{
    grpRemindAlso = new QGroupBox(QStringLiteral("Дополнительные параметры задания"), this);
    grpRemindAlso->setObjectName(QStringLiteral("grpRemindAlso"));
    grpRemindAlso->setGeometry(250, 4, 250, 196);
    grpRemindAlso->setAutoFillBackground(true); // covers Label13 behind it
    QWidget *g = grpRemindAlso;

    Label11 = MakeLabel(g, QStringLiteral("Label11"), QString(), QRect(8, 18, 234, 16));
    btnAudioOpen = MakeButton(
        g, QStringLiteral("btnAudioOpen"), QStringLiteral("От&крыть"), QRect(8, kAudioOpenTop, 84, 24));
    chkPlaySound = MakeCheck(g, QStringLiteral("chkPlaySound"),
        QStringLiteral("Проигрывать звуковой файл (*.wav)"), QRect(8, 44, 234, 20));
    chkPlaySound->setChecked(true);
    edtSoundFileName = MakeEdit(g, QStringLiteral("edtSoundFileName"), QRect(8, 66, 162, 24));
    edtSoundFileName->setReadOnly(true);
    setTextColor(edtSoundFileName, Qt::blue);
    btnAudioPlay = MakeButton(g, QStringLiteral("btnAudioPlay"), QString(), QRect(176, 66, 30, 24));
    btnAudioPlay->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    btnAudioPlay->setToolTip(QStringLiteral("Прослушать"));
    btnAudioStop = MakeButton(g, QStringLiteral("btnAudioStop"), QString(), QRect(210, 66, 30, 24));
    btnAudioStop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    btnAudioStop->setToolTip(QStringLiteral("Остановить"));
    edtProgFileName = MakeEdit(g, QStringLiteral("edtProgFileName"), QRect(8, 38, 234, 24));
    edtProgFileName->setReadOnly(true);
    setTextColor(edtProgFileName, QColor(128, 0, 128));
    edtBirthFIO = MakeEdit(g, QStringLiteral("edtBirthFIO"), QRect(8, 38, 234, 24));
    edtBirthFIO->setFocusPolicy(Qt::ClickFocus);
    setTextColor(edtBirthFIO, QColor(0, 100, 0)); // a green that reads on the light blue
    chkShowMessage = MakeCheck(g, QStringLiteral("chkShowMessage"),
        QStringLiteral("Показывать свое напоминающее сообщение"), QRect(8, 94, 234, 20));
    memMessage = new QPlainTextEdit(g);
    memMessage->setObjectName(QStringLiteral("memMessage"));
    memMessage->setGeometry(8, 116, 234, 72);
    memMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memMessage->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memMessage->setToolTip(QStringLiteral("Длина сообщения не должна превышать 150 символов!"));
    memMessage->setPlainText(kInitialMemo.join(QLatin1Char('\n')));
    SetFieldBackground(memMessage);

    connect(chkPlaySound, &QCheckBox::toggled, this, &TfrmAdd::chkPlaySoundClick);
    connect(chkShowMessage, &QCheckBox::toggled, this, &TfrmAdd::chkShowMessageClick);
    connect(btnAudioOpen, &QPushButton::clicked, this, &TfrmAdd::btnAudioOpenClick);
    connect(btnAudioPlay, &QPushButton::clicked, this, &TfrmAdd::btnAudioPlayClick);
    connect(btnAudioStop, &QPushButton::clicked, this, &TfrmAdd::btnAudioStopClick);
    connect(memMessage, &QPlainTextEdit::textChanged, this, &TfrmAdd::memMessageChange);
    chkShowMessageClick();
}

void TfrmAdd::CreateTimeGroup()
{
    using namespace TaskDialogLists;
    grpTimeSettings = new QGroupBox(QStringLiteral("Установка времени выполнения"), this);
    grpTimeSettings->setObjectName(QStringLiteral("grpTimeSettings"));
    grpTimeSettings->setGeometry(8, 204, 236, 136);
    grpTimeSettings->setAutoFillBackground(true); // covers Label10 behind it
    QWidget *g = grpTimeSettings;
    QLabel *hours = MakeLabel(g, QStringLiteral("lblHours"), QStringLiteral("Часы"), QRect(10, 18, 60, 16));
    QLabel *minutes
        = MakeLabel(g, QStringLiteral("lblMinutes"), QStringLiteral("Минуты"), QRect(86, 18, 60, 16));
    QLabel *seconds
        = MakeLabel(g, QStringLiteral("lblSeconds"), QStringLiteral("Секунды"), QRect(162, 18, 66, 16));
    cbxHours = MakeList(g, QStringLiteral("cbxHours"), HourItems(), QRect(10, 36, 66, 24));
    cbxMinutes = MakeList(g, QStringLiteral("cbxMinutes"), MinuteItems(), QRect(86, 36, 66, 24));
    cbxSeconds = MakeList(g, QStringLiteral("cbxSeconds"), MinuteItems(), QRect(162, 36, 66, 24));
    hours->setBuddy(cbxHours);
    minutes->setBuddy(cbxMinutes);
    seconds->setBuddy(cbxSeconds);

    grpPlusTime = new QGroupBox(g);
    grpPlusTime->setObjectName(QStringLiteral("grpPlusTime"));
    grpPlusTime->setGeometry(6, 64, 226, 66);
    btnPlusTime = MakeButton(grpPlusTime, QStringLiteral("btnPlusTime"),
        QStringLiteral("+ к установленному времени"), QRect(4, 6, 218, 24));
    cbxPlusHours = MakeList(grpPlusTime, QStringLiteral("cbxPlusHours"), HourItems(), QRect(4, 36, 66, 24));
    cbxPlusMinutes
        = MakeList(grpPlusTime, QStringLiteral("cbxPlusMinutes"), MinuteItems(), QRect(80, 36, 66, 24));
    cbxPlusSeconds
        = MakeList(grpPlusTime, QStringLiteral("cbxPlusSeconds"), MinuteItems(), QRect(156, 36, 66, 24));
    connect(btnPlusTime, &QPushButton::clicked, this, &TfrmAdd::btnPlusTimeClick);
}

void TfrmAdd::CreateDateGroup()
{
    using namespace TaskDialogLists;
    grpDateSettings = new QGroupBox(QStringLiteral("Установка даты выполнения"), this);
    grpDateSettings->setObjectName(QStringLiteral("grpDateSettings"));
    grpDateSettings->setGeometry(250, 204, 250, 136);
    QWidget *g = grpDateSettings;
    QLabel *day = MakeLabel(g, QStringLiteral("lblDay"), QStringLiteral("Число"), QRect(10, 18, 50, 16));
    QLabel *month = MakeLabel(g, QStringLiteral("lblMonth"), QStringLiteral("Месяц"), QRect(66, 18, 90, 16));
    Label6 = MakeLabel(g, QStringLiteral("Label6"), QStringLiteral("Год"), QRect(168, 18, 60, 16));
    cbxDay = MakeList(g, QStringLiteral("cbxDay"), DayItems(), QRect(10, 36, 50, 24));
    cbxMonth = MakeList(g, QStringLiteral("cbxMonth"), MonthItems(), QRect(66, 36, 96, 24));
    cbxYear = MakeList(g, QStringLiteral("cbxYear"), YearItems(), QRect(168, 36, 66, 24));
    day->setBuddy(cbxDay);
    month->setBuddy(cbxMonth);
    Label6->setBuddy(cbxYear);
    chkEveryDay = MakeCheck(
        g, QStringLiteral("chkEveryDay"), QStringLiteral("Выполнять каждый день"), QRect(10, 72, 230, 20));
    pnlBirthWarning = MakeLabel(g, QStringLiteral("pnlBirthWarning"),
        QStringLiteral("Помните, что Вы устанавливаете лишь дату напоминания о дне рождения. "
                       "Точную дату дня рождения вы можете записать в напоминающем "
                       "сообщении."),
        QRect(6, 64, 238, 66));
    pnlBirthWarning->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBirthWarning->setMargin(2);
    connect(chkEveryDay, &QCheckBox::toggled, this, &TfrmAdd::chkEveryDayClick);
}

void TfrmAdd::CreateButtons()
{
    btnOK = MakeButton(this, QStringLiteral("btnOK"), QStringLiteral("&ОК"), QRect(256, 346, 78, 26));
    btnOK->setDefault(true);
    btnCancel
        = MakeButton(this, QStringLiteral("btnCancel"), QStringLiteral("От&мена"), QRect(339, 346, 78, 26));
    btnHelp
        = MakeButton(this, QStringLiteral("btnHelp"), QStringLiteral("&Справка"), QRect(422, 346, 78, 26));
    connect(btnOK, &QPushButton::clicked, this, &TfrmAdd::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmAdd::reject);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmAdd::btnHelpClick);
}

void TfrmAdd::FillControls()
{
    TaskDialogState state = State();
    FillTaskDialogDefaults(state, *m_ctx.settings, m_ctx.clock->CurrentDateTime());
    if (!m_addMode) {
        TxtFile file;
        file.FileName = m_ctx.taskFilePath;
        file.Load();
        const int task = m_ctx.view ? m_ctx.view->SelectedRow() : -1;
        if (task < 0 || task >= TaskCount(file))
            throw ZarvoError(Msg::EditedTaskGone);
        m_opened = ReadTaskIntoDialog(state, file, task);
    }
    SetState(state);
}

TaskDialogState TfrmAdd::State() const
{
    TaskDialogState state;
    state.typeIndex = m_typeButtons->checkedId();
    state.playSound = chkPlaySound->isChecked();
    state.soundFileName = edtSoundFileName->text();
    state.soundFilePath = m_soundFilePath;
    state.showMessage = chkShowMessage->isChecked();
    state.messageLines = MemoDisplayLines();
    state.progFileName = edtProgFileName->text();
    state.progFilePath = m_progFilePath;
    state.birthName = edtBirthFIO->text();
    state.hour = cbxHours->currentIndex();
    state.minute = cbxMinutes->currentIndex();
    state.second = cbxSeconds->currentIndex();
    state.plusHour = cbxPlusHours->currentIndex();
    state.plusMinute = cbxPlusMinutes->currentIndex();
    state.plusSecond = cbxPlusSeconds->currentIndex();
    state.dayIndex = cbxDay->currentIndex();
    state.monthIndex = cbxMonth->currentIndex();
    state.yearIndex = cbxYear->currentIndex();
    state.everyDay = chkEveryDay->isChecked();
    return state;
}

void TfrmAdd::SetState(const TaskDialogState &state)
{
    chkPlaySound->setChecked(state.playSound);
    m_soundFilePath = state.soundFilePath;
    ShowFile(edtSoundFileName, state.soundFileName, state.soundFilePath);
    chkShowMessage->setChecked(state.showMessage);
    const QString memo = state.messageLines.join(QLatin1Char('\n'));
    if (memMessage->toPlainText() != memo)
        memMessage->setPlainText(memo);
    m_progFilePath = state.progFilePath;
    ShowFile(edtProgFileName, state.progFileName, state.progFilePath);
    edtBirthFIO->setText(state.birthName);
    setIndex(cbxHours, state.hour);
    setIndex(cbxMinutes, state.minute);
    setIndex(cbxSeconds, state.second);
    setIndex(cbxPlusHours, state.plusHour);
    setIndex(cbxPlusMinutes, state.plusMinute);
    setIndex(cbxPlusSeconds, state.plusSecond);
    setIndex(cbxDay, state.dayIndex);
    setIndex(cbxMonth, state.monthIndex);
    setIndex(cbxYear, state.yearIndex);
    chkEveryDay->setChecked(state.everyDay);
    m_typeButtons->button(state.typeIndex)->setChecked(true);
    ApplyTypeLayout(state.typeIndex + 1);
    chkPlaySoundClick();
    chkShowMessageClick();
    ApplyDateEnabling();
}

void TfrmAdd::radTypeClick(int index)
{
    ApplyTypeLayout(index + 1);
}

void TfrmAdd::ApplyTypeLayout(int type)
{
    const bool remind = type == ttRemind;
    const bool program = type == ttRunProgram;
    const bool birthday = type == ttBirthday;
    const bool system = !remind && !program && !birthday;

    // The controls inside the group keep their state while the group is hidden.
    grpRemindAlso->setVisible(!system);
    if (!system) {
        Label11->setVisible(program || birthday);
        Label11->setText(program ? QStringLiteral("Введите путь к файлу программы или документа")
                                 : QStringLiteral("Как звать именинника?"));
        chkPlaySound->setVisible(remind);
        btnAudioOpen->setVisible(remind || program);
        if (remind) {
            btnAudioOpen->move(btnAudioOpen->x(), kAudioOpenTop);
            btnAudioOpen->setEnabled(chkPlaySound->isChecked());
        } else if (program) {
            btnAudioOpen->move(btnAudioOpen->x(), btnAudioPlay->y());
            btnAudioOpen->setEnabled(true);
        }
        btnAudioPlay->setVisible(remind);
        btnAudioStop->setVisible(remind);
        edtSoundFileName->setVisible(remind);
        edtProgFileName->setVisible(program);
        edtBirthFIO->setVisible(birthday);
        chkShowMessage->setVisible(!program);
        memMessage->setVisible(!program);
    }
    grpTimeSettings->setVisible(!birthday);
    Label6->setVisible(!birthday);
    cbxYear->setVisible(!birthday);
    chkEveryDay->setVisible(!birthday);
    pnlBirthWarning->setVisible(birthday);
    ApplyDateEnabling();
}

void TfrmAdd::ApplyDateEnabling()
{
    const bool birthday = m_typeButtons->checkedId() + 1 == ttBirthday;
    const bool dated = birthday || !chkEveryDay->isChecked();
    cbxDay->setEnabled(dated);
    cbxMonth->setEnabled(dated);
    cbxYear->setEnabled(!birthday && dated);
}

void TfrmAdd::chkPlaySoundClick()
{
    const bool on = chkPlaySound->isChecked();
    edtSoundFileName->setEnabled(on);
    btnAudioPlay->setEnabled(on);
    btnAudioStop->setEnabled(on);
    // In the program layout the same button chooses the program and stays enabled.
    if (m_typeButtons->checkedId() + 1 != ttRunProgram)
        btnAudioOpen->setEnabled(on);
}

void TfrmAdd::chkShowMessageClick()
{
    memMessage->setEnabled(chkShowMessage->isChecked());
}

void TfrmAdd::chkEveryDayClick()
{
    ApplyDateEnabling();
}

void TfrmAdd::btnPlusTimeClick()
{
    TaskDialogState state = State();
    if (state.hour < 0 || state.minute < 0 || state.second < 0 || state.plusHour < 0 || state.plusMinute < 0
        || state.plusSecond < 0)
        return;
    AddPlusTime(state);
    setIndex(cbxHours, state.hour);
    setIndex(cbxMinutes, state.minute);
    setIndex(cbxSeconds, state.second);
}

void TfrmAdd::btnAudioOpenClick()
{
    const bool sound = m_typeButtons->checkedId() + 1 == ttRemind;
    const QString path = m_chooseFile(this, QtFileFilter(sound ? Msg::SoundFilter : Msg::ProgramFilter));
    if (path.isEmpty())
        return;
    const QString shown = FileNamePart(path, true);
    if (sound) {
        m_soundFilePath = path;
        ShowFile(edtSoundFileName, shown, path);
    } else {
        m_progFilePath = path;
        ShowFile(edtProgFileName, shown, path);
    }
}

void TfrmAdd::btnAudioPlayClick()
{
    if (!m_player.Play(m_soundFilePath))
        ShowMessage(Msg::SoundCannotPlay);
}

void TfrmAdd::btnAudioStopClick()
{
    m_player.Stop();
}

void TfrmAdd::btnOKClick()
{
    const TaskDialogState state = State();
    if (const auto refusal = ValidateTaskDialog(state, m_ctx.clock->CurrentDateTime())) {
        ShowMessage(*refusal);
        return;
    }
    const auto gone = WriteTaskDialog(m_ctx.taskFilePath, state, m_opened);
    if (gone) {
        // Nothing was written; the list may still show the task that is gone.
        ShowMessage(*gone);
        RebuildTaskList(m_ctx);
        reject();
        return;
    }
    RebuildTaskList(m_ctx);
    accept();
}

void TfrmAdd::btnHelpClick()
{
    m_help.OpenHelp(Msg::HelpAddDialog);
}

void TfrmAdd::memMessageChange()
{
    const QString text = memMessage->toPlainText();
    const int excess = int(text.size()) - kMemoMaxLength;
    if (excess <= 0)
        return;
    // What was just typed or pasted is cut back to the memo's limit.
    QTextCursor cursor = memMessage->textCursor();
    const int end = cursor.position();
    const int start = std::max(0, end - excess);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    if (memMessage->toPlainText().size() > kMemoMaxLength)
        memMessage->setPlainText(memMessage->toPlainText().left(kMemoMaxLength));
}

QStringList TfrmAdd::MemoDisplayLines() const
{
    QStringList paragraphs = memMessage->toPlainText().split(QLatin1Char('\n'));
    // Like a memo's line list, a text ending in a line break has no empty last line.
    if (!paragraphs.isEmpty() && paragraphs.constLast().isEmpty())
        paragraphs.removeLast();

    // The lines as the memo shows them: each paragraph wrapped at the memo's width.
    const qreal margin = memMessage->document()->documentMargin();
    const qreal width = memMessage->contentsRect().width()
        - memMessage->verticalScrollBar()->sizeHint().width() - 2 * margin;
    QStringList lines;
    for (const QString &paragraph : std::as_const(paragraphs)) {
        QTextLayout layout(paragraph, memMessage->font());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        bool any = false;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
            any = true;
        }
        layout.endLayout();
        if (!any)
            lines << QString();
    }
    return lines;
}

void TfrmAdd::ShowMessage(const QString &text)
{
    if (m_ctx.messages)
        m_ctx.messages->ShowMessage(text);
}

void TfrmAdd::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_player.Stop();
        m_openFlag = false;
    }
    QDialog::done(result);
    TrimWorkingSet();
}

bool TfrmAdd::eventFilter(QObject *watched, QEvent *event)
{
    if (IsHelpKeyRelease(watched, event)) {
        btnHelpClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
