#include "support/TestMain.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "support/FileHelpers.h"
#include "support/MemorySettingsBackend.h"
#include "Taskdialog.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(TaskDialogState)

namespace {

// 10 March 2026, 12:00:00: the moment the tests' dialogs are filled at.
const QDateTime kNow(QDate(2026, 3, 10), QTime(12, 0, 0));

TaskDialogState oneShot(int type, QDate date, QTime time)
{
    TaskDialogState state;
    state.typeIndex = type - 1;
    state.playSound = false;
    state.showMessage = false;
    state.hour = time.hour();
    state.minute = time.minute();
    state.second = time.second();
    state.dayIndex = date.day() - 1;
    state.monthIndex = date.month() - 1;
    state.yearIndex = date.year() - 2003;
    return state;
}

// A valid reminder for tomorrow, with a sound and a message.
TaskDialogState reminder()
{
    TaskDialogState state = oneShot(ttRemind, QDate(2026, 3, 11), QTime(9, 5, 0));
    state.playSound = true;
    state.soundFileName = QStringLiteral("chime.wav");
    state.soundFilePath = QStringLiteral("/home/u/chime.wav");
    state.showMessage = true;
    state.messageLines = {QStringLiteral("abc"), QStringLiteral("de")};
    return state;
}

TaskDialogState birthday(const QString &name)
{
    TaskDialogState state = oneShot(ttBirthday, QDate(2026, 1, 5), QTime(0, 0, 0));
    state.birthName = name;
    return state;
}

TaskDialogState runProgram(const QString &name, const QString &path)
{
    TaskDialogState state = oneShot(ttRunProgram, QDate(2026, 3, 11), QTime(9, 5, 0));
    state.progFileName = name;
    state.progFilePath = path;
    return state;
}

template<typename Change> TaskDialogState with(TaskDialogState state, Change change)
{
    change(state);
    return state;
}

const QStringList kShutdownBlock = {QStringLiteral("%>>"), QStringLiteral("2"), QStringLiteral("9:05:00"),
    QStringLiteral("5 января 2030"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("true")};
const QStringList kEveryDayBlock = {QStringLiteral("%>>"), QStringLiteral("5"), QStringLiteral("7:30:00"),
    QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("NULL"), QStringLiteral("false")};
const QStringList kRemindBlock = {QStringLiteral("%>>"), QStringLiteral("1"), QStringLiteral("23:59:07"),
    QStringLiteral("31 декабря 2099"), QStringLiteral("купить хлеба "),
    QStringLiteral("C:\\Sounds\\ring.WAV"), QStringLiteral("falseM")};

TxtFile fileWith(const QList<QStringList> &blocks)
{
    TxtFile file;
    for (const QStringList &b : blocks) {
        for (const QString &line : b)
            file.AddLine(line);
    }
    return file;
}

} // namespace

class TaskDialogTest : public QObject {
    Q_OBJECT

private slots:
    void validate_answersWithTheFirstFailingCheck_data()
    {
        QTest::addColumn<TaskDialogState>("state");
        QTest::addColumn<QString>("message");
        const QString valid;

        QTest::newRow("reminder with sound and message") << reminder() << valid;
        QTest::newRow("sound named NULL")
            << with(reminder(), [](auto &s) { s.soundFileName = u"NULL"_qs; }) << Msg::BadFileName;
        QTest::newRow("no sound file chosen")
            << with(reminder(), [](auto &s) { s.soundFileName.clear(); }) << Msg::NotWavFile;
        QTest::newRow("sound ending .wave")
            << with(reminder(), [](auto &s) { s.soundFileName = u"a.wave"_qs; }) << Msg::NotWavFile;
        QTest::newRow("sound ending .WAV passes")
            << with(reminder(), [](auto &s) { s.soundFileName = u"A.WAV"_qs; }) << valid;
        QTest::newRow("name .wav is checked, not the path")
            << with(reminder(), [](auto &s) { s.soundFilePath = u"/x/a.mp3"_qs; }) << valid;
        QTest::newRow("unticked sound is not checked") << with(reminder(), [](auto &s) {
            s.playSound = false;
            s.soundFileName = u"NULL"_qs;
        }) << valid;
        QTest::newRow("sound before message") << with(reminder(), [](auto &s) {
            s.soundFileName = u"x.mp3"_qs;
            s.messageLines = {u"%>>"_qs};
        }) << Msg::NotWavFile;
        QTest::newRow("message holds the marker") << with(reminder(), [](auto &s) {
            s.messageLines = {u"a"_qs, u"b%>>c"_qs};
        }) << Msg::MessageHasMarker;
        QTest::newRow("message is NULL")
            << with(reminder(), [](auto &s) { s.messageLines = {u"NULL"_qs}; }) << Msg::MessageIsNull;
        QTest::newRow("message NULL with more text passes") << with(reminder(), [](auto &s) {
            s.messageLines = {u"NULL"_qs, u""_qs};
        }) << valid;
        QTest::newRow("unticked message is not checked") << with(reminder(), [](auto &s) {
            s.showMessage = false;
            s.messageLines = {u"%>>"_qs};
        }) << valid;

        QTest::newRow("program named NULL") << runProgram(u"NULL"_qs, u"NULL"_qs) << Msg::BadFileName;
        QTest::newRow("no program") << runProgram(QString(), QString()) << Msg::NoProgramPath;
        QTest::newRow("program") << runProgram(u"run.sh"_qs, u"/opt/run.sh"_qs) << valid;

        QTest::newRow("birthday without name") << birthday(QString()) << Msg::NoBirthdayName;
        QTest::newRow("birthday named NULL") << birthday(u"NULL"_qs) << Msg::NoBirthdayName;
        QTest::newRow("birthday name with marker") << birthday(u"Ив%>>ан"_qs) << Msg::NameHasMarker;
        QTest::newRow("birthday message with marker") << with(birthday(u"Иван"_qs), [](auto &s) {
            s.showMessage = true;
            s.messageLines = {u"%>>"_qs};
        }) << Msg::MessageHasMarker;
        QTest::newRow("birthday message NULL") << with(birthday(u"Иван"_qs), [](auto &s) {
            s.showMessage = true;
            s.messageLines = {u"NULL"_qs};
        }) << Msg::MessageIsNull;
        QTest::newRow("birthday in the past of this year") << birthday(u"Иван"_qs) << valid;
        QTest::newRow("birthday on 29 February") << with(birthday(u"Иван"_qs), [](auto &s) {
            s.dayIndex = 28;
            s.monthIndex = 1;
        }) << valid;

        QTest::newRow("shutdown has nothing to check") << with(
            oneShot(ttShutdown, QDate(2026, 3, 11), QTime(0, 0, 0)), [](auto &s) {
                s.soundFileName = u"NULL"_qs;
                s.progFileName = u"NULL"_qs;
            }) << valid;

        QTest::newRow("message outside 1251")
            << with(reminder(), [](auto &s) { s.messageLines = {u"ok ✓"_qs}; }) << Msg::UnsavableText;
        QTest::newRow("sound path outside 1251")
            << with(reminder(), [](auto &s) { s.soundFilePath = u"/home/音/a.wav"_qs; })
            << Msg::UnsavableText;
        QTest::newRow("program path outside 1251")
            << runProgram(u"a"_qs, u"/opt/Zoë→/a"_qs) << Msg::UnsavableText;
        QTest::newRow("program path with a line break")
            << runProgram(u"b"_qs, u"/opt/a\nb"_qs) << Msg::UnsavableText;
        QTest::newRow("birthday name outside 1251") << birthday(u"Łukasz"_qs) << Msg::UnsavableText;
        QTest::newRow("1251 letters and signs pass")
            << with(reminder(), [](auto &s) { s.messageLines = {u"Ёлка № 5 — «€»"_qs}; }) << valid;
        QTest::newRow("unwritten sound path is not checked") << with(reminder(), [](auto &s) {
            s.playSound = false;
            s.soundFilePath = u"/音.wav"_qs;
        }) << valid;
        QTest::newRow("marker check comes before 1251")
            << with(reminder(), [](auto &s) { s.messageLines = {u"✓%>>"_qs}; }) << Msg::MessageHasMarker;

        QTest::newRow("31 February") << with(
            oneShot(ttShutdown, QDate(2027, 2, 1), QTime(9, 0, 0)), [](auto &s) { s.dayIndex = 30; })
                                     << Msg::DateDoesNotExist;
        QTest::newRow("31 April") << with(
            oneShot(ttScreenSaver, QDate(2027, 4, 1), QTime(9, 0, 0)), [](auto &s) { s.dayIndex = 30; })
                                  << Msg::DateDoesNotExist;
        QTest::newRow("29 February of a common year")
            << with(oneShot(ttRemind, QDate(2027, 2, 1), QTime(9, 0, 0)), [](auto &s) { s.dayIndex = 28; })
            << Msg::DateDoesNotExist;
        QTest::newRow("29 February of a leap year")
            << with(oneShot(ttRemind, QDate(2028, 2, 1), QTime(9, 0, 0)), [](auto &s) { s.dayIndex = 28; })
            << valid;
        QTest::newRow("31 February every day is not checked") << with(
            oneShot(ttLogOff, QDate(2027, 2, 1), QTime(9, 0, 0)), [](auto &s) {
                s.dayIndex = 30;
                s.everyDay = true;
            }) << valid;
        QTest::newRow("invalid date with a bad file reports the file") << with(reminder(), [](auto &s) {
            s.monthIndex = 1;
            s.dayIndex = 30;
            s.soundFileName = u"x"_qs;
        }) << Msg::NotWavFile;

        QTest::newRow("one second ago")
            << oneShot(ttReboot, kNow.date(), QTime(11, 59, 59)) << Msg::MomentPassed;
        QTest::newRow("yesterday") << oneShot(ttRemind, QDate(2026, 3, 9), QTime(23, 0, 0))
                                   << Msg::MomentPassed;
        QTest::newRow("this second") << oneShot(ttRemind, kNow.date(), QTime(12, 0, 0)) << valid;
        QTest::newRow("a past time every day") << with(oneShot(ttRemind, kNow.date(), QTime(1, 0, 0)),
            [](auto &s) { s.everyDay = true; }) << valid;
        QTest::newRow("unsavable before passed") << with(reminder(), [](auto &s) {
            s.yearIndex = 0;
            s.messageLines = {u"✓"_qs};
        }) << Msg::UnsavableText;
        QTest::newRow("missing date before passed")
            << with(oneShot(ttRemind, QDate(2004, 2, 1), QTime(9, 0, 0)), [](auto &s) { s.dayIndex = 30; })
            << Msg::DateDoesNotExist;
    }
    void validate_answersWithTheFirstFailingCheck()
    {
        QFETCH(TaskDialogState, state);
        QFETCH(QString, message);
        QCOMPARE(ValidateTaskDialog(state, kNow).value_or(QString()), message);
    }

