#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>

class QWidget;

// The faces, sizes and colour pairs every window of the program is drawn with.
namespace WindowLook {

// The windows are laid out in pixels for an 8-point dialog face (11 pixels at 96 dpi). PT Sans
// (fonts-paratype, a dependency of the package) is the Cyrillic face that keeps every caption
// inside its control at that size; the others are wider and only stand in when it is missing.
const QStringList &DialogFamilies();
QFont DialogFont();
constexpr int DialogPixelSize = 11;

// "Arial" captions: Liberation Sans (fonts-liberation2) has Arial's widths.
const QStringList &ArialFamilies();
QFont ArialFont(int pixelSize, bool bold, bool italic = false);

// Forces both colours of a pair, so a dark system palette never leaves light text on the light
// backgrounds (or dark text on dark ones) that the windows set: the window's own text and
// background, the text and base of fields, and the text and face of buttons.
void SetWindowColours(QWidget &widget, const QColor &text, const QColor &background);
void SetFieldColours(QWidget &widget, const QColor &text, const QColor &base);
void SetButtonColours(QWidget &widget, const QColor &text, const QColor &face);
// Light, readable colours for a window whose system palette may be dark: the classic grey
// face with black text for the window, its buttons and its fields.
void SetClassicColours(QWidget &window);

// A fixed dialog with a title bar and a close box, nothing else.
Qt::WindowFlags CloseBoxOnlyFlags();

// WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(const QColor &a, const QColor &b);

} // namespace WindowLook
