#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QStringList>

class QWidget;

// Small helpers shared by the program's fixed-size windows.

// Places the window in the middle of the screen it is on (the primary screen before it is shown).
void CentreOnScreen(QWidget &window);

// A font whose height is given in pixels, so text fits the fixed layouts on every screen. The
// first of the families that is installed is used.
QFont PixelFont(const QStringList &families, int pixelSize, bool bold);

// Sets the colour the widget draws its text in and, unless transparent, its background.
void SetTextColour(QWidget &widget, const QColor &colour);
void SetBackground(QWidget &widget, const QColor &colour);

// Arial, or a face made with Arial's widths where Arial itself is not installed.
const QStringList &ArialFamilies();
// The dialog face the fixed layouts are measured with (see WindowLook).
const QStringList &DialogFamilies();

// Draws an SVG resource at the given size; artwork never depends on an image plugin.
QPixmap RenderSvg(const QString &resource, const QSize &size);
