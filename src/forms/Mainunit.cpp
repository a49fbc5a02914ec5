#include "Mainunit.h"

#include "Aboutunit.h"
#include "Accessiblenames.h"
#include "Addunit.h"
#include "Artwork.h"
#include "Endunit.h"
#include "Errors.h"
#include "Messages.h"
#include "Missedunit.h"
#include "Scheduler.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Settingsunit.h"
#include "Startuplistview.h"
#include "Tasklist.h"
#include "Tasklistdelegate.h"
#include "Tickdriver.h"
#include "Trayicon.h"
#include "Windowlook.h"
#include "Workingset.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>
#include <QWindow>

namespace {

// The client area the control positions below are given for; anchored controls keep their
// distance to the right and bottom edges when the window is larger.
constexpr int DesignClientWidth = 543;
constexpr int DesignClientHeight = 281;
constexpr int MinimumWidth = 551;
constexpr int MinimumHeight = 305;
constexpr int DesignWidth = 551;
constexpr int DesignHeight = 308;
constexpr int TrayImageIndex = 7;

const QColor PanelColour(102, 146, 175);
const QColor PanelText(240, 251, 255);

const QColor WindowColour(223, 223, 223);
const QColor WindowText(0, 0, 160);

QFrame *Bevel(QWidget *parent, const QString &name, QFrame::Shape shape)
{
    auto *bevel = new QFrame(parent);
    bevel->setObjectName(name);
    bevel->setFrameShape(shape);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

QPushButton *Button(QWidget *parent, const QString &name, const QString &caption, int left, int top)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption.trimmed().remove(QLatin1Char('&')));
    button->setGeometry(left, top, 89, 25);
    return button;
}

QLabel *Label(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    // Sized to its text when the window is first shown; a size of its own keeps a show() before
    // that from measuring the text.
    label->setGeometry(left, top, 0, 0);
    return label;
}

} // namespace

TfrmMain::TfrmMain(MainWindowServices services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Msg::AppTitle);
    setMinimumSize(MinimumWidth, MinimumHeight);
    resize(DesignWidth, DesignHeight);
    move(313, 247);
    setAutoFillBackground(true);
    // The whole palette is set, so a dark system palette cannot pair its own colours with ours.
    WindowLook::SetClassicColours(*this);
    WindowLook::SetWindowColours(*this, WindowText, WindowColour);
    WindowLook::SetButtonColours(*this, WindowText, QColor(240, 240, 240));
    WindowLook::SetFieldColours(*this, WindowText, Qt::white);
    setFont(WindowLook::DialogFont());
    setWindowIcon(m_services.appIcon);

    m_ctx.taskFilePath = m_services.taskFilePath;
    m_ctx.settings = m_services.settings;
    m_ctx.clock = m_services.clock;
    m_startupList = std::make_unique<StartupListView>(*this);
    m_ctx.view = m_startupList.get();
    m_ctx.helperTimer = &m_helperPort;
    m_ctx.actions = m_services.actions;
    m_ctx.messages = m_services.messages ? m_services.messages : this;
    m_ctx.help = m_services.help;

    TrayComp1 = new TTrayIcon(this);
    TrayComp1->SetWindow(this);
    if (m_services.trayAvailable)
        TrayComp1->SetAvailabilityProbe(m_services.trayAvailable);
    if (m_services.trayHostReportsDoubleClick) {
        QMetaObject::invokeMethod(
            this, [this] { TrayComp1->SetHostReportsDoubleClick(m_services.trayHostReportsDoubleClick()); },
            Qt::QueuedConnection);
    }
    TrayComp1->SetIcons(m_services.images);
    TrayComp1->SetRestoreOn(TTrayIconMessage::imDoubleClick);
    TrayComp1->SetPopupMenuOn(TTrayIconMessage::imRightClickUp);
    // Watching the notification area subscribes on the session bus: it starts once the icon has
    // shown, which is also the first moment a change of host could matter.
    if (m_services.watchTrayHost) {
        QMetaObject::invokeMethod(
            this,
            [this] { m_services.watchTrayHost(TrayComp1, [tray = TrayComp1] { tray->HostChanged(); }); },
            Qt::QueuedConnection);
    }

    TimerHelper.setInterval(5000);
    connect(&TimerHelper, &QTimer::timeout, this, &TfrmMain::TimerHelperTimer);
    TimerCaption.setInterval(1500);
    TimerCaption.setSingleShot(true);
    connect(&TimerCaption, &QTimer::timeout, this, &TfrmMain::TimerCaptionTimer);

    connect(qApp, &QGuiApplication::commitDataRequest, this, &TfrmMain::SessionEnding);
    connect(qApp, &QCoreApplication::aboutToQuit, TrayComp1, &TTrayIcon::EndSession);

    FormCreate();
    BuildContents();

    if (m_services.wakeup) {
        m_tickDriver = std::make_unique<TickDriver>(m_ctx, *m_services.wakeup);
        // Before the tick of now runs: the report lists what no tick saw.
        connect(m_tickDriver.get(), &TickDriver::ticksMissed, this,
            [this](const QDateTime &from, const QDateTime &to) {
                Guarded([&] { ReportMissedBetween(m_ctx, *this, from, to); });
            });
        m_tickDriver->setWindowVisible(isVisible());
    }
    TimerCaption.start();
}

