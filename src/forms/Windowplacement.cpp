#include "Windowplacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

WindowPlacement::WindowPlacement(QWidget &window)
    : m_window(window)
{
    m_window.installEventFilter(this);
    m_retry.setInterval(20);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (!m_pending || ++m_retries > 150)
            m_retry.stop();
        else
            CorrectFrame();
    });
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window || !m_pending)
        return false;
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Paint:
    case QEvent::WindowActivate:
        CorrectFrame();
        break;
    default:
        break;
    }
    return false;
}

void WindowPlacement::CorrectFrame()
{
    QWindow *handle = m_window.windowHandle();
    if (!m_window.isVisible() || !handle)
        return;
    const QMargins margins = handle->frameMargins();
    // Not framed yet (or framed without a border and title, where the client's place is the
    // frame's and nothing needs putting right): asked again later.
    if (margins.left() == 0 && margins.top() == 0)
        return;
    const QPoint client = *m_pending + QPoint(margins.left(), margins.top());
    m_pending.reset();
    m_retry.stop();
    if (handle->position() != client)
        handle->setPosition(client);
}

bool WindowPlacement::PlatformReportsPosition()
{
    // A Wayland compositor places windows itself and tells no client where they are.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

int WindowPlacement::Left() const
{
    if (!m_reportsPosition && m_given)
        return m_given->x();
    return m_window.frameGeometry().x();
}

int WindowPlacement::Top() const
{
    if (!m_reportsPosition && m_given)
        return m_given->y();
    return m_window.frameGeometry().y();
}

int WindowPlacement::Width() const
{
    return m_window.width();
}

int WindowPlacement::Height() const
{
    return m_window.height();
}

void WindowPlacement::SetLeft(int left)
{
    MoveFrame(QPoint(left, Top()));
}

void WindowPlacement::SetTop(int top)
{
    MoveFrame(QPoint(Left(), top));
}

void WindowPlacement::SetWidth(int width)
{
    m_window.resize(width, m_window.height());
}

void WindowPlacement::SetHeight(int height)
{
    m_window.resize(m_window.width(), height);
}

int WindowPlacement::ScreenWidth() const
{
    const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 0;
}

int WindowPlacement::ScreenHeight() const
{
    const QScreen *screen = m_window.screen() ? m_window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void WindowPlacement::RestoreFrame(QPoint frame)
{
    QList<QRect> screens;
    if (QScreen *primary = QGuiApplication::primaryScreen())
        screens << primary->availableGeometry();
    const auto all = QGuiApplication::screens();
    for (const QScreen *screen : all)
        screens << screen->availableGeometry();
    // A stored place where the platform cannot place windows is kept as it is, not "corrected"
    // against screens whose position is unknown.
    m_given = frame;
    MoveFrame(m_reportsPosition ? OnScreen(frame, FrameSize(), screens) : frame);
    m_given = frame;
}

QPoint WindowPlacement::OnScreen(QPoint frame, QSize size, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return frame;
    const QRect window(frame, size);
    QRect best = screens.constFirst();
    qint64 bestArea = 0;
    for (const QRect &screen : screens) {
        const QRect common = screen.intersected(window);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            bestArea = area;
            best = screen;
        }
    }
    // Moved in, the left and top edges first: a window larger than the screen keeps its title
    // bar and its left edge reachable.
    const int left = std::max(best.left(), std::min(frame.x(), best.right() + 1 - size.width()));
    const int top = std::max(best.top(), std::min(frame.y(), best.bottom() + 1 - size.height()));
    return {left, top};
}

void WindowPlacement::MoveFrame(QPoint frame)
{
    m_given = frame;
    // A move of a framed top-level window places its frame; before the window manager has put
    // its frame round the window, it places the client area. Either way the place is checked
    // again once the frame's size is known.
    m_window.move(frame);
    if (m_reportsPosition) {
        m_pending = frame;
        m_retries = 0;
        m_retry.start();
        CorrectFrame();
    }
}

QSize WindowPlacement::FrameSize() const
{
    const QRect frame = m_window.frameGeometry();
    return frame.size().expandedTo(m_window.size());
}
