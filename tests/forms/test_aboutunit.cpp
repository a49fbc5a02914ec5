#include "support/TestMain.h"
#include "support/RecordingHelp.h"
#include "Aboutunit.h"
#include "Animationcanvas.h"
#include "Animationeffect.h"
#include "Linklabel.h"
#include "Messages.h"
#include "Ports.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

namespace {

class NullCanvas final : public AnimationCanvas {
public:
    void DrawOutline(const TOutline &) override { }
};

QList<TfrmAbout *> OpenAboutWindows()
{
    QList<TfrmAbout *> found;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *about = qobject_cast<TfrmAbout *>(w); about && about->isVisible())
            found.append(about);
    return found;
}

int DistinctColours(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

class TestAboutUnit : public QObject {
    Q_OBJECT

private slots:
    void window_isAFixedDialogWithItsCaption();
    void controls_data();
    void controls();
    void linkLabels_lookLikeLinks();
    void animation_hasItsSettings();
    void artwork_isDrawn();
    void flag_isSetWhileOpenAndClearedOnClose();
    void keys_enterClosesAndEscapeDoesNot();
    void f1_opensHelpAtTheAboutTopic_data();
    void f1_opensHelpAtTheAboutTopic();
    void linkClicks_openTheirAddresses();
    void showAbout_secondRequestBringsTheOpenWindowForward();
};

void TestAboutUnit::window_isAFixedDialogWithItsCaption()
{
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(about.windowTitle(), QStringLiteral("О программе..."));
    QCOMPARE(about.size(), QSize(308, 251));
    QCOMPARE(about.minimumSize(), QSize(308, 251));
    QCOMPARE(about.maximumSize(), QSize(308, 251));
    QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about.BitBtn1->isDefault(), true);
    QCOMPARE(about.BitBtn1->text(), QStringLiteral("OK"));
    QVERIFY(!about.BitBtn1->icon().isNull());
}

void TestAboutUnit::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("place");
    // An empty size: sized to its text, only the position is fixed.
    QTest::newRow("Label9") << QStringLiteral("Label9") << QStringLiteral("Автор.........Тарвиль")
                            << QStringLiteral("GroupBox1") << QRect(8, 45, 161, 21);
    QTest::newRow("Label2") << QStringLiteral("Label2")
                            << QStringLiteral("Версия...........................1.0 rc4")
                            << QStringLiteral("GroupBox1") << QRect(8, 61, 153, 21);
    QTest::newRow("Label3") << QStringLiteral("Label3")
                            << QStringLiteral("Сделано....................2.11.2004")
                            << QStringLiteral("GroupBox1") << QRect(8, 77, 153, 21);
    QTest::newRow("Label5") << QStringLiteral("Label5") << QStringLiteral("E-mail:")
                            << QStringLiteral("GroupBox2") << QRect(92, 18, 0, 0);
    QTest::newRow("Label6") << QStringLiteral("Label6") << Msg::AuthorEmail << QStringLiteral("GroupBox2")
                            << QRect(128, 18, 0, 0);
    QTest::newRow("Label8") << QStringLiteral("Label8") << QStringLiteral("Сайт разработчика:")
                            << QStringLiteral("GroupBox2") << QRect(23, 38, 0, 0);
    QTest::newRow("Label7") << QStringLiteral("Label7") << Msg::HomePage << QStringLiteral("GroupBox2")
                            << QRect(128, 38, 0, 0);
    QTest::newRow("GroupBox1") << QStringLiteral("GroupBox1") << QString() << QStringLiteral("TfrmAbout")
                               << QRect(136, 0, 169, 97);
    QTest::newRow("GroupBox2") << QStringLiteral("GroupBox2") << QStringLiteral("Контактная информация")
                               << QStringLiteral("TfrmAbout") << QRect(4, 100, 301, 61);
    QTest::newRow("GroupBox3") << QStringLiteral("GroupBox3") << QStringLiteral("Тестеры")
                               << QStringLiteral("TfrmAbout") << QRect(4, 164, 301, 50);
    QTest::newRow("Panel1") << QStringLiteral("Panel1") << QString() << QStringLiteral("TfrmAbout")
                            << QRect(4, 6, 129, 91);
    QTest::newRow("Image1") << QStringLiteral("Image1") << QString() << QStringLiteral("Panel1")
                            << QRect(5, 4, 118, 82);
    QTest::newRow("Image2") << QStringLiteral("Image2") << QString() << QStringLiteral("GroupBox1")
                            << QRect(49, 8, 72, 32);
    QTest::newRow("BitBtn1") << QStringLiteral("BitBtn1") << QStringLiteral("OK")
                             << QStringLiteral("TfrmAbout") << QRect(117, 219, 75, 25);
}