TfrmMain::~TfrmMain()
{
    m_tickDriver.reset(); // before the context it listens on
    delete frmMissed; // it works on the context too
}

void TfrmMain::BuildContents()
{
    if (!m_startupList)
        return;
    BuildControls();
    BuildMenus();
    SetTabOrder();
    LayOut();
    AccessibleNames::Apply(*this);
    TrayComp1->SetPopupMenu(popMenuTray);
    m_startupList->ApplyTo(*this);
    m_ctx.view = this;
    m_startupList.reset();
}

void TfrmMain::BuildControls()
{
    Label2 = Label(this, QStringLiteral("Label2"), QStringLiteral("Системные дата и время"), 20, 4);
    Label1 = Label(this, QStringLiteral("Label1"), QStringLiteral("Список задач"), 0, 4);

    Bevel(this, QStringLiteral("Bevel6"), QFrame::HLine)->setGeometry(7, 8, 11, 3);
    Bevel(this, QStringLiteral("Bevel2"), QFrame::HLine);
    Bevel(this, QStringLiteral("Bevel8"), QFrame::Box)->setGeometry(38, 71, 104, 154);
    Bevel(this, QStringLiteral("Bevel9"), QFrame::VLine);
    Bevel(this, QStringLiteral("Bevel7"), QFrame::HLine);
    // The titles sit on the lines beside them, covering them with the window's colour.
    for (QLabel *title : {Label1, Label2}) {
        title->setAutoFillBackground(true);
        title->raise();
    }

    pnlTimeAndDate = new QFrame(this);
    pnlTimeAndDate->setObjectName(QStringLiteral("pnlTimeAndDate"));
    pnlTimeAndDate->setGeometry(6, 20, 160, 49);
    pnlTimeAndDate->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlTimeAndDate->setLineWidth(2);
    pnlTimeAndDate->setAutoFillBackground(true);
    WindowLook::SetWindowColours(*pnlTimeAndDate, PanelText, PanelColour);

    pnlCaption = new QLabel(QStringLiteral("Zarvo 1.0"), pnlTimeAndDate);
    pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    pnlCaption->setFont(WindowLook::ArialFont(19, true, true));
    pnlCaption->setAlignment(Qt::AlignCenter);
    pnlCaption->setGeometry(pnlTimeAndDate->rect());

    lblData = Label(pnlTimeAndDate, QStringLiteral("lblData"), QString(), 8, 5);
    lblData->setToolTip(QStringLiteral("Текущая системная дата"));
    lblDayOfWeek = Label(pnlTimeAndDate, QStringLiteral("lblDayOfWeek"), QString(), 114, 5);
    lblDayOfWeek->setToolTip(QStringLiteral("День недели"));
    lblTime = Label(pnlTimeAndDate, QStringLiteral("lblTime"), QString(), 37, 22);
    lblTime->setToolTip(QStringLiteral("Текущее системное время"));
    lblTime->setFont(WindowLook::ArialFont(16, true));
    lblTime->setAlignment(Qt::AlignCenter);
    lblTime->setGeometry(37, 22, 76, 17);
    for (QLabel *clock : {lblData, lblDayOfWeek, lblTime})
        clock->hide();

    imgRing = new QLabel(pnlTimeAndDate);
    imgRing->setObjectName(QStringLiteral("imgRing"));
    imgRing->setGeometry(128, 22, 17, 17);
    imgRing->setToolTip(QStringLiteral("Если есть звонок, значит есть активные задачи"));
    imgRing->setAccessibleName(QStringLiteral("Звонок"));
    imgRing->setPixmap(Artwork::Bell());
    imgRing->hide();

    cklTaskList = new QListWidget(this);
    cklTaskList->setObjectName(QStringLiteral("cklTaskList"));
    cklTaskList->setAccessibleName(QStringLiteral("Список задач"));
    cklTaskList->setSelectionMode(QAbstractItemView::SingleSelection);
    cklTaskList->setUniformItemSizes(true);
    cklTaskList->setItemDelegate(new TaskListDelegate(&m_services.images, cklTaskList));
    cklTaskList->setFont(WindowLook::DialogFont());
    WindowLook::SetFieldColours(*cklTaskList, PanelText, PanelColour);
    // The user's click on a tick goes to the task model at once; storing it waits for the
    // list to finish its own handling of the click.
    connect(cklTaskList, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_settingRows == 0)
            cklTaskListClickCheck(item);
    });

    btnAdd = Button(this, QStringLiteral("btnAdd"), QStringLiteral("До&бавить... "), 44, 76);
    btnDelete = Button(this, QStringLiteral("btnDelete"), QStringLiteral("&Удалить      "), 44, 108);
    btnChange = Button(this, QStringLiteral("btnChange"), QStringLiteral("&Изменить..."), 44, 140);
    btnClear = Button(this, QStringLiteral("btnClear"), QStringLiteral("&Очистить     "), 44, 172);
    btnSettings = Button(this, QStringLiteral("btnSettings"), QStringLiteral("&Настройки..."), 44, 246);
    btnHelp = Button(this, QStringLiteral("btnHelp"), QStringLiteral("Меню    >>> "), 170, 246);
    btnExit = Button(this, QStringLiteral("btnExit"), QStringLiteral("&Выход          "), 446, 246);
    btnAdd->setDefault(true);
    const std::pair<QPushButton *, Artwork::Button> glyphs[] = {{btnAdd, Artwork::Button::Add},
        {btnDelete, Artwork::Button::Delete}, {btnChange, Artwork::Button::Change},
        {btnClear, Artwork::Button::Clear}, {btnSettings, Artwork::Button::Settings},
        {btnHelp, Artwork::Button::Menu}, {btnExit, Artwork::Button::Exit}};
    for (const auto &[button, glyph] : glyphs)
        button->setIcon(Artwork::ButtonGlyph(glyph));

    chkAll = new QCheckBox(QStringLiteral("Все задания"), this);
    chkAll->setObjectName(QStringLiteral("chkAll"));
    chkAll->setGeometry(45, 203, 85, 17);
    chkAll->setToolTip(QStringLiteral("Активировать\\деактивировать все задания"));

    connect(btnAdd, &QPushButton::clicked, this, [this] { Guarded([this] { btnAddClick(); }); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { Guarded([this] { btnDeleteClick(); }); });
    connect(btnChange, &QPushButton::clicked, this, [this] { Guarded([this] { btnChangeClick(); }); });
    connect(btnClear, &QPushButton::clicked, this, [this] { Guarded([this] { btnClearClick(); }); });
    connect(btnSettings, &QPushButton::clicked, this, [this] { Guarded([this] { btnSettingsClick(); }); });
    connect(btnExit, &QPushButton::clicked, this, &TfrmMain::btnExitClick);
    connect(chkAll, &QCheckBox::clicked, this, [this] { Guarded([this] { chkAllClick(); }); });

    // Key preview: the window sees every key release before the focused control.
    const auto children = findChildren<QWidget *>();
    for (QWidget *child : children)
        child->installEventFilter(this);
    cklTaskList->viewport()->installEventFilter(this);
}

