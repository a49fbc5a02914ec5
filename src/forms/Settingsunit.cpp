#include "Settingsunit.h"

#include "Accessiblenames.h"
#include "Context.h"
#include "Dialogwidgets.h"
#include "Filefilter.h"
#include "Messages.h"
#include "Ports.h"
#include "Settingsstore.h"
#include "Taskdialog.h"
#include "Tasklist.h"
#include "Windowlook.h"
#include "Workingset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using namespace DialogWidgets;

namespace {

QStringList simvCountItems()
{
    QStringList items;
    for (int n = SettingsDialogLists::FirstSimvCount; n <= SettingsDialogLists::LastSimvCount; ++n)
        items << QString::number(n);
    return items;
}

QWidget *addTab(QTabWidget *pages, const QString &name, const QString &title)
{
    auto *page = new QWidget(pages);
    page->setObjectName(name);
    pages->addTab(page, title);
    return page;
}

} // namespace

TfrmSettings::TfrmSettings(CoreContext &ctx, HelpViewer &help, bool &settingsFormOpen, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_help(help)
    , m_openFlag(settingsFormOpen)
    , m_chooseFile(&ChooseFile)
{
    setObjectName(QStringLiteral("frmSettings"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Настройки"));
    setFixedSize(409, 253);
    setWindowFlags(WindowLook::CloseBoxOnlyFlags());
    WindowLook::SetClassicColours(*this);
    setFont(WindowLook::DialogFont());

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(6, 6, 397, 206);
    CreateGeneralTab();
    CreateFilesTab();
    CreateMiscTab();
    PageControl1->setCurrentIndex(0);
    CreateButtons();
    AccessibleNames::Apply(*this);
    WatchChildren(this);

    SetValues(LoadSettingsDialog(*m_ctx.settings));
    // Raised only once the dialog exists: a loading that fails leaves no dialog behind.
    m_openFlag = true;
}

TfrmSettings::~TfrmSettings()
{
    m_openFlag = false;
}

void TfrmSettings::CreateGeneralTab()
{
    QWidget *page = addTab(PageControl1, QStringLiteral("tabGeneral"), QStringLiteral("Общие"));
    chkRunOnStart = MakeCheck(page, QStringLiteral("chkRunOnStart"),
        QStringLiteral("запускать программу при загрузке Windows"), QRect(12, 16, 370, 20));
    chkMinimaze = MakeCheck(page, QStringLiteral("chkMinimaze"),
        QStringLiteral("автоматически сворачивать в трэй при запуске программы"), QRect(12, 44, 370, 20));
}

void TfrmSettings::CreateFilesTab()
{
    QWidget *page = addTab(PageControl1, QStringLiteral("tabFiles"), QStringLiteral("Файлы"));
    chkPlaySound = MakeCheck(page, QStringLiteral("chkPlaySound"),
        QStringLiteral("проигрывать звуковой файл (по умолчанию)"), QRect(12, 8, 370, 20));
    QLabel *soundFile = MakeLabel(page, QStringLiteral("lblSoundFile"),
        QStringLiteral("Путь к звуковому файлу (по умолчанию):"), QRect(12, 34, 370, 16));
    edtSoundFileName = MakeEdit(page, QStringLiteral("edtSoundFileName"), QRect(12, 52, 280, 24));
    edtSoundFileName->setReadOnly(true);
    soundFile->setBuddy(edtSoundFileName);
    btnAudioOpen = MakeButton(
        page, QStringLiteral("btnAudioOpen"), QStringLiteral("От&крыть"), QRect(300, 52, 80, 24));
    QLabel *progFile = MakeLabel(page, QStringLiteral("lblProgFile"),
        QStringLiteral("Путь к файлу запускаемой программы\\документа (по умолчанию):"),
        QRect(12, 88, 370, 16));
    edtProgFileName = MakeEdit(page, QStringLiteral("edtProgFileName"), QRect(12, 106, 280, 24));
    edtProgFileName->setReadOnly(true);
    progFile->setBuddy(edtProgFileName);
    BitBtn1
        = MakeButton(page, QStringLiteral("BitBtn1"), QStringLiteral("От&крыть"), QRect(300, 106, 80, 24));
    connect(btnAudioOpen, &QPushButton::clicked, this, &TfrmSettings::btnAudioOpenClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmSettings::BitBtn1Click);
}

void TfrmSettings::CreateMiscTab()
{
    using namespace TaskDialogLists;
    QWidget *page = addTab(PageControl1, QStringLiteral("tabMisc"), QStringLiteral("Разное"));
    auto *plus
        = new QGroupBox(QStringLiteral("Значение прибавляемых часов, минут и секунд (по умолчанию)"), page);
    plus->setObjectName(QStringLiteral("grpPlusTime"));
    plus->setGeometry(8, 4, 376, 66);
    MakeLabel(plus, QStringLiteral("lblHours"), QStringLiteral("Часы"), QRect(10, 20, 40, 16))
        ->setBuddy(cbxPlusHours
            = MakeList(plus, QStringLiteral("cbxPlusHours"), HourItems(), QRect(10, 36, 60, 24)));
    MakeLabel(plus, QStringLiteral("lblMinutes"), QStringLiteral("Минуты"), QRect(90, 20, 60, 16))
        ->setBuddy(cbxPlusMinutes
            = MakeList(plus, QStringLiteral("cbxPlusMinutes"), MinuteItems(), QRect(90, 36, 60, 24)));
    MakeLabel(plus, QStringLiteral("lblSeconds"), QStringLiteral("Секунды"), QRect(170, 20, 60, 16))
        ->setBuddy(cbxPlusSeconds
            = MakeList(plus, QStringLiteral("cbxPlusSeconds"), MinuteItems(), QRect(170, 36, 60, 24)));
    chkMessage = MakeCheck(page, QStringLiteral("chkMessage"),
        QStringLiteral("показывать свое сообщение (по умолчанию)"), QRect(12, 76, 370, 20));
    auto *count = new QGroupBox(
        QStringLiteral("Количество символов из вашего сообщения вставлять в список задач:"), page);
    count->setObjectName(QStringLiteral("grpSimvCount"));
    count->setGeometry(8, 102, 376, 52);
    cbxSimvCount = MakeList(count, QStringLiteral("cbxSimvCount"), simvCountItems(), QRect(10, 22, 60, 24));
    MakeLabel(count, QStringLiteral("lblSimv"), QStringLiteral("сиволов"), QRect(76, 26, 80, 16));
    CreateMissedReportCheck(page);
}

// Below the character-count group, the last row of the tab.
void TfrmSettings::CreateMissedReportCheck(QWidget *page)
{
    chkMissedReport = MakeCheck(page, QStringLiteral("chkMissedReport"),
        QStringLiteral("Сообщать о пропущенных заданиях"), QRect(12, 158, 370, 20));
}

void TfrmSettings::CreateButtons()
{
    btnOK = MakeButton(this, QStringLiteral("btnOK"), QStringLiteral("&ОК"), QRect(157, 220, 78, 26));
    btnOK->setDefault(true);
    btnCancel
        = MakeButton(this, QStringLiteral("btnCancel"), QStringLiteral("От&мена"), QRect(241, 220, 78, 26));
    btnHelp
        = MakeButton(this, QStringLiteral("btnHelp"), QStringLiteral("&Справка"), QRect(325, 220, 78, 26));
    connect(btnOK, &QPushButton::clicked, this, &TfrmSettings::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmSettings::reject);
    connect(btnHelp, &QPushButton::clicked, this, &TfrmSettings::btnHelpClick);
}

void TfrmSettings::SetValues(const SettingsDialogValues &values)
{
    chkRunOnStart->setChecked(values.autoRun);
    chkMinimaze->setChecked(values.autoHide);
    chkPlaySound->setChecked(values.playSound);
    ShowFile(edtSoundFileName, values.soundFile, values.soundFile);
    ShowFile(edtProgFileName, values.progFile, values.progFile);
    cbxPlusHours->setCurrentIndex(values.plusHour);
    cbxPlusMinutes->setCurrentIndex(values.plusMinute);
    cbxPlusSeconds->setCurrentIndex(values.plusSecond);
    chkMessage->setChecked(values.showMessage);
    cbxSimvCount->setCurrentIndex(values.simvCountIndex);
    chkMissedReport->setChecked(values.missedReport);
}

SettingsDialogValues TfrmSettings::Values() const
{
    SettingsDialogValues values;
    values.autoRun = chkRunOnStart->isChecked();
    values.autoHide = chkMinimaze->isChecked();
    values.playSound = chkPlaySound->isChecked();
    values.soundFile = edtSoundFileName->text();
    values.progFile = edtProgFileName->text();
    values.plusHour = cbxPlusHours->currentIndex();
    values.plusMinute = cbxPlusMinutes->currentIndex();
    values.plusSecond = cbxPlusSeconds->currentIndex();
    values.showMessage = chkMessage->isChecked();
    values.simvCountIndex = cbxSimvCount->currentIndex();
    values.missedReport = chkMissedReport->isChecked();
    return values;
}

void TfrmSettings::btnAudioOpenClick()
{
    const QString path = m_chooseFile(this, QtFileFilter(Msg::SoundFilter));
    if (!path.isEmpty())
        ShowFile(edtSoundFileName, path, path);
}

void TfrmSettings::BitBtn1Click()
{
    const QString path = m_chooseFile(this, QtFileFilter(Msg::ProgramFilter));
    if (!path.isEmpty())
        ShowFile(edtProgFileName, path, path);
}

void TfrmSettings::btnOKClick()
{
    SettingsBackend &settings = *m_ctx.settings;
    SaveSettingsDialog(settings, Values(),
        [&settings](bool enable) { SetAutoRun(settings, enable, QCoreApplication::applicationFilePath()); });
    accept();
    // The list shows simv_count characters of each message: a new count shows at once.
    RebuildTaskList(m_ctx);
}

void TfrmSettings::btnHelpClick()
{
    m_help.OpenHelp(Msg::HelpSettings);
}

void TfrmSettings::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        m_openFlag = false;
    }
    QDialog::done(result);
    TrimWorkingSet();
}

bool TfrmSettings::eventFilter(QObject *watched, QEvent *event)
{
    if (IsHelpKeyRelease(watched, event)) {
        btnHelpClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