    void build_makesTheSixFieldsOfEachType_data()
    {
        QTest::addColumn<TaskDialogState>("state");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("reminder, two memo lines") << reminder()
                                                  << QStringList {u"1"_qs, u"9:05:00"_qs, u"11 марта 2026"_qs,
                                                         u"abc de "_qs, u"/home/u/chime.wav"_qs, u"true"_qs};
        QTest::newRow("reminder, empty memo, no sound") << with(reminder(), [](auto &s) {
            s.messageLines.clear();
            s.playSound = false;
        }) << QStringList {u"1"_qs, u"9:05:00"_qs, u"11 марта 2026"_qs, QString(), u"NULL"_qs, u"true"_qs};
        QTest::newRow("reminder, message unticked")
            << with(reminder(), [](auto &s) { s.showMessage = false; })
            << QStringList {u"1"_qs, u"9:05:00"_qs, u"11 марта 2026"_qs, u"NULL"_qs, u"/home/u/chime.wav"_qs,
                   u"true"_qs};
        QTest::newRow("every-day screen saver at midnight")
            << with(oneShot(ttScreenSaver, QDate(2026, 3, 11), QTime(0, 0, 0)),
                   [](auto &s) { s.everyDay = true; })
            << QStringList {u"5"_qs, u"0:00:00"_qs, u"NULL"_qs, u"NULL"_qs, u"NULL"_qs, u"true"_qs};
        QTest::newRow("shutdown ignores the message and sound")
            << with(oneShot(ttShutdown, QDate(2004, 1, 5), QTime(23, 9, 7)),
                   [](auto &s) {
                       s.showMessage = true;
                       s.playSound = true;
                       s.messageLines = {u"x"_qs};
                   })
            << QStringList {u"2"_qs, u"23:09:07"_qs, u"5 января 2004"_qs, u"NULL"_qs, u"NULL"_qs, u"true"_qs};
        QTest::newRow("program") << runProgram(u"run.sh"_qs, u"/opt/run.sh"_qs)
                                 << QStringList {u"6"_qs, u"9:05:00"_qs, u"11 марта 2026"_qs, u"NULL"_qs,
                                        u"/opt/run.sh"_qs, u"true"_qs};
        QTest::newRow("birthday, every day ticked") << with(birthday(u" Иван Петров "_qs), [](auto &s) {
            s.everyDay = true;
            s.playSound = true;
        }) << QStringList {u"7"_qs, u"NULL"_qs, u"5 января "_qs, u"NULL"_qs, u" Иван Петров "_qs, u"true"_qs};
        QTest::newRow("birthday with message") << with(birthday(u"Иван"_qs), [](auto &s) {
            s.showMessage = true;
            s.messageLines = {u"торт"_qs};
        }) << QStringList {u"7"_qs, u"NULL"_qs, u"5 января "_qs, u"торт "_qs, u"Иван"_qs, u"true"_qs};
    }
    void build_makesTheSixFieldsOfEachType()
    {
        QFETCH(TaskDialogState, state);
        QFETCH(QStringList, fields);
        const TaskFields built = BuildTaskFields(state);
        QCOMPARE((QStringList {built.type, built.time, built.date, built.message, built.param, built.state}),
            fields);
    }