void TfrmMain::BuildMenus()
{
    const auto add = [this](QMenu *menu, const QString &name, const QString &caption, auto handler) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
        return action;
    };

    popMenuInfo = new QMenu(this);
    popMenuInfo->setObjectName(QStringLiteral("popMenuInfo"));
    mnuHelp
        = add(popMenuInfo, QStringLiteral("mnuHelp"), QStringLiteral("&Справка..."), &TfrmMain::mnuHelpClick);
    // F1 is shown here but handled on key release by the window, like every F1 of the program.
    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuHelp->setShortcutContext(Qt::WidgetShortcut);
    popMenuInfo->addSeparator();
    QMenu *internet = popMenuInfo->addMenu(QStringLiteral("&Интернет"));
    internet->setObjectName(QStringLiteral("mnuInternet"));
    mnuSendLetter = add(internet, QStringLiteral("mnuSendLetter"), QStringLiteral("&Письмо автору"),
        &TfrmMain::mnuSendLetterClick);
    mnuSendLetter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuHomeSait = add(internet, QStringLiteral("mnuHomeSait"),
        QStringLiteral("Д&омашняя страничка программы"), &TfrmMain::mnuHomeSaitClick);
    mnuHomeSait->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    popMenuInfo->addSeparator();
    mnuAbout = add(
        popMenuInfo, QStringLiteral("mnuAbout"), QStringLiteral("&О программе..."), &TfrmMain::mnuAboutClick);
    mnuAbout->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    // The menu's shortcuts work in the window even while the menu is closed.
    addActions({mnuSendLetter, mnuHomeSait, mnuAbout});

    popMenuTray = new QMenu(this);
    popMenuTray->setObjectName(QStringLiteral("popMenuTray"));
    mnuTrayShow = add(popMenuTray, QStringLiteral("mnuTrayShow"), QStringLiteral("Показать главное окно"),
        &TfrmMain::mnuTrayShowClick);
    popMenuTray->addSeparator();
    mnuTrayAdd = add(popMenuTray, QStringLiteral("mnuTrayAdd"), QStringLiteral("Добавить задание..."),
        &TfrmMain::btnAddClick);
    popMenuTray->addSeparator();
    mnuTraySettings = add(popMenuTray, QStringLiteral("mnuTraySettings"), QStringLiteral("Настройки..."),
        &TfrmMain::btnSettingsClick);
    popMenuTray->addSeparator();
    mnuTrayHelp = add(
        popMenuTray, QStringLiteral("mnuTrayHelp"), QStringLiteral("Справка..."), &TfrmMain::mnuHelpClick);
    QMenu *trayInternet = popMenuTray->addMenu(QStringLiteral("Интернет"));
    trayInternet->setObjectName(QStringLiteral("mnuTrayInternet"));
    mnuTraySendLetter = add(trayInternet, QStringLiteral("mnuTraySendLetter"),
        QStringLiteral("Послать письмо автору"), &TfrmMain::mnuSendLetterClick);
    mnuTrayHomePage = add(trayInternet, QStringLiteral("mnuTrayHomePage"),
        QStringLiteral("Домашняя страничка программы"), &TfrmMain::mnuHomeSaitClick);
    mnuTrayAbout = add(popMenuTray, QStringLiteral("mnuTrayAbout"), QStringLiteral("О программе..."),
        &TfrmMain::mnuAboutClick);
    popMenuTray->addSeparator();
    mnuTrayExit
        = add(popMenuTray, QStringLiteral("mnuTrayExit"), QStringLiteral("Выход"), &TfrmMain::btnExitClick);

    using Item = Artwork::MenuItem;
    const std::pair<QAction *, Item> pictures[]
        = {{mnuHelp, Item::Help}, {mnuSendLetter, Item::Mail}, {mnuHomeSait, Item::HomePage},
            {mnuAbout, Item::About}, {mnuTrayShow, Item::ShowMainWindow}, {mnuTrayAdd, Item::AddTask},
            {mnuTraySettings, Item::Settings}, {mnuTrayHelp, Item::Help}, {mnuTraySendLetter, Item::Mail},
            {mnuTrayHomePage, Item::HomePage}, {mnuTrayAbout, Item::About}, {mnuTrayExit, Item::Exit}};
    for (const auto &[action, picture] : pictures)
        action->setIcon(Artwork::MenuGlyph(picture));
}

