#include "Outlineoverlay.h"

#include "Screenoverlay.h"

#include <vector>

OutlineOverlay::OutlineOverlay(const QRect &area)
    : m_area(area)
    , m_pixels(area.size(), QImage::Format_Grayscale8)
    , m_canvas(m_pixels, area.topLeft())
    , m_screen(CreateScreenOverlay(area))
{
    m_pixels.fill(0);
}

OutlineOverlay::~OutlineOverlay() = default;

void OutlineOverlay::DrawOutline(const TOutline &outline)
{
    m_canvas.DrawOutline(outline);
}

// Runs of set pixels, row by row, within the area outlines have touched.
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
            runs.emplace_back(start + m_area.x(), y + m_area.y(), x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}

void OutlineOverlay::Present()
{
    m_screen->ShowPixels(OutlineRegion());
}
