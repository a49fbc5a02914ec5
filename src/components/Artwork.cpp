#include "Artwork.h"

#include <QApplication>
#include <QDir>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
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

// Pictures are drawn when a size is first asked for, not when the icon is made: at start the
// program builds dozens of icons and shows one. `small` serves sides below `largeFrom`, `large`
// the rest; the sizes a window or the tray is offered are `sizes`.
class SvgIconEngine final : public QIconEngine {
public:
    SvgIconEngine(QString small, QString large, int largeFrom, QList<QSize> sizes)
        : m_small(std::move(small))
        , m_large(std::move(large))
        , m_largeFrom(largeFrom)
        , m_sizes(std::move(sizes))
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        if (side <= 0)
            return QPixmap();
        const QPixmap normal = Render(side < m_largeFrom ? m_small : m_large, QSize(side, side));
        if (mode == QIcon::Normal || mode == QIcon::Active)
            return normal;
        // Disabled and selected pictures as the style draws them for any other icon.
        QStyleOption option;
        option.palette = QGuiApplication::palette();
        return QApplication::style() ? QApplication::style()->generatedIconPixmap(mode, normal, &option)
                                     : normal;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return QSize(side, side);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return m_sizes; }
    QString key() const override { return QStringLiteral("zarvo-svg"); }
    QIconEngine *clone() const override { return new SvgIconEngine(*this); }

private:
    QString m_small;
    QString m_large;
    int m_largeFrom;
    QList<QSize> m_sizes;
};

// Small pictures are drawn for 16 pixels; larger sizes serve high-density screens and menus that
// ask for more.
QIcon SmallIcon(const QString &file)
{
    return QIcon(
        new SvgIconEngine(file, file, 0, {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)}));
}

const char *const ImageListNames[] = {
    "type-remind",
    "type-shutdown",
    "type-reboot",
    "type-logoff",
    "type-screensaver",
    "type-runprogram",
    "type-birthday",
    "tray-clock",
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
    // At 16 pixels the hand-tuned tray clock is sharper than the large drawing scaled down.
    // Every window carries all offered sizes to the X server, so they stop at 64: docks and
    // launchers take larger pictures from the installed SVG icon.
    const QList<QSize> sizes
        = {QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64)};
    return QIcon(new SvgIconEngine(IconFile("tray-clock"), IconFile("zarvo"), 17, sizes));
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
