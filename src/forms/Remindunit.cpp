#include "Remindunit.h"

#include "Formstyle.h"
#include "Messages.h"
#include "Soundplayer.h"
#include "Workingset.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QWindow>

static void InitRemindResources()
{
    // The resources live in a static library: pull them in explicitly.
    Q_INIT_RESOURCE(remind);
}

namespace {

const QColor FormColour(102, 146, 175);
const QColor MemoColour(197, 231, 255);
const QColor MemoTextColour(53, 74, 88);

} // namespace

TfrmRemind::TfrmRemind(SoundPlayer &sound, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_sound(sound)
{
    InitRemindResources();
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Msg::RemindCaption);
    setFixedSize(450, 320);
    SetBackground(*this, FormColour);
    CreateControls();
    CentreOnScreen(*this);
}

void TfrmRemind::CreateControls()
{
    // Created first, so it lies under every other control.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 450, 320);
    Image1->setPixmap(RenderSvg(QStringLiteral(":/remind/remind_skin.svg"), QSize(450, 320)));
    Image1->setMouseTracking(true); // a plain mouse move tells that no window move is going on
    Image1->installEventFilter(this);

    BitBtn1 = new QPushButton(QStringLiteral("&ОК"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(232, 280, 137, 26);
    BitBtn1->setIcon(QIcon(RenderSvg(QStringLiteral(":/remind/ok_glyph.svg"), QSize(16, 16))));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmRemind::BitBtn1Click);

    Memo1 = new QTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Сообщение"));
    Memo1->setGeometry(184, 96, 241, 164);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setAcceptRichText(false);
    Memo1->setTabChangesFocus(true);
    Memo1->setLineWrapMode(QTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(PixelFont(ArialFamilies(), 16, true));
    SetBackground(*Memo1, MemoColour);
    SetTextColour(*Memo1, MemoTextColour);
    QTextOption centred = Memo1->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    Memo1->document()->setDefaultTextOption(centred);

    Label1 = new QLabel(QStringLiteral("Напоминание... "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(185, 48, 240, 41);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label1->setFont(PixelFont(ArialFamilies(), 16, true));
    SetTextColour(*Label1, FormColour);

    lblFileName = new QLabel(QStringLiteral("lblFileName"), this);
    lblFileName->setObjectName(QStringLiteral("lblFileName"));
    lblFileName->setGeometry(24, 296, 60, 13);
    lblFileName->setTextFormat(Qt::PlainText);
    lblFileName->hide();

    setTabOrder(BitBtn1, Memo1);
    BitBtn1->setFocus(); // it has the focus when the window opens, so Enter presses it
}

void TfrmRemind::SetMessage(const QString &text)
{
    Memo1->setPlainText(text);
    QTextCursor all(Memo1->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
}

bool TfrmRemind::event(QEvent *event)
{
    if (event->type() == QEvent::WindowDeactivate && m_moving)
        m_deactivatedByMove = true;
    if (event->type() == QEvent::WindowActivate) {
        // Window managers that grab the keyboard while moving a window take the activation away
        // for the move and give it back afterwards: that is no return to the notice.
        if (!m_deactivatedByMove)
            FormActivate();
        m_moving = m_deactivatedByMove = false;
    }
    return QDialog::event(event);
}

// Runs on every activation, not only the first: coming back to the notice plays its sound again.
// (Staying above other windows is the window's StaysOnTop flag; nothing to do for it here.)
void TfrmRemind::FormActivate()
{
    if (lblFileName->text() != QStringLiteral("NULL"))
        m_sound.Play(lblFileName->text());
}

bool TfrmRemind::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Image1MouseDown();
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            m_moving = false; // the window system did not take the pointer, or has given it back
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The window has no title bar: the picture is where it is dragged.
void TfrmRemind::Image1MouseDown()
{
    m_moving = true;
    if (QWindow *window = windowHandle())
        window->startSystemMove();
}

void TfrmRemind::keyPressEvent(QKeyEvent *event)
{
    // The notice has no cancel button: the cancel key must not close it.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// Only OK stops the sound; closing the window in any other way lets it play to its end.
void TfrmRemind::BitBtn1Click()
{
    m_sound.Stop();
    accept();
}

void TfrmRemind::done(int result)
{
    QDialog::done(result);
    TrimWorkingSet();
}