    void readBack_fillsTheControlsFromTheBlock()
    {
        TaskDialogState state = reminder();
        state.soundFileName = u"default.wav"_qs;
        state.soundFilePath = u"/snd/default.wav"_qs;
        state.playSound = false;
        ReadTaskIntoDialog(state, fileWith({kShutdownBlock, kRemindBlock}), 1);
        QCOMPARE(state.typeIndex, 0);
        QCOMPARE(state.hour, 23);
        QCOMPARE(state.minute, 59);
        QCOMPARE(state.second, 7);
        QCOMPARE(state.dayIndex, 30);
        QCOMPARE(state.monthIndex, 11);
        QCOMPARE(state.yearIndex, 96);
        QCOMPARE(state.everyDay, false);
        QCOMPARE(state.showMessage, true);
        QCOMPARE(state.messageLines, QStringList {u"купить хлеба "_qs});
        QCOMPARE(state.playSound, true);
        QCOMPARE(state.soundFileName, u"ring.WAV"_qs);
        QCOMPARE(state.soundFilePath, u"C:\\Sounds\\ring.WAV"_qs);
        // The memo holds the stored line with its blank; writing it back adds one more.
        QCOMPARE(BuildTaskFields(state).message, u"купить хлеба  "_qs);
    }

    void readBack_reminderWithoutSoundKeepsTheDefaultFileProposed()
    {
        TaskDialogState state;
        state.playSound = true;
        state.soundFileName = u"default.wav"_qs;
        state.soundFilePath = u"/snd/default.wav"_qs;
        QStringList lines = kRemindBlock;
        lines[Task::Param] = u"NULL"_qs;
        lines[Task::Message] = u"NULL"_qs;
        ReadTaskIntoDialog(state, fileWith({lines}), 0);
        QCOMPARE(state.playSound, false);
        QCOMPARE(state.showMessage, false);
        QCOMPARE(state.soundFileName, u"default.wav"_qs);
        QCOMPARE(state.soundFilePath, u"/snd/default.wav"_qs);
    }