void TestAboutUnit::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, parentName);
    QFETCH(QRect, place);
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    about.setObjectName(QStringLiteral("TfrmAbout"));

    auto *control = about.findChild<QWidget *>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->parentWidget()->objectName(), parentName);
    if (place.size().isEmpty()) {
        QCOMPARE(control->pos(), place.topLeft());
    } else {
        QCOMPARE(control->geometry(), place);
    }
    if (auto *label = qobject_cast<QLabel *>(control); label && label->pixmap().isNull()) {
        QCOMPARE(label->text(), text);
        // The whole text is seen: it fits its fixed size, or its box when sized to the text.
        const int room = place.size().isEmpty() ? label->parentWidget()->width() - label->x() : place.width();
        QVERIFY2(label->sizeHint().width() <= room,
            qPrintable(
                QStringLiteral("%1 needs %2 of %3").arg(name).arg(label->sizeHint().width()).arg(room)));
    } else if (auto *box = qobject_cast<QGroupBox *>(control)) {
        QCOMPARE(box->title(), text);
    } else if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), text);
    }
}

void TestAboutUnit::linkLabels_lookLikeLinks()
{
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    for (QLabel *link : {static_cast<QLabel *>(about.Label6), static_cast<QLabel *>(about.Label7)}) {
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(link->font().underline(), true);
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }
    // The testers: two names each, centred.
    for (QLabel *testers : {about.Label1, about.Label4}) {
        QCOMPARE(testers->text().split(QLatin1Char('\n')).size(), 2);
        QVERIFY(testers->alignment() & Qt::AlignHCenter);
        QCOMPARE(testers->size(), QSize(145, 33));
    }
    QCOMPARE(about.Label1->pos(), QPoint(8, 14));
    QCOMPARE(about.Label4->pos(), QPoint(149, 14));
}

void TestAboutUnit::animation_hasItsSettings()
{
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    QVERIFY(about.AnimationEffect1);
    QCOMPARE(about.AnimationEffect1->OwnerForm(), &about);
    QCOMPARE(about.AnimationEffect1->AnimateOnShow(), true);
    QCOMPARE(about.AnimationEffect1->AnimateOnHide(), true);
    QCOMPARE(about.AnimationEffect1->Delay(), 100);
    QCOMPARE(about.AnimationEffect1->FireworkBlasts(), 10);
    QCOMPARE(about.AnimationEffect1->Frames(), 6);
    QCOMPARE(about.AnimationEffect1->EffectType(), etRandom);
    QCOMPARE(about.AnimationEffect1->Steps(), 50);
}

void TestAboutUnit::artwork_isDrawn()
{
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(about.Image1->pixmap().size(), QSize(118, 82));
    QCOMPARE(about.Image2->pixmap().size(), QSize(72, 32));
    QVERIFY2(DistinctColours(about.Image1->pixmap()) > 200, "a photograph-like picture, not a flat one");

    // The logo: white letters on a blue field.
    const QImage logo = about.Image2->pixmap().toImage();
    int white = 0;
    int blue = 0;
    for (int y = 0; y < logo.height(); ++y) {
        for (int x = 0; x < logo.width(); ++x) {
            const QColor c = logo.pixelColor(x, y);
            white += c.red() > 240 && c.green() > 240 && c.blue() > 240;
            blue += c.blue() > 120 && c.red() < 80;
        }
    }
    QVERIFY2(white > 60, qPrintable(QString::number(white)));
    QVERIFY2(blue > 72 * 32 / 2, qPrintable(QString::number(blue)));
}

void TestAboutUnit::flag_isSetWhileOpenAndClearedOnClose()
{
    bool open = false;
    RecordingHelp help;
    QPointer<TfrmAbout> about = new TfrmAbout(nullptr, open, help);
    QCOMPARE(open, true);
    NullCanvas canvas;
    about->AnimationEffect1->SetCanvas(&canvas);
    about->AnimationEffect1->SetDelay(0);
    about->show();
    QCOMPARE(open, true);
    about->close();
    QCOMPARE(open, false);
    QTRY_VERIFY(about.isNull()); // it frees itself

    // Shown without a modal loop, OK closes and frees it as well.
    about = new TfrmAbout(nullptr, open, help);
    about->AnimationEffect1->SetCanvas(&canvas);
    about->AnimationEffect1->SetDelay(0);
    about->show();
    QTest::mouseClick(about->BitBtn1, Qt::LeftButton);
    QCOMPARE(open, false);
    QTRY_VERIFY(about.isNull());
}

