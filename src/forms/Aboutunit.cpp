#include "Aboutunit.h"

#include "Accessiblenames.h"
#include "Animationeffect.h"
#include "Linklabel.h"
#include "Messages.h"
#include "Ports.h"
#include "Windowlook.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>

QPointer<TfrmAbout> frmAbout;

static void InitAboutResources()
{
    Q_INIT_RESOURCE(about);
}

namespace {

QPixmap Artwork(const QString &name, QSize size)
{
    QSvgRenderer renderer(QStringLiteral(":/about/") + name);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

QLabel *FixedLabel(const QString &name, const QString &text, QWidget *parent, const QRect &place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// A label sized to its text, as auto-sized labels are.
template<typename Label> Label *SizedLabel(const QString &name, Label *label, QPoint place)
{
    label->setObjectName(name);
    label->adjustSize();
    label->move(place);
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget *parent, bool &aboutFormOpen, HelpViewer &help, UrlOpener openUrl)
    : QDialog(parent, WindowLook::CloseBoxOnlyFlags())
    , m_aboutFormOpen(aboutFormOpen)
    , m_help(help)
    , m_openUrl(std::move(openUrl))
{
    InitAboutResources();
    if (!m_openUrl)
        m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };

    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(Msg::AboutCaption);
    setFont(WindowLook::DialogFont());
    // The button face with the window text, both set: a dark system palette keeps no half.
    WindowLook::SetClassicColours(*this);
    setFixedSize(308, 251);
    CreateControls();
    AccessibleNames::Apply(*this);

    // Centred on the screen when shown; placed now, so that the opening animation converges on
    // the window's final place.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + qMax(0, (area.width() - width()) / 2),
            area.top() + qMax(0, (area.height() - height()) / 2));
    }

    AnimationEffect1 = new TAnimationEffect(this);
    AnimationEffect1->SetAnimateOnShow(true);
    AnimationEffect1->SetAnimateOnHide(true);
    AnimationEffect1->SetDelay(100);
    AnimationEffect1->SetFireworkBlasts(10);
    AnimationEffect1->SetFrames(6);
    AnimationEffect1->SetEffectType(etRandom);
    AnimationEffect1->SetSteps(50);

    // Key preview: the window sees key releases of all its controls first.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    FormCreate();
}

TfrmAbout::~TfrmAbout()
{
    // Closing clears the flag; a window destroyed without closing (its parent went) does so too.
    m_aboutFormOpen = false;
}

void TfrmAbout::CreateControls()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(4, 6, 129, 91);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Artwork(QStringLiteral("image1.svg"), {118, 82}));
    Image1->setGeometry(5, 4, 118, 82);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(136, 0, 169, 97);
    Image2 = new QLabel(GroupBox1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(Artwork(QStringLiteral("image2.svg"), {72, 32}));
    Image2->setGeometry(49, 8, 72, 32);
    Label9 = FixedLabel(
        QStringLiteral("Label9"), QStringLiteral("Автор.........Тарвиль"), GroupBox1, {8, 45, 161, 21});
    Label2 = FixedLabel(QStringLiteral("Label2"), QStringLiteral("Версия...........................1.0 rc4"),
        GroupBox1, {8, 61, 153, 21});
    Label3 = FixedLabel(QStringLiteral("Label3"), QStringLiteral("Сделано....................2.11.2004"),
        GroupBox1, {8, 77, 153, 21});

    GroupBox2 = new QGroupBox(QStringLiteral("Контактная информация"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(4, 100, 301, 61);
    Label5 = SizedLabel(QStringLiteral("Label5"), new QLabel(QStringLiteral("E-mail:"), GroupBox2), {92, 18});
    Label6 = SizedLabel(QStringLiteral("Label6"), new LinkLabel(Msg::AuthorEmail, GroupBox2), {128, 18});
    Label8 = SizedLabel(
        QStringLiteral("Label8"), new QLabel(QStringLiteral("Сайт разработчика:"), GroupBox2), {23, 38});
    Label7 = SizedLabel(QStringLiteral("Label7"), new LinkLabel(Msg::HomePage, GroupBox2), {128, 38});
    connect(Label6, &LinkLabel::clicked, this, &TfrmAbout::Label6Click);
    connect(Label7, &LinkLabel::clicked, this, &TfrmAbout::Label7Click);

    GroupBox3 = new QGroupBox(QStringLiteral("Тестеры"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(4, 164, 301, 50);
    Label1 = FixedLabel(QStringLiteral("Label1"), QStringLiteral("Глеб Ставров\nНина Оржевская"), GroupBox3,
        {8, 14, 145, 33});
    Label4 = FixedLabel(QStringLiteral("Label4"), QStringLiteral("Артём Лисицын\nВера Калугина"), GroupBox3,
        {149, 14, 145, 33});
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    BitBtn1 = new QPushButton(QIcon(Artwork(QStringLiteral("ok.svg"), {16, 16})), QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(117, 219, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmAbout::BitBtn1Click);
}

void TfrmAbout::ShowAbout(QWidget *parent, bool &aboutFormOpen, HelpViewer &help, UrlOpener openUrl)
{
    if (aboutFormOpen && frmAbout) {
        frmAbout->show();
        frmAbout->raise();
        frmAbout->activateWindow();
        return;
    }
    frmAbout = new TfrmAbout(parent, aboutFormOpen, help, std::move(openUrl));
    // Modal to its owner only: the tray menu stays usable and can bring the window forward.
    if (parent)
        frmAbout->setWindowModality(Qt::WindowModal);
    frmAbout->exec(); // frees itself when closed
}

void TfrmAbout::done(int result)
{
    // Qt closes a dialog ended this way without a close event, so the flag is cleared here; the
    // window is freed once the loop gets back to it.
    QDialog::done(result);
    FormClose();
}

void TfrmAbout::FormCreate()
{
    m_aboutFormOpen = true;
}

void TfrmAbout::FormClose()
{
    m_aboutFormOpen = false;
}

void TfrmAbout::closeEvent(QCloseEvent *event)
{
    FormClose();
    QDialog::closeEvent(event);
}

void TfrmAbout::keyPressEvent(QKeyEvent *event)
{
    // The window has no Cancel button, so Escape does not close it; Enter presses OK.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmAbout::FormKeyUp(int key)
{
    if (key == Qt::Key_F1)
        m_help.OpenHelp(Msg::HelpAbout);
}

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat()) {
            FormKeyUp(key->key());
            // F1 ends here, so the window does not see it again as it travels up from a control.
            if (key->key() == Qt::Key_F1)
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::BitBtn1Click()
{
    accept();
}

void TfrmAbout::Label6Click()
{
    m_openUrl(QUrl(Msg::MailLink));
}

void TfrmAbout::Label7Click()
{
    m_openUrl(QUrl(Msg::HomePage));
}