void TfrmMain::SetTabOrder()
{
    const QList<QWidget *> order
        = {btnAdd, btnDelete, btnChange, btnClear, chkAll, btnSettings, btnHelp, btnExit, cklTaskList};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order.at(i), order.at(i + 1));
}

void TfrmMain::LayOut()
{
    const int dw = width() - DesignClientWidth;
    const int dh = height() - DesignClientHeight;
    cklTaskList->setGeometry(170, 20, 368 + dw, 207 + dh);
    btnSettings->move(44, 246 + dh);
    btnHelp->move(170, 246 + dh);
    btnExit->move(446 + dw, 246 + dh);
    findChild<QFrame *>(QStringLiteral("Bevel2"))->setGeometry(153, 10, 382 + dw, 3);
    findChild<QFrame *>(QStringLiteral("Bevel9"))->setGeometry(162, 67, 3, 167 + dh);
    findChild<QFrame *>(QStringLiteral("Bevel7"))->setGeometry(8, 229 + dh, 528 + dw, 6);
    // The title stays centred over the list (halves truncated, as integer division does).
    Label1->move(cklTaskList->x() + cklTaskList->width() / 2 - Label1->width() / 2, 4);
}

// Measuring text loads the fonts, which a start hidden in the tray does not need before its icon
// shows: the labels take their text's size when the window is first shown.
void TfrmMain::SizeLabelsToText()
{
    for (QLabel *label : {Label1, Label2, lblData, lblDayOfWeek})
        label->adjustSize();
    LayOut();
}