void TestAboutUnit::keys_enterClosesAndEscapeDoesNot()
{
    bool open = false;
    RecordingHelp help;
    QPointer<TfrmAbout> about = new TfrmAbout(nullptr, open, help);
    NullCanvas canvas;
    about->AnimationEffect1->SetCanvas(&canvas);
    about->AnimationEffect1->SetDelay(0);
    about->show();
    QTest::keyClick(about->BitBtn1, Qt::Key_Escape);
    QVERIFY(about->isVisible());
    QCOMPARE(open, true);
    QTest::keyClick(about->BitBtn1, Qt::Key_Return);
    QVERIFY(!about->isVisible());
    QCOMPARE(about->result(), int(QDialog::Accepted));
    QTRY_VERIFY(about.isNull());
    QCOMPARE(open, false);
}

void TestAboutUnit::f1_opensHelpAtTheAboutTopic_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("onButton");
    QTest::addColumn<QStringList>("topics");
    QTest::newRow("F1 on the OK button") << int(Qt::Key_F1) << true << QStringList {Msg::HelpAbout};
    QTest::newRow("F1 on the window") << int(Qt::Key_F1) << false << QStringList {Msg::HelpAbout};
    QTest::newRow("another key") << int(Qt::Key_F2) << true << QStringList {};
}

void TestAboutUnit::f1_opensHelpAtTheAboutTopic()
{
    QFETCH(int, key);
    QFETCH(bool, onButton);
    QFETCH(QStringList, topics);
    bool open = false;
    RecordingHelp help;
    TfrmAbout about(nullptr, open, help);
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    QWidget *target = onButton ? static_cast<QWidget *>(about.BitBtn1) : &about;
    QTest::keyRelease(target, Qt::Key(key));
    QCOMPARE(help.topics, topics);
    QCOMPARE(QStringLiteral("SHZ_contents0007"), Msg::HelpAbout);
}

void TestAboutUnit::linkClicks_openTheirAddresses()
{
    bool open = false;
    RecordingHelp help;
    QList<QUrl> opened;
    TfrmAbout about(nullptr, open, help, [&opened](const QUrl &url) { opened.append(url); });
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    QTest::mouseClick(about.Label6, Qt::LeftButton);
    QTest::mouseClick(about.Label7, Qt::LeftButton);
    QTest::mouseClick(about.Label5, Qt::LeftButton); // a plain label opens nothing
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened.at(0).toString(),
        QStringLiteral("mailto:zarvo@example.org?x-priority=normal&subject=Zarvo_1.0"));
    QCOMPARE(opened.at(1), QUrl(Msg::HomePage));
}

void TestAboutUnit::showAbout_secondRequestBringsTheOpenWindowForward()
{
    bool open = false;
    RecordingHelp help;
    QWidget mainWindow;
    int windowsDuringSecondRequest = -1;
    TfrmAbout *first = nullptr;
    TfrmAbout *afterSecond = nullptr;
    bool flagWhileOpen = false;

    QTimer::singleShot(0, [&] {
        first = frmAbout;
        flagWhileOpen = open;
        TfrmAbout::ShowAbout(&mainWindow, open, help); // returns at once: the window is open
        windowsDuringSecondRequest = int(OpenAboutWindows().size());
        afterSecond = frmAbout;
        QTest::mouseClick(frmAbout->BitBtn1, Qt::LeftButton);
    });
    TfrmAbout::ShowAbout(&mainWindow, open, help);

    QVERIFY(first);
    QCOMPARE(flagWhileOpen, true);
    QCOMPARE(windowsDuringSecondRequest, 1);
    QCOMPARE(afterSecond, first);
    QCOMPARE(open, false);
    QVERIFY(frmAbout.isNull()); // freed on close
    QCOMPARE(OpenAboutWindows().size(), 0);
}

ZARVO_TEST_MAIN(TestAboutUnit)
#include "test_aboutunit.moc"
