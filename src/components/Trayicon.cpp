#include "Trayicon.h"

#include "Errors.h"
#include "Messages.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>

namespace {
// A hint of this many characters or more is ignored: the old hint stays.
constexpr int HintLimit = 64;
} // namespace

TTrayIcon::TTrayIcon(QObject *parent)
    : QObject(parent)
    , m_icon(QApplication::windowIcon())
{
    m_animateTimer.setInterval(1000);
    connect(&m_animateTimer, &QTimer::timeout, this, &TTrayIcon::DoOnAnimate);
    connect(&m_tray, &QSystemTrayIcon::activated, this, &TTrayIcon::HandleActivation);
    Update();
}

TTrayIcon::~TTrayIcon()
{
    m_tray.hide();
}

void TTrayIcon::SetVisible(bool visible)
{
    m_visible = visible;
    if (!visible) {
        m_tray.hide();
        m_shown = false;
        m_hide = false;
        return;
    }
    if (m_sessionEnded || !m_available())
        throw ZarvoError(Msg::TrayCannotCreate);
    Update();
    m_tray.show();
    m_shown = true;
    m_hide = true;
}

void TTrayIcon::SetHint(const QString &hint)
{
    if (hint == m_hint || hint.size() >= HintLimit)
        return;
    m_hint = hint;
    m_tray.setToolTip(hint);
    Update();
}

void TTrayIcon::SetPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
    SetPopupMenuOn(m_popupMenuOn);
}

void TTrayIcon::SetPopupMenuOn(TTrayIconMessage mode)
{
    m_popupMenuOn = mode;
    // On a right-click the notification area shows the menu itself (an XEmbed tray pops it up
    // at the cursor, a StatusNotifierItem host asks for it over the bus), so it is handed over.
    const bool platformShowsMenu = mode == TTrayIconMessage::imRightClickUp && m_popupMenu;
    m_tray.setContextMenu(platformShowsMenu ? m_popupMenu.data() : nullptr);
}

void TTrayIcon::SetIcons(const QList<QIcon> &icons)
{
    m_icons = icons;
    if (m_icons.isEmpty()) {
        SetAnimate(false);
        SetDefaultIcon();
        return;
    }
    SetIconIndex(m_iconIndex);
}

void TTrayIcon::SetIconIndex(int index)
{
    m_iconIndex = index;
    if (index >= 0 && index < m_icons.size())
        m_icon = m_icons.at(index);
    Update();
}

void TTrayIcon::SetDefaultIcon()
{
    m_icon = QApplication::windowIcon();
    Update();
}

void TTrayIcon::SetAnimate(bool animate)
{
    if (m_icons.isEmpty()) {
        m_animate = false;
        m_animateTimer.stop();
        return;
    }
    m_animate = animate;
    if (animate)
        m_animateTimer.start();
    else
        m_animateTimer.stop();
}

void TTrayIcon::Minimize()
{
    if (m_window) {
        // Only an icon that is really there can take the window's place; without one the
        // window stays reachable through its taskbar entry.
        if (IsShown())
            m_window->hide();
        else
            m_window->showMinimized();
    }
    emit OnMinimize();
}

void TTrayIcon::Restore()
{
    if (m_window) {
        m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    }
    emit OnRestore();
}

void TTrayIcon::Update()
{
    m_tray.setIcon(m_icon);
}

void TTrayIcon::ShowMenu()
{
    if (!m_popupMenu)
        return;
    emit MenuRequested();
    if (QWidget *active = QApplication::activeWindow())
        active->activateWindow();
    m_popupMenu->popup(QCursor::pos());
}

void TTrayIcon::EndSession()
{
    m_sessionEnded = true;
    m_shown = false;
    m_tray.hide();
}

void TTrayIcon::HostChanged()
{
    if (!m_visible || m_sessionEnded)
        return;
    if (!m_available()) {
        if (!m_shown)
            return;
        m_shown = false;
        if (m_window && !m_window->isVisible())
            Restore();
        return;
    }
    // Shown anew, so a StatusNotifierItem host that restarted learns of the icon again.
    m_tray.hide();
    Update();
    m_tray.show();
    m_shown = true;
}

void TTrayIcon::HandleActivation(QSystemTrayIcon::ActivationReason reason)
{
    const bool middleDouble = reason == QSystemTrayIcon::MiddleClick && m_middlePress.isValid()
        && m_middlePress.elapsed() <= QApplication::doubleClickInterval();
    // A host reports each middle press alone: the second of two quick ones is a double-click.
    if (reason == QSystemTrayIcon::MiddleClick && !middleDouble)
        m_middlePress.start();
    else
        m_middlePress.invalidate();
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        if (!m_hostReportsDoubleClick) {
            m_triggerAsDouble.start();
            DoDblClick();
            return;
        }
        DoClick();
        DoMouseUp(Qt::LeftButton);
        Act(TTrayIconMessage::imLeftClickUp);
        return;
    case QSystemTrayIcon::DoubleClick: {
        // The host does report double-clicks after all; the click just before it was already
        // taken as this double-click, so it is not acted on twice.
        const bool alreadyActed = m_triggerAsDouble.isValid()
            && m_triggerAsDouble.elapsed() <= QApplication::doubleClickInterval();
        m_hostReportsDoubleClick = true;
        m_triggerAsDouble.invalidate();
        if (alreadyActed)
            return;
        DoDblClick();
        Act(TTrayIconMessage::imLeftDoubleClick);
        return;
    }
    case QSystemTrayIcon::Context:
        DoMouseUp(Qt::RightButton);
        Act(TTrayIconMessage::imRightClickUp);
        return;
    case QSystemTrayIcon::MiddleClick:
        DoMouseUp(Qt::MiddleButton);
        if (middleDouble)
            DoDblClick();
        return;
    case QSystemTrayIcon::Unknown:
        return;
    }
}

void TTrayIcon::DoClick()
{
    Act(TTrayIconMessage::imClick);
    emit OnClick();
}

void TTrayIcon::DoDblClick()
{
    Act(TTrayIconMessage::imDoubleClick);
}

void TTrayIcon::DoMouseUp(Qt::MouseButton)
{
    Act(TTrayIconMessage::imMouseUp);
}

void TTrayIcon::DoOnAnimate()
{
    if (m_icons.isEmpty())
        return;
    SetIconIndex(m_iconIndex + 1 < m_icons.size() ? m_iconIndex + 1 : 0);
}

void TTrayIcon::Act(TTrayIconMessage happened)
{
    if (m_restoreOn == happened)
        Restore();
    if (m_popupMenuOn != happened)
        return;
    if (happened == TTrayIconMessage::imRightClickUp && m_tray.contextMenu())
        emit MenuRequested(); // the notification area shows it itself
    else
        ShowMenu();
}
