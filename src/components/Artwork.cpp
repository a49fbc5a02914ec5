#include "Artwork.h"

#include <QDir>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <iterator>

// The resource file lives in a static library; without this the linker may drop it.
static void InitArtResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(art);
        return true;
    }();
    Q_UNUSED(done);
}

namespace Artwork {
namespace {

const QString IconDir = QStringLiteral(":/art/icons/");

QString IconFile(const char *name)
{
    return IconDir + QLatin1String(name) + QStringLiteral(".svg");
}

// Rendered pictures are kept in the pixmap cache: the task list asks for them on every repaint.
QPixmap Render(const QString &file, const QSize &size)
{
    const QString key = QStringLiteral("zarvo-art:%1:%2x%3").arg(file).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    InitArtResources();
    QSvgRenderer renderer(file);
    pixmap = QPixmap(size);
    pixmap.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        renderer.render(&painter);
    }
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

// Small pictures are drawn for 16 pixels; the larger sizes serve high-density screens and menus
// that ask for more.
QIcon SmallIcon(const QString &file)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48})
        icon.addPixmap(Render(file, QSize(side, side)));
    return icon;
}

const char *const ImageListNames[] = {
    "type-remind", "type-shutdown", "type-reboot", "type-logoff",
    "type-screensaver", "type-runprogram", "type-birthday", "tray-clock",
};

} // namespace

QIcon ImageListIcon(int index)
{
    if (index < 0 || index >= int(std::size(ImageListNames)))
        return QIcon();
    return SmallIcon(IconFile(ImageListNames[index]));
}

QIcon TaskTypeIcon(int typeCode)
{
    if (typeCode < 1 || typeCode > 7)
        return QIcon();
    return ImageListIcon(typeCode - 1);
}

QIcon TrayIcon()
{
    return ImageListIcon(7);
}

QIcon AppIcon()
{
    QIcon icon;
    // At 16 pixels the hand-tuned tray clock is sharper than the large drawing scaled down.
    // Every window carries all sizes to the X server and the program starts with them drawn, so
    // they stop at 64: docks and launchers take larger pictures from the installed SVG icon.
    icon.addPixmap(Render(IconFile("tray-clock"), QSize(16, 16)));
    for (int side : {22, 24, 32, 48, 64})
        icon.addPixmap(Render(IconFile("zarvo"), QSize(side, side)));
    return icon;
}

QPixmap Bell()
{
    return Render(IconFile("bell"), QSize(17, 17));
}

QIcon ButtonGlyph(Button button)
{
    switch (button) {
    case Button::Add:
        return SmallIcon(IconFile("button-add"));
    case Button::Delete:
        return SmallIcon(IconFile("button-delete"));
    case Button::Change:
        return SmallIcon(IconFile("button-change"));
    case Button::Clear:
        return SmallIcon(IconFile("button-clear"));
    case Button::Settings:
        return SmallIcon(IconFile("button-settings"));
    case Button::Menu:
        return SmallIcon(IconFile("button-menu"));
    case Button::Exit:
        return SmallIcon(IconFile("button-exit"));
    }
    return QIcon();
}

QIcon MenuGlyph(MenuItem item)
{
    switch (item) {
    case MenuItem::Help:
        return SmallIcon(IconFile("menu-help"));
    case MenuItem::Mail:
        return SmallIcon(IconFile("menu-mail"));
    case MenuItem::HomePage:
        return SmallIcon(IconFile("menu-home"));
    case MenuItem::About:
        return SmallIcon(IconFile("menu-about"));
    case MenuItem::ShowMainWindow:
        return SmallIcon(IconFile("menu-show"));
    // The same actions as the main window's buttons carry the same pictures.
    case MenuItem::AddTask:
        return ButtonGlyph(Button::Add);
    case MenuItem::Settings:
        return ButtonGlyph(Button::Settings);
    case MenuItem::Exit:
        return ButtonGlyph(Button::Exit);
    }
    return QIcon();
}

QStringList AllFiles()
{
    InitArtResources();
    const QStringList names = QDir(IconDir).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    QStringList files;
    for (const QString &name : names)
        files << IconDir + name;
    return files;
}

} // namespace Artwork
