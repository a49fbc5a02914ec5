#include "support/TestMain.h"
#include "Artwork.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <QtTest>

namespace {
int qSaturation(QRgb pixel)
{
    return QColor::fromRgba(pixel).hsvSaturation();
}
} // namespace

namespace {

// Some pixels drawn, and not all of them one colour: a picture, not a blank or a filled square.
QString blankness(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 0)
                colours.insert(pixel);
        }
    }
    if (colours.isEmpty())
        return QStringLiteral("nothing drawn");
    if (colours.size() == 1)
        return QStringLiteral("a single colour");
    return QString();
}

QImage imageOf(const QIcon &icon, int side)
{
    return icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class ArtworkTest : public QObject
{
    Q_OBJECT

private slots:
    void everyPicture_loadsAndDrawsSomething_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = Artwork::AllFiles();
        QVERIFY(!files.isEmpty());
        for (const QString &file : files)
            QTest::newRow(qPrintable(file.section(QLatin1Char('/'), -1))) << file;
    }
    void everyPicture_loadsAndDrawsSomething()
    {
        QFETCH(QString, file);
        QSvgRenderer renderer(file);
        QVERIFY(renderer.isValid());
        QVERIFY(!renderer.defaultSize().isEmpty());
        QImage image(renderer.defaultSize(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            renderer.render(&painter);
        }
        QCOMPARE(blankness(image), QString());
    }

    void imageList_hasEightDistinctPictures()
    {
        QList<QImage> images;
        for (int index = 0; index < 8; ++index) {
            const QImage image = imageOf(Artwork::ImageListIcon(index), 16);
            QCOMPARE(image.size(), QSize(16, 16));
            QCOMPARE(blankness(image), QString());
            for (int earlier = 0; earlier < images.size(); ++earlier)
                QVERIFY2(image != images.at(earlier),
                         qPrintable(QStringLiteral("images %1 and %2 are the same").arg(earlier).arg(index)));
            images << image;
        }
        QVERIFY(Artwork::ImageListIcon(-1).isNull());
        QVERIFY(Artwork::ImageListIcon(8).isNull());
    }

    void taskTypeIcon_isTheImageOfTypeCodeMinusOne_data()
    {
        QTest::addColumn<int>("typeCode");
        QTest::addColumn<int>("imageIndex"); // -1: no picture
        QTest::newRow("below the codes") << 0 << -1;
        QTest::newRow("reminder") << 1 << 0;
        QTest::newRow("screen saver") << 5 << 4;
        QTest::newRow("birthday") << 7 << 6;
        QTest::newRow("tray clock is no task type") << 8 << -1;
    }
    void taskTypeIcon_isTheImageOfTypeCodeMinusOne()
    {
        QFETCH(int, typeCode);
        QFETCH(int, imageIndex);
        const QIcon icon = Artwork::TaskTypeIcon(typeCode);
        if (imageIndex < 0) {
            QVERIFY(icon.isNull());
            return;
        }
        QCOMPARE(imageOf(icon, 16), imageOf(Artwork::ImageListIcon(imageIndex), 16));
    }

    void appIcon_isSharpFrom16To64()
    {
        const QIcon icon = Artwork::AppIcon();
        for (int side : {16, 24, 32, 48, 64}) {
            const QImage image = imageOf(icon, side);
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(blankness(image), QString());
            QVERIFY(icon.availableSizes().contains(QSize(side, side)));
        }
    }

    void bell_is17By17()
    {
        const QPixmap bell = Artwork::Bell();
        QCOMPARE(bell.size(), QSize(17, 17));
        QCOMPARE(blankness(bell.toImage().convertToFormat(QImage::Format_ARGB32)), QString());
    }

    void buttonAndMenuGlyphs_areAllDrawn()
    {
        using Artwork::Button;
        using Artwork::MenuItem;
        const QList<Button> buttons{Button::Add,      Button::Delete, Button::Change, Button::Clear,
                                    Button::Settings, Button::Menu,   Button::Exit};
        QList<QImage> seen;
        for (Button button : buttons) {
            const QImage image = imageOf(Artwork::ButtonGlyph(button), 16);
            QCOMPARE(blankness(image), QString());
            QVERIFY2(!seen.contains(image), "two buttons share a glyph");
            seen << image;
        }
        const QList<MenuItem> items{MenuItem::Help,  MenuItem::Mail,    MenuItem::HomePage, MenuItem::About,
                                    MenuItem::ShowMainWindow, MenuItem::AddTask, MenuItem::Settings,
                                    MenuItem::Exit};
        for (MenuItem item : items)
            QCOMPARE(blankness(imageOf(Artwork::MenuGlyph(item), 16)), QString());
        // The tray menu's commands look like the buttons that do the same.
        QCOMPARE(imageOf(Artwork::MenuGlyph(MenuItem::AddTask), 16),
                 imageOf(Artwork::ButtonGlyph(Button::Add), 16));
        QCOMPARE(imageOf(Artwork::MenuGlyph(MenuItem::Exit), 16),
                 imageOf(Artwork::ButtonGlyph(Button::Exit), 16));
    }

    // Pictures are drawn at the size a caller asks for: sharp in between the offered sizes, greyed
    // when disabled, and the tray clock stands in for the program's drawing only where it is small.
    void icons_drawAtTheAskedSize_andGreyWhenDisabled()
    {
        const QIcon add = Artwork::ButtonGlyph(Artwork::Button::Add);
        for (int side : {20, 40}) {
            const QImage image = imageOf(add, side);
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(blankness(image), QString());
        }
        const QImage normal = imageOf(add, 16);
        const QImage disabled
            = add.pixmap(QSize(16, 16), QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(disabled.size(), normal.size());
        QVERIFY2(disabled != normal, "a disabled button's glyph looks enabled");
        int coloured = 0;
        for (int y = 0; y < disabled.height(); ++y)
            for (int x = 0; x < disabled.width(); ++x)
                coloured += qAlpha(disabled.pixel(x, y)) > 0 && qSaturation(disabled.pixel(x, y)) > 40;
        QCOMPARE(coloured, 0);

        const QIcon app = Artwork::AppIcon();
        QCOMPARE(imageOf(app, 16), imageOf(Artwork::TrayIcon(), 16));
        QVERIFY(imageOf(app, 32) != imageOf(Artwork::TrayIcon(), 32));
        // A window hands every offered size to the X server; large ones would cost every window.
        for (const QSize &size : app.availableSizes())
            QVERIFY2(size.width() <= 64, qPrintable(QStringLiteral("offered %1 px").arg(size.width())));
    }
};

ZARVO_TEST_MAIN(ArtworkTest)
#include "test_artwork.moc"