template<typename Handler> void TfrmMain::Guarded(Handler handler)
{
    // An error of a handler is shown with its own text; the handler is abandoned, the window
    // stays usable.
    try {
        handler();
    } catch (const ZarvoError &error) {
        ReportError(error.text());
    } catch (const std::exception &error) {
        ReportError(QString::fromLocal8Bit(error.what()));
    }
}

void TfrmMain::ReportError(const QString &text)
{
    m_ctx.messages->ShowMessage(text);
}

// ---- start-up and exit ----

void TfrmMain::FormCreate()
{
    // An error in any step is reported and the remaining steps are skipped.
    Guarded([this] {
        if (m_services.firstRunSetup)
            m_services.firstRunSetup(*this);
        RebuildTaskList(m_ctx);
        RearmFiredTasks(m_ctx);
        m_minimizeHook = true;
        TrayComp1->SetIconIndex(TrayImageIndex);
        TrayComp1->SetAnimate(false);
        TrayComp1->SetHide(true);
        TrayComp1->Update();
        TrayComp1->SetVisible(true);
        // From here the icon takes clicks whenever a box is open, and can bring up the window.
        BuildContents();
        if (ReadSettingBool(*m_ctx.settings, SettingsKeys::Settings, QStringLiteral("auto_hide"))
            && TrayComp1->IsShown()) {
            TrayComp1->Minimize();
            m_startHidden = true;
        }
    });
}

void TfrmMain::ShowAtStart()
{
    if (!m_startHidden)
        show();
    // After the window, so the user sees the list the notice speaks of.
    for (const QString &notice : std::as_const(m_services.startNotices))
        QMetaObject::invokeMethod(
            this, [this, notice] { m_ctx.messages->ShowMessage(notice); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        this, [this] { Guarded([this] { ReportMissedAtStart(m_ctx, *this); }); }, Qt::QueuedConnection);
}

void TfrmMain::ShowMissedTasks(const MissedTaskList &tasks)
{
    if (!frmMissed) {
        QList<QIcon> typeImages = m_services.images.mid(0, ttBirthday);
        frmMissed = new TfrmMissed(m_ctx, typeImages);
        frmMissed->setWindowIcon(m_services.appIcon);
    }
    frmMissed->AddTasks(tasks);
    frmMissed->show();
    frmMissed->raise();
    frmMissed->activateWindow();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_tickDriver)
        m_tickDriver->setWindowVisible(true);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    SizeLabelsToText();
    Guarded([this] { FormShow(); });
}