    void readBack_everyDayAndBirthdayAndProgram()
    {
        TaskDialogState state = reminder();
        ReadTaskIntoDialog(state, fileWith({kEveryDayBlock}), 0);
        QCOMPARE(state.typeIndex, ttScreenSaver - 1);
        QCOMPARE(state.everyDay, true);
        QCOMPARE(state.hour, 7);
        QCOMPARE(state.minute, 30);
        QCOMPARE(state.dayIndex, 10); // the date lists keep the current date
        // A reminder's message stays in the memo for a type that does not use it.
        QCOMPARE(state.messageLines, (QStringList {u"abc"_qs, u"de"_qs}));

        state = reminder();
        ReadTaskIntoDialog(state,
            fileWith(
                {{u"%>>"_qs, u"7"_qs, u"NULL"_qs, u"29 февраля "_qs, u"NULL"_qs, u"Аня"_qs, u"true"_qs}}),
            0);
        QCOMPARE(state.typeIndex, ttBirthday - 1);
        QCOMPARE(state.dayIndex, 28);
        QCOMPARE(state.monthIndex, 1);
        QCOMPARE(state.birthName, u"Аня"_qs);
        QCOMPARE(state.showMessage, false);
        QCOMPARE(state.hour, 9); // the time lists keep what they showed

        state = reminder();
        ReadTaskIntoDialog(state,
            fileWith({{u"%>>"_qs, u"6"_qs, u"8:00:00"_qs, u"NULL"_qs, u"NULL"_qs, u"D:\\Games\\x.exe"_qs,
                u"true"_qs}}),
            0);
        QCOMPARE(state.progFileName, u"x.exe"_qs);
        QCOMPARE(state.progFilePath, u"D:\\Games\\x.exe"_qs);
        QCOMPARE(state.everyDay, true);
    }

