// The window "Пропущенные задания": what it lists, which buttons each task allows, and what each
// button does to the task file (only "Удалить пропущенные разовые задания" changes it).
#include "Context.h"
#include "Missedtasks.h"
#include "Missedunit.h"
#include "support/CoreFixture.h"
#include "support/FileHelpers.h"
#include "support/TestMain.h"
#include "Tasklist.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kNow(QDate(2004, 1, 5), QTime(12, 0));

// Six tasks missed between 8:00 and now, and one that is not (later today).
struct Fixture {
    CoreFixture f;
    MissedTaskList missed;

    Fixture()
    {
        f.writeTasks({
            makeTask(u"1"_s, u"9:00:00"_s, u"5 января 2004"_s, u"Позвонить"_s, u"/snd/a.wav"_s),
            makeTask(u"2"_s, u"9:30:00"_s, u"5 января 2004"_s),
            makeTask(u"6"_s, u"10:00:00"_s, u"NULL"_s, u"NULL"_s, u"/opt/app"_s),
            makeTask(u"7"_s, u"NULL"_s, u"4 января "_s, u"NULL"_s, u"Ивана"_s),
            makeTask(u"6"_s, u"10:30:00"_s, u"5 января 2004"_s, u"NULL"_s, u"/home/u/doc.txt"_s),
            makeTask(u"1"_s, u"23:00:00"_s, u"5 января 2004"_s, u"Потом"_s),
            makeTask(u"5"_s, u"11:00:00"_s, u"NULL"_s),
        });
        f.clock.set(kNow);
        RebuildTaskList(f.ctx);
        missed = FindMissedBetween(f.ctx, QDateTime(QDate(2004, 1, 3), QTime(8, 0)), kNow);
    }

    TfrmMissed *open()
    {
        QList<QIcon> images;
        for (int i = 0; i < 7; ++i) {
            QPixmap pixmap(16, 16);
            pixmap.fill(QColor::fromHsv(i * 40, 200, 200));
            images << QIcon(pixmap);
        }
        auto *window = new TfrmMissed(f.ctx, images);
        window->AddTasks(missed);
        window->show();
        return window;
    }

    QByteArray file() const { return readBytes(f.ctx.taskFilePath); }
};

QStringList rowTexts(const TfrmMissed &w)
{
    QStringList texts;
    for (int i = 0; i < w.lstMissed->count(); ++i)
        texts << w.lstMissed->item(i)->text();
    return texts;
}

} // namespace

class TestMissedUnit : public QObject {
    Q_OBJECT

private slots:
    void lists_eachMissWithPictureTextAndDueMoment()
    {
        Fixture x;
        QCOMPARE(x.missed.size(), 6);
        QScopedPointer<TfrmMissed> w(x.open());
        QCOMPARE(w->windowTitle(), u"Пропущенные задания"_s);
        const QStringList rows = rowTexts(*w);
        QCOMPARE(rows.size(), 6);
        for (int i = 0; i < rows.size(); ++i) {
            QVERIFY2(rows.at(i).startsWith(x.f.view.RowText(w->Tasks().at(i).block) + u"\nсрок: "_s),
                qPrintable(rows.at(i)));
            QVERIFY(!w->lstMissed->item(i)->icon().isNull());
        }
        QVERIFY(rows.at(0).endsWith(u"\nсрок: 9:00:00, 5 января 2004"_s));
        QVERIFY(rows.at(2).endsWith(u"\nсрок: 10:00:00, 5 января 2004"_s)); // every day: today's time
        QVERIFY(rows.at(3).endsWith(u"\nсрок: 4 января 2004"_s)); // the birthday's whole day
        // Listing the same misses again adds nothing: several detections, one window, one row each.
        w->AddTasks(x.missed);
        QCOMPARE(w->lstMissed->count(), 6);
        QCOMPARE(w->lstMissed->currentRow(), 0);
        QCOMPARE(w->lstMissed->horizontalScrollBar()->maximum(), 0); // every row is seen whole
    }