// Hidden in the tray, nobody sees the clock: the tick runs only when a task can be due.
void TfrmMain::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (m_tickDriver)
        m_tickDriver->setWindowVisible(false);
}

void TfrmMain::FormShow()
{
    SettingsBackend &store = *m_ctx.settings;
    const QString window = SettingsKeys::Window;
    // Read in the stored order; width and height pass the minimum size. The stored point is the
    // outer frame's top-left (what is saved at exit), brought onto a screen if it lies off one.
    const int top = ReadSettingInteger(store, window, QStringLiteral("top"));
    const int left = ReadSettingInteger(store, window, QStringLiteral("left"));
    resize(ReadSettingInteger(store, window, QStringLiteral("width")), height());
    resize(width(), ReadSettingInteger(store, window, QStringLiteral("height")));
    m_placement.RestoreFrame(QPoint(left, top));
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (width() < MinimumWidth)
        resize(MinimumWidth, height());
    if (height() < MinimumHeight)
        resize(width(), MinimumHeight);
    LayOut();
}

void TfrmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !m_minimizeHook || !isMinimized())
        return;
    // Minimizing always goes to the notification area, when there is one to go to.
    if (TrayComp1->IsShown())
        QMetaObject::invokeMethod(TrayComp1, &TTrayIcon::Minimize, Qt::QueuedConnection);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (m_sessionEnding || m_closing) {
        event->accept();
        emit ExitRequested(0);
        return;
    }
    m_closing = true;
    // A geometry that cannot be saved (a full disk) is reported, and the program still ends:
    // the user asked to leave.
    Guarded([this] {
        if (m_services.saveWindowGeometry)
            m_services.saveWindowGeometry(*this);
    });
    TrayComp1->Minimize();
    TfrmEnd farewell;
    farewell.exec();
    event->accept();
    emit ExitRequested(0);
}

void TfrmMain::SessionEnding()
{
    // The desktop session ends: no geometry, no farewell; the icon goes at once.
    m_sessionEnding = true;
    TrayComp1->EndSession();
}

// ---- timers ----

void TfrmMain::TimerHelperTimer()
{
    Guarded([this] { RearmFiredTasks(m_ctx); });
    TrimWorkingSet();
}

void TfrmMain::TimerCaptionTimer()
{
    for (QLabel *clock : {lblData, lblTime, lblDayOfWeek})
        clock->show();
    TimerCaption.stop();
    pnlCaption->setText(QString());
    Guarded([this] { UpdateActiveState(m_ctx); });
    TrimWorkingSet();
}

// ---- handlers ----

void TfrmMain::btnAddClick()
{
    if (AddFormOpen) {
        if (frmAdd) {
            frmAdd->show();
            frmAdd->raise();
            frmAdd->activateWindow();
        }
        return;
    }
    OpenTaskDialog(true);
}

void TfrmMain::btnChangeClick()
{
    if (SelectedRow() < 0 || AddFormOpen)
        return;
    OpenTaskDialog(false);
}

void TfrmMain::OpenTaskDialog(bool addMode)
{
    auto *dialog = new TfrmAdd(m_ctx, *m_services.sound, *m_services.help, AddFormOpen, addMode, this);
    frmAdd = dialog;
    ExecOverMainWindow(*dialog);
}

void TfrmMain::btnDeleteClick()
{
    DeleteTask(m_ctx, SelectedRow());
    RebuildTaskList(m_ctx);
}

void TfrmMain::btnClearClick()
{
    ClearAllTasks(m_ctx);
}

