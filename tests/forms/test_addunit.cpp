#include "support/TestMain.h"
#include "support/SettingsSeeds.h"
#include "Addunit.h"
#include "Context.h"
#include "DialogFakes.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "support/FakeClock.h"
#include "support/FakeTaskListView.h"
#include "support/FileHelpers.h"
#include "support/RecordingMessages.h"
#include "Taskrecord.h"
#include "Usersettings_linux.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

namespace {

const QStringList kInactiveShutdown
    = {u"%>>"_qs, u"2"_qs, u"9:05:00"_qs, u"5 января 2030"_qs, u"NULL"_qs, u"NULL"_qs, u"false"_qs};
const QStringList kQuietReminder
    = {u"%>>"_qs, u"1"_qs, u"7:00:00"_qs, u"NULL"_qs, u"NULL"_qs, u"NULL"_qs, u"falseM"_qs};

struct Fixture {
    QTemporaryDir dir;
    JsonSettingsBackend settings {dir.filePath(u"config"_qs)};
    FakeClock clock;
    FakeTaskListView view;
    RecordingMessages messages;
    RecordingHelp help;
    RecordingSoundPlayer player;
    CoreContext ctx;
    bool addFormOpen = false;
    QStringList chooserFilters;
    QString chosenFile;
    OpenedDialogs<TfrmAdd> opened; // last: its dialogs go first

    Fixture()
    {
        ctx.taskFilePath = dir.filePath(u"ztasks.zct"_qs);
        ctx.settings = &settings;
        ctx.clock = &clock;
        ctx.view = &view;
        ctx.messages = &messages;
        ctx.help = &help;
        clock.now = QDateTime(QDate(2026, 3, 10), QTime(12, 0, 0));
        SeedSettingsAfterFirstRun(settings);
        WriteSettingString(settings, SettingsKeys::Settings, u"sound_fn"_qs, u"/snd/bell.wav"_qs);
    }

    TfrmAdd *open(bool addMode)
    {
        auto *dialog = new TfrmAdd(ctx, player, help, addFormOpen, addMode);
        opened.add(dialog);
        dialog->SetFileChooser([this](QWidget *, const QString &filter) {
            chooserFilters << filter;
            return chosenFile;
        });
        dialog->show();
        return dialog;
    }
};

// A message box that takes the focus away from the dialog and gives it back, as a real one does;
// true when the dialog was active again afterwards.
bool ActivateAway(QWidget *dialog)
{
    QWidget box;
    box.show();
    box.activateWindow();
    if (!QTest::qWaitFor([&] { return box.isActiveWindow(); }, 1000))
        return false;
    box.close();
    dialog->activateWindow();
    return QTest::qWaitFor([&] { return dialog->isActiveWindow(); }, 1000);
}

template<typename T> T *child(QWidget *dialog, const QString &name)
{
    T *widget = dialog->findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

void chooseType(QWidget *dialog, int type)
{
    QTest::mouseClick(child<QRadioButton>(dialog, QStringLiteral("radType%1").arg(type - 1)), Qt::LeftButton);
}

void click(QWidget *dialog, const QString &name)
{
    QTest::mouseClick(child<QAbstractButton>(dialog, name), Qt::LeftButton);
}

void select(QWidget *dialog, const QString &list, const QString &item)
{
    auto *combo = child<QComboBox>(dialog, list);
    const int index = combo->findText(item);
    if (index < 0)
        qFatal("no item '%s' in %s", qPrintable(item), qPrintable(list));
    combo->setCurrentIndex(index);
}

QString shownTime(QWidget *dialog, const QString &h = u"cbxHours"_qs, const QString &m = u"cbxMinutes"_qs,
    const QString &s = u"cbxSeconds"_qs)
{
    return child<QComboBox>(dialog, h)->currentText() + u':' + child<QComboBox>(dialog, m)->currentText()
        + u':' + child<QComboBox>(dialog, s)->currentText();
}

QString shownDate(QWidget *dialog)
{
    return child<QComboBox>(dialog, u"cbxDay"_qs)->currentText()
        + child<QComboBox>(dialog, u"cbxMonth"_qs)->currentText()
        + child<QComboBox>(dialog, u"cbxYear"_qs)->currentText();
}

void setDateTime(QWidget *dialog, const QString &day, const QString &month, const QString &year,
    const QString &h, const QString &m, const QString &s)
{
    select(dialog, u"cbxDay"_qs, day);
    select(dialog, u"cbxMonth"_qs, month);
    select(dialog, u"cbxYear"_qs, year);
    select(dialog, u"cbxHours"_qs, h);
    select(dialog, u"cbxMinutes"_qs, m);
    select(dialog, u"cbxSeconds"_qs, s);
}

} // namespace

class AddDialogTest : public QObject {
    Q_OBJECT

private slots:
    void opening_fillsFromSettingsAndClock()
    {
        Fixture f;
        QPointer<TfrmAdd> dialog = f.open(true);
        QCOMPARE(f.addFormOpen, true);
        QCOMPARE(dialog->windowTitle(), u"Добавить\\редактировать задание"_qs);
        QCOMPARE(dialog->size(), QSize(506, 378));
        QCOMPARE(shownTime(dialog), u"12:00:00"_qs);
        QCOMPARE(shownDate(dialog), u"10 марта 2026"_qs);
        QCOMPARE(
            shownTime(dialog, u"cbxPlusHours"_qs, u"cbxPlusMinutes"_qs, u"cbxPlusSeconds"_qs), u"0:30:00"_qs);
        QCOMPARE(child<QLineEdit>(dialog, u"edtSoundFileName"_qs)->text(), u"bell.wav"_qs);
        QCOMPARE(child<QLineEdit>(dialog, u"edtSoundFileName"_qs)->toolTip(), u"/snd/bell.wav"_qs);
        QCOMPARE(child<QCheckBox>(dialog, u"chkPlaySound"_qs)->isChecked(), false);
        QCOMPARE(child<QLineEdit>(dialog, u"edtSoundFileName"_qs)->isEnabled(), false);
        QCOMPARE(child<QPlainTextEdit>(dialog, u"memMessage"_qs)->isEnabled(), false);
        QCOMPARE(child<QRadioButton>(dialog, u"radType0"_qs)->isChecked(), true);
        QCOMPARE(child<QComboBox>(dialog, u"cbxYear"_qs)->itemText(0), u"2003"_qs);
        QCOMPARE(child<QComboBox>(dialog, u"cbxYear"_qs)->count(), 97);
        dialog->close();
        QCOMPARE(f.addFormOpen, false);
        QCOMPARE(f.player.log, QStringList {u"stop"_qs});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
    }