    void readBack_damagedFields_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("shownTime");
        QTest::addColumn<QString>("shownDate");
        QTest::newRow("type not a number")
            << u"x"_qs << u"1:00:00"_qs << u"NULL"_qs << u"'x' is not a valid integer value"_qs << QString()
            << QString();
        QTest::newRow("type out of range") << u"9"_qs << u"1:00:00"_qs << u"NULL"_qs
                                           << u"'9' is not a valid task type"_qs << QString() << QString();
        QTest::newRow("time NULL on a reminder")
            << u"1"_qs << u"NULL"_qs << u"NULL"_qs << u"'NULL' is not a valid integer value"_qs << QString()
            << QString();
        // A value outside its list leaves the list as it was (9:05:00, 11 марта 2026).
        QTest::newRow("unknown month") << u"1"_qs << u"1:00:00"_qs << u"5 мартобря 2030"_qs << QString()
                                       << u"1:00:00"_qs << u"5 марта 2030"_qs;
        QTest::newRow("hour, minute and year too large") << u"2"_qs << u"25:61:07"_qs << u"5 мая 2150"_qs
                                                         << QString() << u"9:05:07"_qs << u"5 мая 2026"_qs;
        // The day's item is its value less one: the ends of int must not overflow on the way
        // (a sanitizer build stops at the overflow).
        QTest::newRow("day at the lowest int") << u"3"_qs << u"1:00:00"_qs << u"-2147483648 мая 2030"_qs
                                               << QString() << u"1:00:00"_qs << u"11 мая 2030"_qs;
        QTest::newRow("birthday day at the lowest int")
            << u"7"_qs << u"NULL"_qs << u"-2147483648 мая "_qs << QString() << u"NULL"_qs << u"11 мая "_qs;
        QTest::newRow("day at the highest int") << u"1"_qs << u"1:00:00"_qs << u"2147483647 мая 2030"_qs
                                                << QString() << u"1:00:00"_qs << u"11 мая 2030"_qs;
    }
    void readBack_damagedFields()
    {
        QFETCH(QString, type);
        QFETCH(QString, time);
        QFETCH(QString, date);
        QFETCH(QString, error);
        QFETCH(QString, shownTime);
        QFETCH(QString, shownDate);
        TaskDialogState state = reminder();
        QString thrown;
        try {
            ReadTaskIntoDialog(
                state, fileWith({{u"%>>"_qs, type, time, date, u"NULL"_qs, u"NULL"_qs, u"true"_qs}}), 0);
        } catch (const ZarvoError &e) {
            thrown = e.text();
        }
        QCOMPARE(thrown, error);
        if (error.isEmpty()) {
            QCOMPARE(BuildTaskFields(state).time, shownTime);
            QCOMPARE(BuildTaskFields(state).date, shownDate);
        }
    }

