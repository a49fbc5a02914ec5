#include "Formstyle.h"

#include "Windowlook.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QWidget>

void CentreOnScreen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window.move(
        area.x() + (area.width() - window.width()) / 2, area.y() + (area.height() - window.height()) / 2);
}

QFont PixelFont(const QStringList &families, int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void SetTextColour(QWidget &widget, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget.setPalette(palette);
}

void SetBackground(QWidget &widget, const QColor &colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

const QStringList &ArialFamilies()
{
    return WindowLook::ArialFamilies();
}

const QStringList &DialogFamilies()
{
    return WindowLook::DialogFamilies();
}

QPixmap RenderSvg(const QString &resource, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
