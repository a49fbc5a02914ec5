// The reminder window on its own: its layout and skin, its keys, and when it plays and stops
// its sound.

#include "support/TestMain.h"
#include "support/RecordingServices.h"
#include "Remindunit.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

class TestRemind : public QObject {
    Q_OBJECT

private:
    QStringList m_log;
    RecordingSoundPlayer m_sound {m_log};

    // A notice shown as the program shows it (active, focus on OK), non-modally so the test can act.
    TfrmRemind *ShowNotice(const QString &soundFile)
    {
        auto *form = new TfrmRemind(m_sound);
        form->lblFileName->setText(soundFile);
        form->SetMessage(QStringLiteral("Позвонить маме"));
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form))
            qWarning("the notice did not become active");
        return form;
    }

private slots:
    void init() { m_log.clear(); }
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            delete qobject_cast<TfrmRemind *>(w);
    }

    void controlsArePlacedAndSized_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("picture") << "Image1" << QRect(0, 0, 450, 320);
        QTest::newRow("title") << "Label1" << QRect(185, 48, 240, 41);
        QTest::newRow("message") << "Memo1" << QRect(184, 96, 241, 164);
        QTest::newRow("OK") << "BitBtn1" << QRect(232, 280, 137, 26);
    }

    void controlsArePlacedAndSized()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        TfrmRemind form(m_sound);
        auto *widget = form.findChild<QWidget *>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
    }

    void windowIsBorderlessTopMostAndCentred()
    {
        TfrmRemind form(m_sound);
        QCOMPARE(form.size(), QSize(450, 320));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(form.windowTitle(), QStringLiteral("Напоминаем..."));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(form.geometry().center(), screen.center());
        QCOMPARE(form.palette().color(QPalette::Window), QColor(102, 146, 175));
    }

    void textsHaveTheirFontsAndColours()
    {
        TfrmRemind form(m_sound);
        for (QWidget *text : {static_cast<QWidget *>(form.Label1), static_cast<QWidget *>(form.Memo1)}) {
            QCOMPARE(text->font().pixelSize(), 16);
            QVERIFY(text->font().bold());
        }
        QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(102, 146, 175));
        QVERIFY(form.Label1->wordWrap());
        QVERIFY(!form.Label1->autoFillBackground()); // transparent over the skin
        QCOMPARE(form.Memo1->palette().color(QPalette::Base), QColor(197, 231, 255));
        QCOMPARE(form.Memo1->palette().color(QPalette::Text), QColor(53, 74, 88));
        QCOMPARE(form.Memo1->frameShape(), QFrame::NoFrame);
        QCOMPARE(form.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(!form.Memo1->isReadOnly());
        QCOMPARE(form.lblFileName->text(), QStringLiteral("lblFileName"));
        QVERIFY(form.lblFileName->isHidden());
        QCOMPARE(form.BitBtn1->text(), QStringLiteral("&ОК"));
        QVERIFY(form.BitBtn1->isDefault());
        QVERIFY(!form.BitBtn1->icon().isNull());
    }

    void messageIsCentredOnEveryLine()
    {
        TfrmRemind form(m_sound);
        form.SetMessage(QStringLiteral("первая строка\nвторая\nтретья"));
        QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("первая строка\nвторая\nтретья"));
        QCOMPARE(form.Memo1->document()->blockCount(), 3);
        for (QTextBlock block = form.Memo1->document()->begin(); block.isValid(); block = block.next())
            QCOMPARE(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    }

    // The skin: a steel-blue ground, the white headline at the top, the clock on the left and the
    // light-blue panel behind the texts.
    void skinIsLaidOutAsTheWindowExpects()
    {
        TfrmRemind form(m_sound);
        const QImage skin = form.Image1->pixmap().toImage();
        QCOMPARE(skin.size(), QSize(450, 320));
        QCOMPARE(QColor(skin.pixel(300, 200)), QColor(197, 231, 255)); // inside the panel
        QVERIFY2(QColor(skin.pixel(178, 150)).lightness() < 100, "the panel's frame");
        const QColor ground = skin.pixel(170, 300);
        QVERIFY2(ground.blue() > ground.red() + 40, "steel-blue ground");

        auto countPixels = [&](QRect area, auto test) {
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    count += test(QColor(skin.pixel(x, y))) ? 1 : 0;
            return count;
        };
        const int white = countPixels(QRect(60, 8, 330, 28), [](QColor c) { return c.lightness() > 240; });
        QVERIFY2(white > 300, qPrintable(QStringLiteral("headline pixels: %1").arg(white)));
        const int warm
            = countPixels(QRect(20, 90, 150, 160), [](QColor c) { return c.red() > c.blue() + 60; });
        QVERIFY2(warm > 1000, qPrintable(QStringLiteral("illustration pixels: %1").arg(warm)));
    }

    void okHasTheFocusAndEnterPressesIt()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QCOMPARE(QApplication::focusWidget(), form->BitBtn1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(form.isNull() || !form->isVisible());
        QCOMPARE(m_log, (QStringList {"play /sounds/ring.wav", "stop"}));
        QTRY_VERIFY(form.isNull()); // it frees itself once closed
    }

    void enterInTheMessageStartsANewLine()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("NULL"));
        QTest::mouseClick(form->Memo1->viewport(), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), form->Memo1);
        QTest::keyClick(form->Memo1, Qt::Key_Return);
        QVERIFY(form->isVisible());
        QCOMPARE(form->Memo1->document()->blockCount(), 2);
    }

    void escapeDoesNotCloseTheNotice()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(form->isVisible());
        QCOMPARE(m_log, QStringList {"play /sounds/ring.wav"});
    }

    // Coming back to the notice plays its sound again from the start.
    void everyActivationPlaysTheSound()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(m_log, (QStringList {"play /sounds/ring.wav", "play /sounds/ring.wav"}));
    }

    // Dragging the notice by its picture is no return to it: a window manager that takes the
    // activation away for the move and gives it back must not restart the sound. A later real
    // return still does.
    void draggingDoesNotRestartTheSound()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QWidget other;
        auto leaveAndReturn = [&] {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form));
        };

        QTest::mousePress(form->Image1, Qt::LeftButton, {}, QPoint(40, 150));
        leaveAndReturn(); // as the window manager does around the move
        QCOMPARE(m_log, QStringList {"play /sounds/ring.wav"});

        QTest::mouseMove(form->Image1, QPoint(60, 160));
        leaveAndReturn();
        QCOMPARE(m_log, (QStringList {"play /sounds/ring.wav", "play /sounds/ring.wav"}));
    }

    // A press that started no move (the window system refused it) ends with its release.
    void pressWithoutMoveKeepsTheSoundOnReturn()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QTest::mouseClick(form->Image1, Qt::LeftButton, {}, QPoint(40, 150));
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        QCOMPARE(m_log, (QStringList {"play /sounds/ring.wav", "play /sounds/ring.wav"}));
    }

    void noSoundIsSilent()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("NULL"));
        QCOMPARE(m_log, QStringList());
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QCOMPARE(m_log, QStringList {"stop"});
    }

    // Only OK stops the sound: closed by the window system, it plays to its end.
    void closingOtherwiseLetsTheSoundPlayOn()
    {
        QPointer<TfrmRemind> form = ShowNotice(QStringLiteral("/sounds/ring.wav"));
        QVERIFY(form->close());
        QCOMPARE(m_log, QStringList {"play /sounds/ring.wav"});
        QTRY_VERIFY(form.isNull());
    }
};

ZARVO_TEST_MAIN(TestRemind)
#include "test_remind.moc"
