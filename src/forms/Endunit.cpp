#include "Endunit.h"

#include "Messages.h"
#include "Windowlook.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

TfrmEnd::TfrmEnd(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("frmEnd"));
    setFixedSize(285, 85);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(102, 146, 175));
    pal.setColor(QPalette::WindowText, Qt::white);
    setPalette(pal);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(3, 3, 278, 78);

    Label1 = new QLabel(Msg::FarewellTitle, this);
    Label1->setFont(WindowLook::ArialFont(32, true));
    Label1->move(16, 3);
    Label1->adjustSize();

    Label2 = new QLabel(Msg::FarewellAuthor, this);
    QFont authorFont = WindowLook::DialogFont();
    authorFont.setPixelSize(13);
    Label2->setFont(authorFont);
    Label2->move(104, 48);
    Label2->adjustSize();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Timer1.setInterval(500);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &TfrmEnd::Timer1Timer);
    Timer1.start();
}

void TfrmEnd::Timer1Timer()
{
    m_timeUp = true;
    accept();
}

void TfrmEnd::keyPressEvent(QKeyEvent *)
{
    // No key closes it: Escape would otherwise end the dialog early.
}

void TfrmEnd::closeEvent(QCloseEvent *event)
{
    if (m_timeUp)
        event->accept();
    else
        event->ignore();
}
