#pragma once

#include <QRect>
#include <QRegion>

#include <memory>

// A top-most surface over the desktop that shows only chosen pixels and lets all input through,
// so figures can be drawn over whatever is on the screen without taking a copy of it. It works
// without a compositor. Gone, with the screen as it was, when the object is destroyed.
class ScreenOverlay {
public:
    virtual ~ScreenOverlay() = default;
    // Shows exactly these pixels (screen coordinates) and returns once the display shows them;
    // an empty region takes the overlay off the screen.
    virtual void ShowPixels(const QRegion &pixels) = 0;
};

// An overlay over `area` of the screen; one that shows nothing where the windowing system offers
// no such surface.
std::unique_ptr<ScreenOverlay> CreateScreenOverlay(const QRect &area);

// Returns once the display has carried out every request sent to it so far: a window just
// hidden is off the screen, and the windows it uncovered have been told to repaint.
void SyncWithDisplay();
