#pragma once

#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>

// Which mouse action on the icon restores the program or opens the popup menu.
enum class TTrayIconMessage : quint8 {
    imClick,
    imDoubleClick,
    imMouseDown,
    imMouseUp,
    imLeftClickUp,
    imLeftDoubleClick,
    imRightClickUp,
    imRightDoubleClick,
    imNone,
};

// The program's icon in the notification area: its picture (one of an image list, optionally
// animated), its hint, the restore and menu actions on mouse clicks, and hiding the main window
// into the notification area when the program is minimized.
class TTrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TTrayIcon(QObject *parent = nullptr);
    ~TTrayIcon() override;

    // The window that Minimize hides and Restore brings back.
    void SetWindow(QWidget *window) { m_window = window; }

    bool Visible() const { return m_visible; }
    // Shows or removes the icon. Throws ZarvoError when there is no notification area.
    void SetVisible(bool visible);
    // True while the icon is really shown: only then may the program hide itself into it.
    bool IsShown() const { return m_visible && m_shown; }

    QString Hint() const { return m_hint; }
    // Taken only when it differs from the current hint and is shorter than 64 characters.
    void SetHint(const QString &hint);

    QMenu *PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu *menu);

    bool Hide() const { return m_hide; }
    void SetHide(bool hide) { m_hide = hide; }

    TTrayIconMessage RestoreOn() const { return m_restoreOn; }
    void SetRestoreOn(TTrayIconMessage mode) { m_restoreOn = mode; }
    TTrayIconMessage PopupMenuOn() const { return m_popupMenuOn; }
    void SetPopupMenuOn(TTrayIconMessage mode);

    const QList<QIcon> &Icons() const { return m_icons; }
    void SetIcons(const QList<QIcon> &icons);
    int IconIndex() const { return m_iconIndex; }
    void SetIconIndex(int index);
    void SetDefaultIcon();
    QIcon CurrentIcon() const { return m_icon; }

    int AnimateInterval() const { return m_animateTimer.interval(); }
    void SetAnimateInterval(int ms) { m_animateTimer.setInterval(ms); }
    bool Animate() const { return m_animate; }
    void SetAnimate(bool animate);

    // A StatusNotifierItem host reports an activation as a single click and never a
    // double-click; then that single click counts as the double-click.
    void SetHostReportsDoubleClick(bool reports) { m_hostReportsDoubleClick = reports; }
    bool HostReportsDoubleClick() const { return m_hostReportsDoubleClick; }

    // Stands in for the notification area's availability, for tests.
    void SetAvailabilityProbe(std::function<bool()> probe) { m_available = std::move(probe); }

    void Minimize();
    void Restore();
    void Update();
    void ShowMenu();
    // The desktop session ends: the icon goes and does not come back.
    void EndSession();
    // A notification area appeared or went away. Gone while the window is hidden in it: the
    // window comes back, as it does when there is none at start. Back again: so is the icon.
    void HostChanged();

    // What the notification area reported; connected to QSystemTrayIcon::activated.
    void HandleActivation(QSystemTrayIcon::ActivationReason reason);

signals:
    void OnMinimize();
    void OnRestore();
    void OnClick();
    // Emitted when the popup menu is to be shown at the cursor (the tests watch it).
    void MenuRequested();

private:
    void DoClick();
    void DoDblClick();
    void DoMouseUp(Qt::MouseButton button);
    void DoOnAnimate();
    void Act(TTrayIconMessage happened);

    QSystemTrayIcon m_tray;
    QTimer m_animateTimer;
    QElapsedTimer m_triggerAsDouble;
    QElapsedTimer m_middlePress; // the last middle click not yet part of a double-click
    QIcon m_icon;
    QList<QIcon> m_icons;
    QPointer<QMenu> m_popupMenu;
    QPointer<QWidget> m_window;
    QString m_hint;
    int m_iconIndex = 0;
    bool m_visible = false;
    bool m_shown = false;
    bool m_hide = true;
    bool m_animate = false;
    bool m_hostReportsDoubleClick = true;
    bool m_sessionEnded = false;
    TTrayIconMessage m_restoreOn = TTrayIconMessage::imDoubleClick;
    TTrayIconMessage m_popupMenuOn = TTrayIconMessage::imNone;
    std::function<bool()> m_available = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
};