    void buildAndReadBack_giveTheSameBlock_data()
    {
        QTest::addColumn<TaskDialogState>("state");
        QTest::newRow("reminder") << with(reminder(), [](auto &s) { s.showMessage = false; });
        QTest::newRow("shutdown") << oneShot(ttShutdown, QDate(2099, 12, 31), QTime(23, 59, 59));
        QTest::newRow("reboot every day")
            << with(oneShot(ttReboot, QDate(2026, 1, 1), QTime(0, 0, 1)), [](auto &s) { s.everyDay = true; });
        QTest::newRow("log off") << oneShot(ttLogOff, QDate(2003, 1, 1), QTime(5, 5, 5));
        QTest::newRow("program") << runProgram(u"a.sh"_qs, u"/a/b/a.sh"_qs);
        QTest::newRow("birthday") << with(birthday(u"Иван"_qs), [](auto &s) {
            s.dayIndex = 30;
            s.monthIndex = 11;
        });
    }
    void buildAndReadBack_giveTheSameBlock()
    {
        QFETCH(TaskDialogState, state);
        TxtFile file;
        AppendTask(file, BuildTaskFields(state));
        TaskDialogState read;
        ReadTaskIntoDialog(read, file, 0);
        QCOMPARE(ReadTask(file, 0), BuildTaskFields(read));
    }

    void plusTime_addsWithCarryAndLeavesTheDate_data()
    {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QTime>("plus");
        QTest::addColumn<QTime>("result");
        QTest::newRow("past midnight") << QTime(23, 59, 50) << QTime(0, 0, 15) << QTime(0, 0, 5);
        QTest::newRow("default half hour") << QTime(10, 45, 30) << QTime(0, 30, 0) << QTime(11, 15, 30);
        QTest::newRow("largest increment") << QTime(23, 59, 59) << QTime(23, 59, 59) << QTime(23, 59, 58);
        QTest::newRow("seconds to exactly 60") << QTime(1, 2, 30) << QTime(0, 0, 30) << QTime(1, 3, 0);
        QTest::newRow("nothing added") << QTime(7, 8, 9) << QTime(0, 0, 0) << QTime(7, 8, 9);
    }
    void plusTime_addsWithCarryAndLeavesTheDate()
    {
        QFETCH(QTime, time);
        QFETCH(QTime, plus);
        QFETCH(QTime, result);
        TaskDialogState state = oneShot(ttRemind, QDate(2026, 12, 31), time);
        state.plusHour = plus.hour();
        state.plusMinute = plus.minute();
        state.plusSecond = plus.second();
        AddPlusTime(state);
        QCOMPARE(QTime(state.hour, state.minute, state.second), result);
        QCOMPARE(state.dayIndex, 30);
        QCOMPARE(state.monthIndex, 11);
        QCOMPARE(state.yearIndex, 23);
    }

    void defaults_comeFromTheSettingsAndTheClock()
    {
        MemorySettingsBackend settings;
        const QString S = SettingsKeys::Settings;
        settings.set(S, u"pl_h"_qs, u"00"_qs);
        settings.set(S, u"pl_m"_qs, u"30"_qs);
        settings.set(S, u"pl_s"_qs, u"5"_qs);
        settings.set(S, u"sound_fn"_qs, u"C:ring.wav"_qs);
        settings.set(S, u"prog_fn"_qs, u"/usr/bin/xterm"_qs);
        settings.set(S, u"chk_mes"_qs, 1);
        settings.set(S, u"chk_sound"_qs, 0);
        TaskDialogState state;
        FillTaskDialogDefaults(state, settings, QDateTime(QDate(2004, 1, 5), QTime(9, 5, 7)));
        QCOMPARE(state.plusHour, 0);
        QCOMPARE(state.plusMinute, 30);
        QCOMPARE(state.plusSecond, 5);
        QCOMPARE(state.soundFileName, u"ring.wav"_qs);
        QCOMPARE(state.soundFilePath, u"C:ring.wav"_qs);
        QCOMPARE(state.progFileName, u"xterm"_qs);
        QCOMPARE(state.showMessage, true);
        QCOMPARE(state.playSound, false);
        QCOMPARE(BuildTaskFields(state).time, u"9:05:07"_qs);
        QCOMPARE(BuildTaskFields(state).date, u"5 января 2004"_qs);

        // Years outside the list select its nearest end.
        FillTaskDialogDefaults(state, settings, QDateTime(QDate(2100, 6, 1), QTime(0, 0, 0)));
        QCOMPARE(YearItemText(state.yearIndex), u"2099"_qs);

        settings.keys[SettingsKeys::Root + u"\\Settings"_qs].remove(u"chk_mes"_qs);
        QVERIFY_THROWS_EXCEPTION(ZarvoError, FillTaskDialogDefaults(state, settings, kNow));
    }