    void buttons_followTheSelectedTask_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("show");
        QTest::addColumn<bool>("run");
        QTest::newRow("reminder") << 0 << true << false;
        QTest::newRow("shutdown") << 1 << false << false;
        QTest::newRow("program") << 2 << false << true;
        QTest::newRow("birthday") << 3 << true << false;
        QTest::newRow("document") << 4 << false << true;
        QTest::newRow("screen saver") << 5 << false << false;
    }
    void buttons_followTheSelectedTask()
    {
        QFETCH(int, row);
        QFETCH(bool, show);
        QFETCH(bool, run);
        Fixture x;
        QScopedPointer<TfrmMissed> w(x.open());
        w->lstMissed->setCurrentRow(row);
        QCOMPARE(w->btnShow->isEnabled(), show);
        QCOMPARE(w->btnRun->isEnabled(), run);
        QCOMPARE(w->lblNotRun->isVisible(), !show && !run); // only listed, never run late
        QVERIFY(w->btnDeleteOneShots->isEnabled());
        QVERIFY(w->btnClose->isEnabled());
    }

    void showAndRun_actNowAndChangeNothing()
    {
        Fixture x;
        const QByteArray before = x.file();
        QScopedPointer<TfrmMissed> w(x.open());
        for (const int row : {0, 1, 2, 3, 4, 5}) {
            w->lstMissed->setCurrentRow(row);
            QTest::mouseClick(w->btnShow, Qt::LeftButton); // a disabled button does nothing
            QTest::mouseClick(w->btnRun, Qt::LeftButton);
        }
        QCOMPARE(x.f.actions.calls,
            (QStringList {u"remind|Позвонить|/snd/a.wav"_s, u"run|/opt/app"_s, u"birthday|NULL|Ивана"_s,
                u"run|/home/u/doc.txt"_s}));
        QCOMPARE(x.file(), before);
        QCOMPARE(w->lstMissed->count(), 6);
    }

    void deleteOneShots_removesThemFromTheFileAndTheList()
    {
        Fixture x;
        QScopedPointer<TfrmMissed> w(x.open());
        QTest::mouseClick(w->btnDeleteOneShots, Qt::LeftButton);

        // One save: the three listed one-shot tasks are gone; the repeating ones and the later
        // one-shot task stay, byte for byte.
        CoreFixture expected;
        expected.writeTasks({
            makeTask(u"6"_s, u"10:00:00"_s, u"NULL"_s, u"NULL"_s, u"/opt/app"_s),
            makeTask(u"7"_s, u"NULL"_s, u"4 января "_s, u"NULL"_s, u"Ивана"_s),
            makeTask(u"1"_s, u"23:00:00"_s, u"5 января 2004"_s, u"Потом"_s),
            makeTask(u"5"_s, u"11:00:00"_s, u"NULL"_s),
        });
        QCOMPARE(x.file(), readBytes(expected.ctx.taskFilePath));
        QCOMPARE(x.f.view.RowCount(), 4); // the main list was rebuilt
        QCOMPARE(rowTexts(*w).size(), 3);
        for (const MissedTask &task : w->Tasks())
            QVERIFY(!task.IsOneShot());
        QVERIFY(!w->btnDeleteOneShots->isEnabled());
        QVERIFY(x.f.actions.calls.isEmpty());
    }

    void deleteOneShots_taskEditedMeanwhile_isFoundByItsLines()
    {
        Fixture x;
        QScopedPointer<TfrmMissed> w(x.open());
        // The file changes under the window: a new task comes first; nothing else moves.
        const QByteArray newTask = [] {
            CoreFixture one;
            one.writeTasks({makeTask(u"1"_s, u"22:00:00"_s, u"5 января 2004"_s, u"Новое"_s)});
            return readBytes(one.ctx.taskFilePath);
        }();
        writeBytes(x.f.ctx.taskFilePath, newTask + x.file());
        QTest::mouseClick(w->btnDeleteOneShots, Qt::LeftButton);
        const QStringList lines = x.f.fileLines();
        QCOMPARE(lines.size(), 5 * 7);
        QCOMPARE(lines.at(4), u"Новое"_s);
        QCOMPARE(lines.at(7 + 4), u"NULL"_s); // the program task
        QCOMPARE(lines.at(3 * 7 + 4), u"Потом"_s);
    }

    void close_changesNothing()
    {
        Fixture x;
        const QByteArray before = x.file();
        QPointer<TfrmMissed> w = x.open();
        QTest::mouseClick(w->btnClose, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
        QCOMPARE(x.file(), before);
        QVERIFY(x.f.actions.calls.isEmpty());
    }

    void controls_fitTheWindowWithoutOverlap()
    {
        Fixture x;
        QScopedPointer<TfrmMissed> w(x.open());
        const QList<QWidget *> controls {
            w->lblInfo, w->lstMissed, w->btnShow, w->btnRun, w->lblNotRun, w->btnDeleteOneShots, w->btnClose};
        for (QWidget *a : controls) {
            QVERIFY2(w->rect().contains(a->geometry()), qPrintable(a->objectName()));
            if (auto *button = qobject_cast<QPushButton *>(a))
                QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(a->objectName()));
            for (QWidget *b : controls) {
                if (a != b)
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                        qPrintable(a->objectName() + u'/' + b->objectName()));
            }
        }
    }
};

ZARVO_TEST_MAIN(TestMissedUnit)
#include "test_missedunit.moc"
