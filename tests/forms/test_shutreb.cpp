// The shutdown/restart countdown window on its own: layout and texts, the count from 15 to 0,
// and what OK, Enter, Cancel and Escape request.

#include "support/TestMain.h"
#include "Messages.h"
#include "support/RecordingServices.h"
#include "Shutrebunit.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestShutReb : public QObject {
    Q_OBJECT

private:
    QStringList m_log;
    RecordingSessionService m_session {m_log};

    TfrmShutReb *ShowCountdown(bool powerOff)
    {
        auto *form = new TfrmShutReb(m_session);
        form->lblShutReb->setText(powerOff ? Msg::CountdownShutdown : Msg::CountdownReboot);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form))
            qWarning("the countdown did not become active");
        return form;
    }

private slots:
    void init() { m_log.clear(); }
    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            delete qobject_cast<TfrmShutReb *>(w);
    }

    void controlsArePlacedAndSized_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("frame") << "Bevel1" << QRect(6, 6, 290, 105);
        QTest::newRow("line under the heading") << "Bevel2" << QRect(11, 27, 281, 2);
        QTest::newRow("seconds") << "lblSec" << QRect(96, 38, 33, 16);
        QTest::newRow("OK") << "btnOK" << QRect(40, 80, 89, 25);
        QTest::newRow("Cancel") << "btnCancel" << QRect(168, 80, 89, 25);
    }

    void controlsArePlacedAndSized()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        TfrmShutReb form(m_session);
        auto *widget = form.findChild<QWidget *>(control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
    }

    void labelsReadAsOneSentence_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        QTest::newRow("heading") << "Label3" << QPoint(12, 10) << "Zarvo" << 13 << true;
        QTest::newRow("in") << "Label1" << QPoint(64, 40) << "Через" << 11 << false;
        QTest::newRow("seconds") << "lblSec" << QPoint(96, 38) << "15" << 13 << true;
        QTest::newRow("seconds computer will be")
            << "Label2" << QPoint(125, 40) << "сек. компьютер будет" << 11 << false;
    }

    void labelsReadAsOneSentence()
    {
        QFETCH(QString, control);
        QFETCH(QPoint, position);
        QFETCH(QString, text);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        TfrmShutReb form(m_session);
        auto *label = form.findChild<QLabel *>(control);
        QVERIFY(label);
        QCOMPARE(label->pos(), position);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->font().pixelSize(), pixelSize);
        QCOMPARE(label->font().bold(), bold);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        QVERIFY(label->width() >= label->sizeHint().width()); // nothing cut off
    }

    // 73 x 13 at (112, 56), centred; a wider face widens it about its centre so neither text is
    // cut off.
    void whatHappensFitsBothTexts()
    {
        TfrmShutReb form(m_session);
        const QLabel *label = form.lblShutReb;
        QCOMPARE(label->text(), QStringLiteral("перезагружен"));
        QCOMPARE(label->font().pixelSize(), 11);
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(label->y(), 56);
        QCOMPARE(label->height(), 13);
        QVERIFY(label->width() >= 73);
        QVERIFY(qAbs(2 * label->x() + label->width() - (2 * 112 + 73)) <= 1); // same centre
        for (const QString &text : {Msg::CountdownShutdown, Msg::CountdownReboot})
            QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->width(), qPrintable(text));
    }

    void windowAndButtons()
    {
        TfrmShutReb form(m_session);
        QCOMPARE(form.size(), QSize(302, 118));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(form.testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(form.windowTitle(), QStringLiteral("Предупреждение!"));
        QCOMPARE(form.geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
        QCOMPARE(form.palette().color(QPalette::Window), QColor(102, 146, 175));
        QCOMPARE(form.btnOK->text(), QStringLiteral("&ОК"));
        QCOMPARE(form.btnCancel->text(), QStringLiteral("От&мена"));
        QVERIFY(form.btnOK->isDefault());
        QVERIFY(!form.btnOK->icon().isNull());
        QVERIFY(!form.btnCancel->icon().isNull());
        QCOMPARE(form.Bevel1->frameShadow(), QFrame::Sunken);
        // The count runs from the window's creation, once a second.
        QVERIFY(form.Timer1->isActive());
        QCOMPARE(form.Timer1->interval(), 1000);
    }

    void countsDownAndActsOnceAtZero_data()
    {
        QTest::addColumn<bool>("powerOff");
        QTest::addColumn<QString>("request");
        QTest::newRow("shutdown") << true << "power off";
        QTest::newRow("restart") << false << "reboot";
    }

    void countsDownAndActsOnceAtZero()
    {
        QFETCH(bool, powerOff);
        QFETCH(QString, request);
        QPointer<TfrmShutReb> form = ShowCountdown(powerOff);
        form->Timer1->stop(); // the test ticks it

        for (int left = 14; left >= 1; --left) {
            form->Timer1Timer();
            QCOMPARE(form->lblSec->text(), QString::number(left));
        }
        QCOMPARE(m_log, QStringList());
        QVERIFY(form->isVisible());

        form->Timer1Timer();
        QCOMPARE(m_log, QStringList {request});
        QVERIFY(!form->isVisible());
        QVERIFY(!form->Timer1->isActive());
        QTRY_VERIFY(form.isNull()); // freed with its timer
        QCOMPARE(m_log, QStringList {request});
    }

    void okActsAtOnceAtAnyPoint_data()
    {
        QTest::addColumn<bool>("powerOff");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("request");
        QTest::newRow("shutdown at once, click") << true << 0 << false << "power off";
        QTest::newRow("restart at once, Enter") << false << 0 << true << "reboot";
        QTest::newRow("shutdown half way, Enter") << true << 7 << true << "power off";
        QTest::newRow("restart at the last second, click") << false << 14 << false << "reboot";
    }

    void okActsAtOnceAtAnyPoint()
    {
        QFETCH(bool, powerOff);
        QFETCH(int, ticks);
        QFETCH(bool, byEnter);
        QFETCH(QString, request);
        QPointer<TfrmShutReb> form = ShowCountdown(powerOff);
        for (int i = 0; i < ticks; ++i)
            form->Timer1Timer();
        QCOMPARE(QApplication::focusWidget(), form->btnOK);

        if (byEnter)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else
            QTest::mouseClick(form->btnOK, Qt::LeftButton);

        QCOMPARE(m_log, QStringList {request});
        QVERIFY(!form->isVisible());
        QVERIFY(!form->Timer1->isActive());
    }

    void cancelAndEscapeCloseWithoutActing_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Escape") << true;
    }

    void cancelAndEscapeCloseWithoutActing()
    {
        QFETCH(bool, byEscape);
        QPointer<TfrmShutReb> form = ShowCountdown(true);
        QPointer<QTimer> timer = form->Timer1;
        timer->setInterval(20); // the whole count would take 0.3 s
        if (byEscape)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            QTest::mouseClick(form->btnCancel, Qt::LeftButton);

        QVERIFY(!form->isVisible());
        QTRY_VERIFY(timer.isNull()); // the window and its timer are gone...
        QTest::qWait(400);
        QCOMPARE(m_log, QStringList()); // ...and nothing was requested, then or later
    }
};

ZARVO_TEST_MAIN(TestShutReb)
#include "test_shutreb.moc"
