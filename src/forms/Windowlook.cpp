#include "Windowlook.h"

#include <QPalette>
#include <QWidget>

#include <cmath>

namespace WindowLook {

const QStringList &DialogFamilies()
{
    static const QStringList families = {QStringLiteral("PT Sans"), QStringLiteral("Liberation Sans"),
        QStringLiteral("Arimo"), QStringLiteral("Arial")};
    return families;
}

QFont DialogFont()
{
    QFont font;
    font.setFamilies(DialogFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(DialogPixelSize);
    return font;
}

const QStringList &ArialFamilies()
{
    static const QStringList families = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
        QStringLiteral("Arimo"), QStringLiteral("Nimbus Sans")};
    return families;
}

QFont ArialFont(int pixelSize, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(ArialFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

namespace {

void setPair(QWidget &widget, QPalette::ColorRole textRole, const QColor &text, QPalette::ColorRole backRole,
    const QColor &back)
{
    QPalette palette = widget.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, textRole, text);
        palette.setColor(group, backRole, back);
    }
    // Disabled text stays grey, but a grey that can be read on the forced background.
    palette.setColor(QPalette::Disabled, textRole, QColor(120, 120, 120));
    palette.setColor(QPalette::Disabled, backRole, back);
    widget.setPalette(palette);
}

double channel(double value)
{
    value /= 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green())
        + 0.0722 * channel(colour.blue());
}

} // namespace

void SetWindowColours(QWidget &widget, const QColor &text, const QColor &background)
{
    setPair(widget, QPalette::WindowText, text, QPalette::Window, background);
}

void SetFieldColours(QWidget &widget, const QColor &text, const QColor &base)
{
    setPair(widget, QPalette::Text, text, QPalette::Base, base);
}

void SetButtonColours(QWidget &widget, const QColor &text, const QColor &face)
{
    setPair(widget, QPalette::ButtonText, text, QPalette::Button, face);
}

void SetClassicColours(QWidget &window)
{
    const QColor face(240, 240, 240);
    QPalette palette = window.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, face);
        palette.setColor(group, QPalette::Button, face);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::AlternateBase, QColor(247, 247, 247));
        palette.setColor(group, QPalette::Light, Qt::white);
        palette.setColor(group, QPalette::Midlight, QColor(227, 227, 227));
        palette.setColor(group, QPalette::Mid, QColor(160, 160, 160));
        palette.setColor(group, QPalette::Dark, QColor(160, 160, 160));
        palette.setColor(group, QPalette::Shadow, QColor(105, 105, 105));
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 220));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
        palette.setColor(group, QPalette::Highlight, QColor(0, 110, 200));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, QColor(0, 0, 238));
        palette.setColor(group, QPalette::PlaceholderText, QColor(110, 110, 110));
    }
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
    window.setPalette(palette);
}

Qt::WindowFlags CloseBoxOnlyFlags()
{
    // Asks the window manager for a title bar with a close box: on X11 the Motif hints then allow
    // moving and closing only. (openbox draws its minimize button on every framed window all the
    // same, and a greyed maximize on fixed-size ones.)
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace WindowLook