    void typeLayout_showsOnlyWhatTheTypeNeeds_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("visible");
        QTest::addColumn<QString>("hidden");
        QTest::addColumn<QString>("label11");
        const QString all
            = u"chkPlaySound btnAudioOpen btnAudioPlay btnAudioStop edtSoundFileName edtProgFileName "
              "edtBirthFIO chkShowMessage memMessage Label11"_qs;
        QTest::newRow("reminder")
            << 1
            << u"grpRemindAlso chkPlaySound btnAudioOpen btnAudioPlay btnAudioStop "
               "edtSoundFileName chkShowMessage memMessage grpTimeSettings cbxYear Label6 "
               "chkEveryDay"_qs
            << u"Label11 edtProgFileName edtBirthFIO pnlBirthWarning"_qs << QString();
        for (int type = 2; type <= 5; ++type) {
            QTest::addRow("system type %d", type) << type << u"grpTimeSettings cbxYear Label6 chkEveryDay"_qs
                                                  << u"grpRemindAlso pnlBirthWarning "_qs + all << QString();
        }
        QTest::newRow("program")
            << 6
            << u"grpRemindAlso Label11 btnAudioOpen edtProgFileName grpTimeSettings cbxYear "
               "chkEveryDay"_qs
            << u"chkPlaySound btnAudioPlay btnAudioStop edtSoundFileName edtBirthFIO "
               "chkShowMessage memMessage pnlBirthWarning"_qs
            << u"Введите путь к файлу программы или документа"_qs;
        QTest::newRow("birthday")
            << 7 << u"grpRemindAlso Label11 edtBirthFIO chkShowMessage memMessage pnlBirthWarning"_qs
            << u"chkPlaySound btnAudioOpen btnAudioPlay edtSoundFileName edtProgFileName "
               "grpTimeSettings cbxYear Label6 chkEveryDay"_qs
            << u"Как звать именинника?"_qs;
    }
    void typeLayout_showsOnlyWhatTheTypeNeeds()
    {
        QFETCH(int, type);
        QFETCH(QString, visible);
        QFETCH(QString, hidden);
        QFETCH(QString, label11);
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        chooseType(dialog.get(), ttBirthday); // start from another layout
        chooseType(dialog.get(), ttRunProgram);
        chooseType(dialog.get(), type);
        for (const QString &name : visible.split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(child<QWidget>(dialog.get(), name)->isVisible(), qPrintable(name + u" should show"_qs));
        for (const QString &name : hidden.split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(
                !child<QWidget>(dialog.get(), name)->isVisible(), qPrintable(name + u" should be hidden"_qs));
        if (!label11.isEmpty())
            QCOMPARE(child<QLabel>(dialog.get(), u"Label11"_qs)->text(), label11);
        // The program layout moves the open button level with the play button and enables it.
        auto *open = child<QPushButton>(dialog.get(), u"btnAudioOpen"_qs);
        if (type == ttRunProgram) {
            QCOMPARE(open->y(), child<QWidget>(dialog.get(), u"btnAudioPlay"_qs)->y());
            QCOMPARE(open->isEnabled(), true);
        } else if (type == ttRemind) {
            QCOMPARE(open->y(), 16);
            QCOMPARE(open->isEnabled(), false); // sound is off by default
        }
        const bool birthday = type == ttBirthday;
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxDay"_qs)->isEnabled(), true);
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxYear"_qs)->isEnabled(), !birthday);
    }

    void checkBoxes_enableTheirControls()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        click(dialog.get(), u"chkPlaySound"_qs);
        for (const char *name : {"edtSoundFileName", "btnAudioOpen", "btnAudioPlay", "btnAudioStop"})
            QVERIFY2(child<QWidget>(dialog.get(), QString::fromLatin1(name))->isEnabled(), name);
        click(dialog.get(), u"chkShowMessage"_qs);
        QCOMPARE(child<QWidget>(dialog.get(), u"memMessage"_qs)->isEnabled(), true);
        click(dialog.get(), u"chkEveryDay"_qs);
        for (const char *name : {"cbxDay", "cbxMonth", "cbxYear"})
            QVERIFY2(!child<QWidget>(dialog.get(), QString::fromLatin1(name))->isEnabled(), name);
        // Birthdays always take a day and a month.
        chooseType(dialog.get(), ttBirthday);
        QCOMPARE(child<QWidget>(dialog.get(), u"cbxMonth"_qs)->isEnabled(), true);
        chooseType(dialog.get(), ttRemind);
        QCOMPARE(child<QWidget>(dialog.get(), u"cbxMonth"_qs)->isEnabled(), false);
    }

    void switchingTypes_keepsSoundAndMessage()
    {
        Fixture f;
        f.chosenFile = u"/home/u/Music/ring.WAV"_qs;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        click(dialog.get(), u"chkPlaySound"_qs);
        click(dialog.get(), u"btnAudioOpen"_qs);
        click(dialog.get(), u"chkShowMessage"_qs);
        child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs)->setPlainText(u"позвонить"_qs);
        chooseType(dialog.get(), ttShutdown);
        chooseType(dialog.get(), ttRemind);
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkPlaySound"_qs)->isChecked(), true);
        QCOMPARE(child<QLineEdit>(dialog.get(), u"edtSoundFileName"_qs)->text(), u"ring.WAV"_qs);
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkShowMessage"_qs)->isChecked(), true);
        QCOMPARE(child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs)->toPlainText(), u"позвонить"_qs);
        QCOMPARE(f.chooserFilters, QStringList {u"Звуковые файлы (*.wav)"_qs});
    }

    void openButton_choosesTheFileOfTheType()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        chooseType(dialog.get(), ttRunProgram);
        f.chosenFile = u"/opt/tools/backup.sh"_qs;
        click(dialog.get(), u"btnAudioOpen"_qs);
        auto *prog = child<QLineEdit>(dialog.get(), u"edtProgFileName"_qs);
        QCOMPARE(prog->text(), u"backup.sh"_qs);
        QCOMPARE(prog->toolTip(), u"/opt/tools/backup.sh"_qs);
        QCOMPARE(f.chooserFilters, QStringList {u"Файлы программ или документов (*)"_qs});
        f.chosenFile.clear(); // cancelled
        click(dialog.get(), u"btnAudioOpen"_qs);
        QCOMPARE(prog->toolTip(), u"/opt/tools/backup.sh"_qs);
        QCOMPARE(child<QLineEdit>(dialog.get(), u"edtSoundFileName"_qs)->text(), u"bell.wav"_qs);
    }

    void plusButton_addsTheIncrementWithCarry_data()
    {
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("plus");
        QTest::addColumn<QString>("result");
        QTest::newRow("past midnight") << u"23:59:50"_qs << u"0:00:15"_qs << u"0:00:05"_qs;
        QTest::newRow("default half hour") << u"10:45:30"_qs << u"0:30:00"_qs << u"11:15:30"_qs;
    }
    void plusButton_addsTheIncrementWithCarry()
    {
        QFETCH(QString, time);
        QFETCH(QString, plus);
        QFETCH(QString, result);
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        const QStringList t = time.split(u':');
        const QStringList p = plus.split(u':');
        setDateTime(dialog.get(), u"31"_qs, u" декабря "_qs, u"2026"_qs, t[0], t[1], t[2]);
        select(dialog.get(), u"cbxPlusHours"_qs, p[0]);
        select(dialog.get(), u"cbxPlusMinutes"_qs, p[1]);
        select(dialog.get(), u"cbxPlusSeconds"_qs, p[2]);
        click(dialog.get(), u"btnPlusTime"_qs);
        QCOMPARE(shownTime(dialog.get()), result);
        QCOMPARE(shownDate(dialog.get()), u"31 декабря 2026"_qs);
    }

    void ok_addAppendsTheBlockByteForByte()
    {
        Fixture f;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kInactiveShutdown)));
        f.chosenFile = u"/home/u/ring.wav"_qs;
        QPointer<TfrmAdd> dialog = f.open(true);
        click(dialog, u"chkPlaySound"_qs);
        click(dialog, u"btnAudioOpen"_qs);
        click(dialog, u"chkShowMessage"_qs);
        child<QPlainTextEdit>(dialog, u"memMessage"_qs)->setPlainText(u"abc\nde"_qs);
        setDateTime(dialog, u"5"_qs, u" января "_qs, u"2027"_qs, u"9"_qs, u"05"_qs, u"00"_qs);
        click(dialog, u"btnOK"_qs);
        QCOMPARE(f.messages.shown, QStringList());
        QCOMPARE(readBytes(f.ctx.taskFilePath),
            block(kInactiveShutdown)
                + block({u"%>>"_qs, u"1"_qs, u"9:05:00"_qs, u"5 января 2027"_qs, u"abc de "_qs,
                    u"/home/u/ring.wav"_qs, u"true"_qs}));
        QCOMPARE(f.view.texts(),
            (QStringList {u"2Выключить компьютер [9:05:00] <5 января 2030>"_qs,
                u"1Напомнить о ''abc de ...''  [9:05:00] <5 января 2027>"_qs}));
        QCOMPARE(f.addFormOpen, false);
        QVERIFY(dialog.isNull() || !dialog->isVisible());
    }

    void ok_birthdayWritesDayAndMonthOnly()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        chooseType(dialog.get(), ttBirthday);
        child<QLineEdit>(dialog.get(), u"edtBirthFIO"_qs)->insert(u"Аня"_qs);
        click(dialog.get(), u"chkEveryDay"_qs); // hidden for birthdays: must not matter
        select(dialog.get(), u"cbxDay"_qs, u"29"_qs);
        select(dialog.get(), u"cbxMonth"_qs, u" февраля "_qs);
        click(dialog.get(), u"btnOK"_qs);
        QCOMPARE(f.messages.shown, QStringList());
        QCOMPARE(readBytes(f.ctx.taskFilePath),
            block({u"%>>"_qs, u"7"_qs, u"NULL"_qs, u"29 февраля "_qs, u"NULL"_qs, u"Аня"_qs, u"true"_qs}));
    }

    void ok_refusalKeepsWhatTheUserTyped_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("message");
        QTest::newRow("message NULL")
            << 1 << u"NULL"_qs << u"5 января 2027"_qs << u"9:05:00"_qs << Msg::MessageIsNull;
        QTest::newRow("31 February") << 2 << QString() << u"31 февраля 2027"_qs << u"9:05:00"_qs
                                     << Msg::DateDoesNotExist;
        QTest::newRow("moment passed")
            << 5 << QString() << u"10 марта 2026"_qs << u"11:59:59"_qs << Msg::MomentPassed;
        QTest::newRow("outside 1251")
            << 1 << u"не забыть ☂"_qs << u"5 января 2027"_qs << u"9:05:00"_qs << Msg::UnsavableText;
        QTest::newRow("birthday without name")
            << 7 << QString() << u"5 января 2027"_qs << u"9:05:00"_qs << Msg::NoBirthdayName;
        QTest::newRow("no program") << 6 << QString() << u"5 января 2027"_qs << u"9:05:00"_qs
                                    << Msg::NoProgramPath;
    }
    void ok_refusalKeepsWhatTheUserTyped()
    {
        QFETCH(int, type);
        QFETCH(QString, memo);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, message);
        Fixture f;
        RecordingMessages messages;
        bool dialogWasActivatedAgain = false;
        f.ctx.messages = &messages;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kInactiveShutdown)));
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        messages.whileOpen = [&](const QString &) { dialogWasActivatedAgain = ActivateAway(dialog.get()); };
        chooseType(dialog.get(), type);
        if (!memo.isEmpty()) {
            click(dialog.get(), u"chkShowMessage"_qs);
            child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs)->setPlainText(memo);
        }
        const QStringList d = date.split(u' ');
        const QStringList t = time.split(u':');
        setDateTime(dialog.get(), d[0], u' ' + d[1] + u' ', d[2], t[0], t[1], t[2]);
        f.clock.now = f.clock.now.addSecs(1); // a refill would now show another time
        click(dialog.get(), u"btnOK"_qs);

        QCOMPARE(messages.shown, QStringList {message});
        QVERIFY(dialogWasActivatedAgain);
        QCOMPARE(readBytes(f.ctx.taskFilePath), block(kInactiveShutdown));
        QCOMPARE(f.view.RowCount(), 0); // the list was not rebuilt
        QVERIFY(dialog->isVisible());
        QCOMPARE(f.addFormOpen, true);
        QCOMPARE(shownTime(dialog.get()), time);
        QCOMPARE(shownDate(dialog.get()), date);
        if (!memo.isEmpty())
            QCOMPARE(child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs)->toPlainText(), memo);
    }

    void change_showsTheTaskAndKeepsMarkerAndState()
    {
        Fixture f;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kQuietReminder) + block(kInactiveShutdown)));
        f.view.selected = 1;
        QPointer<TfrmAdd> dialog = f.open(false);
        QCOMPARE(dialog->AddMode(), false);
        QCOMPARE(child<QRadioButton>(dialog, u"radType1"_qs)->isChecked(), true);
        QCOMPARE(shownTime(dialog), u"9:05:00"_qs);
        QCOMPARE(shownDate(dialog), u"5 января 2030"_qs);
        chooseType(dialog, ttReboot);
        click(dialog, u"chkEveryDay"_qs);
        click(dialog, u"btnOK"_qs);
        QCOMPARE(f.messages.shown, QStringList());
        QStringList changed = kInactiveShutdown;
        changed[1] = u"3"_qs;
        changed[3] = u"NULL"_qs;
        QCOMPARE(readBytes(f.ctx.taskFilePath), block(kQuietReminder) + block(changed));
        QCOMPARE(f.view.RowCount(), 2);
        QCOMPARE(f.view.ticks(), (QList<bool> {false, false}));
    }

    void change_reminderWithoutSoundProposesTheDefaultFile()
    {
        Fixture f;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kQuietReminder)));
        f.view.selected = 0;
        QScopedPointer<TfrmAdd> dialog(f.open(false));
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkPlaySound"_qs)->isChecked(), false);
        QCOMPARE(child<QLineEdit>(dialog.get(), u"edtSoundFileName"_qs)->text(), u"bell.wav"_qs);
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkEveryDay"_qs)->isChecked(), true);
        QCOMPARE(child<QWidget>(dialog.get(), u"cbxDay"_qs)->isEnabled(), false);
    }

    void change_followsTheTaskMovedByARebuild()
    {
        Fixture f;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kQuietReminder) + block(kInactiveShutdown)));
        f.view.selected = 1;
        QScopedPointer<TfrmAdd> dialog(f.open(false));
        select(dialog.get(), u"cbxHours"_qs, u"10"_qs);
        // Meanwhile the first task was deleted, so the opened one is now task 0 and row 1 is empty.
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kInactiveShutdown)));
        f.view.selected = -1;
        click(dialog.get(), u"btnOK"_qs);
        QCOMPARE(f.messages.shown, QStringList());
        QStringList changed = kInactiveShutdown;
        changed[2] = u"10:05:00"_qs;
        QCOMPARE(readBytes(f.ctx.taskFilePath), block(changed));
    }

    void change_ofATaskThatIsGoneWritesNothing()
    {
        Fixture f;
        QVERIFY(writeBytes(f.ctx.taskFilePath, block(kInactiveShutdown) + block(kQuietReminder)));
        f.view.selected = 0;
        QPointer<TfrmAdd> dialog = f.open(false);
        const QByteArray after = block(kQuietReminder);
        QVERIFY(writeBytes(f.ctx.taskFilePath, after));
        click(dialog, u"btnOK"_qs);
        QCOMPARE(f.messages.shown, QStringList {Msg::EditedTaskGone});
        QCOMPARE(readBytes(f.ctx.taskFilePath), after);
        QCOMPARE(f.view.RowCount(), 1); // the list no longer shows the task that is gone
        QCOMPARE(f.addFormOpen, false);
    }

    void soundPreview_playsTheFullPathAndReportsFailure()
    {
        Fixture f;
        QPointer<TfrmAdd> dialog = f.open(true);
        click(dialog, u"chkPlaySound"_qs);
        click(dialog, u"btnAudioPlay"_qs);
        QCOMPARE(f.messages.shown, QStringList());
        f.player.playable = false;
        click(dialog, u"btnAudioPlay"_qs);
        QCOMPARE(f.messages.shown, QStringList {Msg::SoundCannotPlay});
        click(dialog, u"btnAudioStop"_qs);
        QTest::keyClick(dialog, Qt::Key_Escape);
        QCOMPARE(f.player.log,
            (QStringList {u"play /snd/bell.wav"_qs, u"play /snd/bell.wav"_qs, u"stop"_qs, u"stop"_qs}));
        QCOMPARE(f.addFormOpen, false);
        QVERIFY(!QFile::exists(f.ctx.taskFilePath)); // nothing was written
    }

    void help_opensItsTopicOnButtonAndF1Release()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        click(dialog.get(), u"btnHelp"_qs);
        auto *hours = child<QComboBox>(dialog.get(), u"cbxHours"_qs);
        QTest::keyPress(hours, Qt::Key_F1);
        QCOMPARE(f.help.topics.size(), 1);
        QTest::keyRelease(hours, Qt::Key_F1);
        QCOMPARE(f.help.topics, (QStringList {Msg::HelpAddDialog, Msg::HelpAddDialog}));
    }

    void memo_storesTheLinesAsItShowsThem()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        auto *memo = child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs);
        const QString paragraph = QStringList(12, u"слово"_qs).join(u' ');
        memo->setPlainText(paragraph + u"\nконец\n"_qs);
        QCoreApplication::processEvents();
        const int shownLines = memo->document()->firstBlock().layout()->lineCount();
        QVERIFY2(shownLines > 1, "the paragraph should wrap");

        const QStringList lines = dialog->State().messageLines;
        QCOMPARE(lines.size(), shownLines + 1); // the wrapped paragraph, then "конец"; no empty last line
        QCOMPARE(lines.mid(0, shownLines).join(QString()), paragraph);
        QCOMPARE(lines.last(), u"конец"_qs);
    }

    void memo_acceptsAtMost150Characters()
    {
        Fixture f;
        QScopedPointer<TfrmAdd> dialog(f.open(true));
        click(dialog.get(), u"chkShowMessage"_qs);
        auto *memo = child<QPlainTextEdit>(dialog.get(), u"memMessage"_qs);
        memo->clear();
        memo->setFocus();
        memo->insertPlainText(QString(148, u'a'));
        QTest::keyClicks(memo, u"bcde"_qs);
        QCOMPARE(memo->toPlainText(), QString(148, u'a') + u"bc"_qs);
        memo->moveCursor(QTextCursor::Start);
        memo->insertPlainText(u"xyz"_qs); // a paste is cut back as well
        QCOMPARE(memo->toPlainText(), QString(148, u'a') + u"bc"_qs);
    }
};

ZARVO_TEST_MAIN(AddDialogTest)
#include "test_addunit.moc"