    void write_addAppendsTheBlockByteForByte()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ztasks.zct"_qs);
        QVERIFY(writeBytes(path, block(kShutdownBlock)));
        QCOMPARE(WriteTaskDialog(path, reminder(), std::nullopt), std::nullopt);
        QCOMPARE(readBytes(path),
            block(kShutdownBlock)
                + block({u"%>>"_qs, u"1"_qs, u"9:05:00"_qs, u"11 марта 2026"_qs, u"abc de "_qs,
                    u"/home/u/chime.wav"_qs, u"true"_qs}));
    }

    void write_changeReplacesTheMiddleLinesKeepingMarkerAndState()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ztasks.zct"_qs);
        QStringList odd = kEveryDayBlock; // a hand-edited marker stays as it was
        odd[Task::Marker] = u"#>>"_qs;
        QVERIFY(writeBytes(path, block(kShutdownBlock) + block(odd) + block(kRemindBlock)));
        TxtFile opened;
        opened.FileName = path;
        opened.Load();
        TaskDialogState state;
        const OpenedTask task = ReadTaskIntoDialog(state, opened, 1);
        state.everyDay = false;
        state.typeIndex = ttReboot - 1;
        state.dayIndex = 0;
        state.monthIndex = 0;
        state.yearIndex = 27;
        QCOMPARE(WriteTaskDialog(path, state, task), std::nullopt);
        QCOMPARE(readBytes(path),
            block(kShutdownBlock)
                + block({u"#>>"_qs, u"3"_qs, u"7:30:00"_qs, u"1 января 2030"_qs, u"NULL"_qs, u"NULL"_qs,
                    u"false"_qs})
                + block(kRemindBlock));
    }

    void write_changeFollowsTheTaskWhenTheListChanged()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ztasks.zct"_qs);
        QVERIFY(writeBytes(path, block(kShutdownBlock) + block(kRemindBlock) + block(kEveryDayBlock)));
        TxtFile opened;
        opened.FileName = path;
        opened.Load();
        TaskDialogState state;
        const OpenedTask task = ReadTaskIntoDialog(state, opened, 2);
        state.hour = 8;

        // Meanwhile the first task fired and was deleted, and the opened one fired (state falseM).
        QStringList fired = kEveryDayBlock;
        fired[Task::State] = u"falseM"_qs;
        QVERIFY(writeBytes(path, block(kRemindBlock) + block(fired)));
        QCOMPARE(WriteTaskDialog(path, state, task), std::nullopt);
        fired[Task::Time] = u"8:30:00"_qs;
        QCOMPARE(readBytes(path), block(kRemindBlock) + block(fired));
    }

    void write_changeOfAGoneTaskWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"ztasks.zct"_qs);
        QVERIFY(writeBytes(path, block(kRemindBlock) + block(kShutdownBlock)));
        TxtFile opened;
        opened.FileName = path;
        opened.Load();
        TaskDialogState state;
        const OpenedTask task = ReadTaskIntoDialog(state, opened, 1);
        // The one-shot task fired and was deleted; another task now stands at its position.
        const QByteArray after = block(kRemindBlock) + block(kEveryDayBlock);
        QVERIFY(writeBytes(path, after));
        QCOMPARE(WriteTaskDialog(path, state, task), std::optional<QString>(Msg::EditedTaskGone));
        QCOMPARE(readBytes(path), after);
    }

    void findOpenedTask_prefersItsOwnPositionAmongEqualTasks()
    {
        const TxtFile file = fileWith({kShutdownBlock, kShutdownBlock, kShutdownBlock});
        QCOMPARE(FindOpenedTask(file, OpenedTask {1, kShutdownBlock}), 1);
        QCOMPARE(FindOpenedTask(file, OpenedTask {5, kShutdownBlock}), 0);
        QCOMPARE(FindOpenedTask(file, OpenedTask {0, kRemindBlock}), -1);
    }
};

ZARVO_TEST_GUILESS_MAIN(TaskDialogTest)
#include "test_taskdialog.moc"