void TfrmMain::btnSettingsClick()
{
    if (SettingsFormOpen) {
        if (frmSettings) {
            frmSettings->show();
            frmSettings->raise();
            frmSettings->activateWindow();
        }
        return;
    }
    auto *dialog = new TfrmSettings(m_ctx, *m_services.help, SettingsFormOpen, this);
    frmSettings = dialog;
    ExecOverMainWindow(*dialog);
}

void TfrmMain::btnExitClick()
{
    // The close handler runs whether the window is shown or hidden in the tray (a window that
    // was never shown has nothing for QWidget::close to close).
    QCloseEvent event;
    QCoreApplication::sendEvent(this, &event);
}

void TfrmMain::chkAllClick()
{
    const bool all = chkAll->isChecked();
    for (int row = 0; row < RowCount(); ++row) {
        SetRowChecked(row, all);
        SetTaskTicked(m_ctx, row, all);
    }
    StoreTickStates(m_ctx);
}

void TfrmMain::cklTaskListClickCheck(QListWidgetItem *item)
{
    const int row = cklTaskList->row(item);
    const bool ticked = item->checkState() == Qt::Checked;
    Guarded([this, row, ticked] { SetTaskTicked(m_ctx, row, ticked); });
    QMetaObject::invokeMethod(
        this, [this] { Guarded([this] { StoreTickStates(m_ctx); }); }, Qt::QueuedConnection);
}

void TfrmMain::cklTaskListMouseUp(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        cklTaskList->clearSelection();
        cklTaskList->setCurrentRow(-1, QItemSelectionModel::Clear);
    }
    Guarded([this] { UpdateActiveState(m_ctx); });
}

void TfrmMain::mnuHelpClick()
{
    if (m_ctx.help)
        m_ctx.help->OpenHelp(Msg::HelpMain);
}

void TfrmMain::mnuSendLetterClick()
{
    if (m_services.openAddress)
        m_services.openAddress(Msg::MailLink);
}

void TfrmMain::mnuHomeSaitClick()
{
    if (m_services.openAddress)
        m_services.openAddress(Msg::HomePage);
}

void TfrmMain::mnuAboutClick()
{
    // Opens the About window modally, or brings the open one forward.
    if (!m_ctx.help)
        return;
    TfrmAbout::ShowAbout(this, AboutFormOpen, *m_ctx.help, [this](const QUrl &url) {
        if (m_services.openAddress)
            m_services.openAddress(url.toString());
    });
}

void TfrmMain::mnuTrayShowClick()
{
    TrayComp1->Restore();
}

void TfrmMain::OpenInfoMenu()
{
    // The window's outer top-left plus the button's place in the client area, 22 lower.
    const QPoint at = frameGeometry().topLeft() + btnHelp->pos() + QPoint(0, 22);
    popMenuInfo->popup(at);
}

// ---- keys and mouse ----

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cklTaskList->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // After the list has done its own part of the release (which may select the row).
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        QMetaObject::invokeMethod(
            this, [this, button] { cklTaskListMouseUp(button); }, Qt::QueuedConnection);
        return false;
    }
    if (watched == btnHelp && event->type() == QEvent::MouseButtonRelease) {
        OpenInfoMenu();
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            btnExit->click();
            return true;
        }
        // Enter works the focused button, otherwise the default button btnAdd.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers() == Qt::NoModifier) {
            if (watched == btnHelp)
                return true; // btnHelp acts on the release
            auto *button = qobject_cast<QPushButton *>(watched);
            (button ? button : btnAdd)->click();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // A release not taken by the focused control travels on to its parents; act on it once.
    QWidget *focus = QApplication::focusWidget();
    if (key->isAutoRepeat() || (focus && watched != focus))
        return false;
    Guarded([this, key, watched] {
        FormKeyUp(key->key());
        if (watched == cklTaskList)
            UpdateActiveState(m_ctx);
        if (watched == btnHelp && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            OpenInfoMenu();
    });
    return false;
}

void TfrmMain::FormKeyUp(int key)
{
    if (key == Qt::Key_Delete && SelectedRow() >= 0)
        btnDeleteClick();
    else if (key == Qt::Key_Insert)
        btnAddClick();
    else if (key == Qt::Key_F1)
        mnuHelpClick();
}

