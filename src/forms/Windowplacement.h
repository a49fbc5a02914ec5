#pragma once

#include "Ports.h"

#include <QObject>
#include <QPoint>
#include <QTimer>

#include <optional>

class QRect;
class QWidget;

// The main window's place as the settings store keeps it: the top-left of the outer frame and
// the window's size. Restoring sets the frame (not the client area) to the stored point, so a
// save after a restore gives the same numbers back.
class WindowPlacement final : public QObject, public MainWindowGeometry {
public:
    explicit WindowPlacement(QWidget &window);

    // Left and top of the frame. Where the platform cannot say where a window is (Wayland), the
    // last position given is reported unchanged, so the stored value survives the session.
    int Left() const override;
    int Top() const override;
    int Width() const override;
    int Height() const override;
    void SetLeft(int left) override;
    void SetTop(int top) override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    int ScreenWidth() const override;
    int ScreenHeight() const override;

    // Puts the frame's top-left at `frame`, moved as little as needed to lie on a screen.
    void RestoreFrame(QPoint frame);

    // Where a frame of `size` at `frame` is placed so that it lies on one of the `screens`
    // (their available areas): on the one it overlaps most, else the first.
    static QPoint OnScreen(QPoint frame, QSize size, const QList<QRect> &screens);
    static bool PlatformReportsPosition();
    // For tests: behave as on a platform that does (or does not) report positions.
    void SetReportsPosition(bool reports) { m_reportsPosition = reports; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void MoveFrame(QPoint frame);
    void CorrectFrame();
    QSize FrameSize() const;

    QWidget &m_window;
    std::optional<QPoint> m_given; // the last position set, for platforms that cannot report one
    bool m_reportsPosition = PlatformReportsPosition();
    // A frame position asked for before the window manager had framed the window: the frame's
    // size is known only then, so the place is checked once more when the window moves.
    std::optional<QPoint> m_pending;
    // Asks again until the window manager's frame is known (its extents may come after the
    // window's first events).
    QTimer m_retry;
    int m_retries = 0;
};
