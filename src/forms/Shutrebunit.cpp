#include "Shutrebunit.h"

#include "Formstyle.h"
#include "Messages.h"
#include "Sessionservice.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

static void InitShutRebResources()
{
    Q_INIT_RESOURCE(remind); // the button glyphs; the resources live in a static library
}

namespace {

const QColor FormColour(102, 146, 175);

QLabel *WhiteLabel(QWidget *parent, const QString &name, const QString &text, int pixelSize, bool bold)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(PixelFont(DialogFamilies(), pixelSize, bold));
    SetTextColour(*label, Qt::white);
    return label;
}

// An auto-sized label at (x, y).
void PlaceAutoSized(QLabel *label, int x, int y)
{
    label->adjustSize();
    label->move(x, y);
}

// Gives a fixed-size, centred label the rectangle `box`, widened about its centre where the font
// in use needs more room for the longest of `texts`, so no text is ever cut off.
void FitCentred(QLabel *label, const QRect &box, const QStringList &texts)
{
    int width = box.width();
    for (const QString &text : texts)
        width = qMax(width, label->fontMetrics().horizontalAdvance(text));
    label->setGeometry(box.x() - (width - box.width()) / 2, box.y(), width, box.height());
}

} // namespace

TfrmShutReb::TfrmShutReb(SessionService &session, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_session(session)
{
    InitShutRebResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Msg::CountdownCaption);
    setFixedSize(302, 118);
    SetBackground(*this, FormColour);
    CreateControls();
    CentreOnScreen(*this);

    // The countdown runs from the window's creation.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TfrmShutReb::Timer1Timer);
    Timer1->start();
}

void TfrmShutReb::CreateControls()
{
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Bevel1->setGeometry(6, 6, 290, 105);

    // A sunken line along the bottom edge of the heading's rectangle (11, 8, 281 x 21).
    Bevel2 = new QFrame(this);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Bevel2->setGeometry(11, 8 + 21 - 2, 281, 2);

    Label3 = WhiteLabel(this, QStringLiteral("Label3"), QStringLiteral("Zarvo"), 13, true);
    PlaceAutoSized(Label3, 12, 10);

    Label1 = WhiteLabel(this, QStringLiteral("Label1"), QStringLiteral("Через"), 11, false);
    PlaceAutoSized(Label1, 64, 40);

    lblSec = WhiteLabel(this, QStringLiteral("lblSec"), QStringLiteral("15"), 13, true);
    lblSec->setGeometry(96, 38, 33, 16);
    lblSec->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label2 = WhiteLabel(this, QStringLiteral("Label2"), QStringLiteral("сек. компьютер будет"), 11, false);
    PlaceAutoSized(Label2, 125, 40);

    lblShutReb = WhiteLabel(this, QStringLiteral("lblShutReb"), QStringLiteral("перезагружен"), 11, false);
    FitCentred(lblShutReb, QRect(112, 56, 73, 13), {Msg::CountdownShutdown, Msg::CountdownReboot});
    lblShutReb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    btnOK = new QPushButton(QStringLiteral("&ОК"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(40, 80, 89, 25);
    btnOK->setIcon(QIcon(RenderSvg(QStringLiteral(":/remind/ok_glyph.svg"), QSize(16, 16))));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &TfrmShutReb::btnOKClick);

    btnCancel = new QPushButton(QStringLiteral("От&мена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(168, 80, 89, 25);
    btnCancel->setIcon(QIcon(RenderSvg(QStringLiteral(":/remind/cancel_glyph.svg"), QSize(16, 16))));
    connect(btnCancel, &QPushButton::clicked, this, &TfrmShutReb::btnCancelClick);

    setTabOrder(btnOK, btnCancel);
    btnOK->setFocus();
}

void TfrmShutReb::Timer1Timer()
{
    lblSec->setText(QString::number(lblSec->text().toInt() - 1));
    if (lblSec->text() != QStringLiteral("0"))
        return;
    Timer1->stop();
    CarryOut();
    accept();
}

void TfrmShutReb::btnOKClick()
{
    Timer1->stop();
    CarryOut();
    accept();
}

void TfrmShutReb::btnCancelClick()
{
    reject();
}

void TfrmShutReb::CarryOut()
{
    if (lblShutReb->text() == Msg::CountdownShutdown)
        m_session.PowerOff();
    else
        m_session.Reboot();
}

// However the window closes, its countdown is over: a cancelled countdown can never fire later.
void TfrmShutReb::done(int result)
{
    Timer1->stop();
    QDialog::done(result);
}