void TfrmMain::mousePressEvent(QMouseEvent *event)
{
    // A press on the window's free surface drags the whole window, as its title bar would.
    QWidget::mousePressEvent(event);
    if (m_dragButton != Qt::NoButton)
        return;
    // The window manager's move follows the left button only (it waits for that button's
    // release), so a drag with another button is done here and ends when that button is let go.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragButton = event->button();
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TfrmMain::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (m_dragButton == Qt::NoButton)
        return;
    if (!(event->buttons() & m_dragButton)) {
        m_dragButton = Qt::NoButton; // its release went elsewhere
        return;
    }
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void TfrmMain::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == m_dragButton)
        m_dragButton = Qt::NoButton;
}

// ---- TaskListView ----

int TfrmMain::RowCount() const
{
    return cklTaskList->count();
}

QString TfrmMain::RowText(int row) const
{
    return cklTaskList->item(row)->text();
}

void TfrmMain::SetRowChecked(int row, bool checked)
{
    ++m_settingRows;
    cklTaskList->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    --m_settingRows;
}

void TfrmMain::ClearRows()
{
    ++m_settingRows;
    cklTaskList->clear();
    --m_settingRows;
}

void TfrmMain::AppendRow(const QString &text, bool checked)
{
    ++m_settingRows;
    auto *item = new QListWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    // Screen readers get the row as it is seen: without the type digit.
    item->setData(Qt::AccessibleTextRole, TaskRowPaintFor(text).text);
    cklTaskList->addItem(item);
    --m_settingRows;
}

void TfrmMain::RemoveRow(int row)
{
    ++m_settingRows;
    delete cklTaskList->takeItem(row);
    --m_settingRows;
}

int TfrmMain::SelectedRow() const
{
    const QList<QListWidgetItem *> selected = cklTaskList->selectedItems();
    return selected.isEmpty() ? -1 : cklTaskList->row(selected.constFirst());
}

void TfrmMain::SetRingVisible(bool visible)
{
    imgRing->setVisible(visible);
}

bool TfrmMain::IsTimeLabelVisible() const
{
    // Asked of the label itself, so a window hidden in the tray still counts its clock shown.
    return !lblTime->isHidden();
}

void TfrmMain::SetControlEnabled(Control control, bool enabled)
{
    switch (control) {
    case Control::Change:
        btnChange->setEnabled(enabled);
        break;
    case Control::Delete:
        btnDelete->setEnabled(enabled);
        break;
    case Control::Clear:
        btnClear->setEnabled(enabled);
        break;
    case Control::AllTasks:
        chkAll->setEnabled(enabled);
        break;
    }
}

void TfrmMain::SetTrayHint(const QString &hint)
{
    TrayComp1->SetHint(hint);
}

void TfrmMain::RefreshTray()
{
    TrayComp1->Update();
}

void TfrmMain::SetClockTexts(const QString &time, const QString &date, const QString &weekday)
{
    lblTime->setText(time);
    lblData->setText(date);
    lblDayOfWeek->setText(weekday);
    // Hidden since the start, the labels are measured when the window is first shown: a tick
    // firing a task from the tray would otherwise load the fonts before the task's action.
    if (m_shownOnce) {
        lblData->adjustSize();
        lblDayOfWeek->adjustSize();
    }
}

// ---- UserMessages ----

void TfrmMain::ShowMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, Msg::AppTitle, text, QMessageBox::Ok, BoxOwner());
    ExecOverMainWindow(box);
}

bool TfrmMain::AskYesNo(const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, BoxOwner());
    return ExecOverMainWindow(box) == QMessageBox::Yes;
}

QWidget *TfrmMain::BoxOwner()
{
    // A box asked for by an open dialog blocks that dialog (and the main window behind it).
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return this;
}

int TfrmMain::ExecOverMainWindow(QDialog &dialog)
{
    // Modal to the main window (and the dialog it comes from) only, not to the whole program:
    // the tray icon keeps taking clicks, so its menu can bring the open dialog forward.
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}
