#include "Outlineoverlay.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace {

// Outline pixels are shown as a fine black and white pattern, which stands out on any desktop the
// way inverted pixels do.
class OverlayWindow final : public QWidget
{
public:
    OverlayWindow()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                               | Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput
                               | Qt::WindowDoesNotAcceptFocus | Qt::Tool)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

} // namespace

OutlineOverlay::OutlineOverlay(const QRect &area)
    : m_area(area)
    , m_pixels(area.size(), QImage::Format_Grayscale8)
    , m_canvas(m_pixels, area.topLeft())
{
    m_pixels.fill(0);
}

OutlineOverlay::~OutlineOverlay()
{
    if (m_window) {
        m_window->hide();
        m_window.reset();
        QGuiApplication::sync();
    }
}

void OutlineOverlay::DrawOutline(const TOutline &outline)
{
    m_canvas.DrawOutline(outline);
}

// Rows of runs of set pixels within the touched area, in the band order QRegion wants.
QRegion OutlineOverlay::OutlineRegion() const
{
    const QRect area = m_canvas.TouchedArea().intersected(m_pixels.rect());
    std::vector<QRect> runs;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const uchar *row = m_pixels.constScanLine(y);
        int x = area.left();
        while (x <= area.right()) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= area.right() && row[x] != 0)
                ++x;
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

void OutlineOverlay::Present()
{
    const QRegion region = OutlineRegion();
    if (region.isEmpty()) {
        // An empty mask would show the whole window, so the window goes instead.
        if (m_window && m_window->isVisible())
            m_window->hide();
    } else {
        if (!m_window) {
            m_window = std::make_unique<OverlayWindow>();
            m_window->setGeometry(m_area);
        }
        m_window->setMask(region);
        if (!m_window->isVisible())
            m_window->show();
        m_window->repaint();
    }
    QGuiApplication::sync();
}
