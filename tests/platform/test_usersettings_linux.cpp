#include "support/TestMain.h"
#include "support/FileSizeLimit.h"
#include "Conversions.h"
#include "Errors.h"
#include "Firstrun.h"
#include "Messages.h"
#include "Settingsstore.h"
#include "support/FileHelpers.h"
#include "support/FirstRunFakes.h"
#include "Usersettings_linux.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <functional>
#include <sys/stat.h>

namespace {

const QString RootKey = QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0");
const QString SettingsKey = QStringLiteral("SOFTWARE\\Lumenworks\\Zarvo1.0\\Settings");
const QString RunKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
const QString Settings = QStringLiteral("Settings");
const QString Window = QStringLiteral("Window");

QString errorOf(const std::function<void()> &operation)
{
    try {
        operation();
    } catch (const ZarvoError &error) {
        return error.text();
    }
    return QString();
}

ino_t inodeOf(const QString &path)
{
    struct stat info { };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QJsonObject jsonOf(const QByteArray &bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

QByteArray compact(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Every file below a folder with its bytes, to see that nothing at all was changed or added.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(
        folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, QFileInfo(path).isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return files;
}

// The first argument of an entry's Exec as GLib's launcher sees it, or a null string when
// Debian's python3 with GLib is not available.
QString execProgramByGlib(const QString &entryFile)
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFileInfo::exists(python))
        return QString();
    QProcess process;
    process.start(python,
        {QStringLiteral("-c"),
            QStringLiteral("import sys\n"
                           "from gi.repository import GLib\n"
                           "k = GLib.KeyFile()\n"
                           "k.load_from_file(sys.argv[1], GLib.KeyFileFlags.NONE)\n"
                           "e = k.get_string('Desktop Entry', 'Exec').replace('%%', '%')\n"
                           "sys.stdout.buffer.write(GLib.shell_parse_argv(e)[1][0].encode())\n"),
            entryFile});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class UserSettingsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString configHome() const { return m_dir->path(); }
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Lumenworks/Zarvo1.0.json")); }
    QString entryFile() const { return m_dir->filePath(QStringLiteral("autostart/zarvo.desktop")); }

    void writeSettingsFile(const QByteArray &bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).absolutePath()));
        QVERIFY(writeBytes(settingsFile(), bytes));
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void firstRun_writesDefaultsAndAutostartEntry()
    {
        JsonSettingsBackend store(configHome());
        FakeFirstRunUi ui;
        const QString program = QStringLiteral("/opt/Zarvo app/bin/zarvo");
        FirstRunSetup(store, ui.window, ui.messages, ui.help, program);

        const QJsonObject expected {
            {Settings,
                QJsonObject {{"chk_mes", 0}, {"chk_sound", 0}, {"pl_h", "00"}, {"pl_m", "30"}, {"pl_s", "00"},
                    {"sound_fn", ""}, {"prog_fn", ""}, {"simv_count", 15}, {"auto_run", 1},
                    {"auto_hide", 1}}},
            {Window, QJsonObject {{"top", 246}, {"left", 365}, {"width", 551}, {"height", 308}}},
        };
        QCOMPARE(compact(jsonOf(readBytes(settingsFile()))), compact(expected));
        QCOMPARE(store.StringValue(RunKey, QStringLiteral("Zarvo")), program);
        QCOMPARE(ui.log.filter(QStringLiteral("message:")),
            QStringList {QStringLiteral("message:") + Msg::FirstRunGreeting});
        QCOMPARE(
            ui.log.filter(QStringLiteral("help:")), QStringList {QStringLiteral("help:SHZ_contents0013")});
    }

    void secondRun_leavesEveryFileAsItWas()
    {
        {
            JsonSettingsBackend store(configHome());
            FakeFirstRunUi ui;
            FirstRunSetup(store, ui.window, ui.messages, ui.help, QStringLiteral("/usr/bin/zarvo"));
        }
        const auto before = snapshot(configHome());
        const ino_t settingsInode = inodeOf(settingsFile());
        const ino_t entryInode = inodeOf(entryFile());

        JsonSettingsBackend store(configHome());
        FakeFirstRunUi ui;
        ui.window.screenWidth = 3000; // would move the window if anything were done
        FirstRunSetup(store, ui.window, ui.messages, ui.help, QStringLiteral("/elsewhere/zarvo"));

        QCOMPARE(snapshot(configHome()), before);
        QCOMPARE(inodeOf(settingsFile()), settingsInode);
        QCOMPARE(inodeOf(entryFile()), entryInode);
        QCOMPARE(ui.log, QStringList());
    }

    void typedReads_followTheStoredType_data()
    {
        QTest::addColumn<QByteArray>("section"); // the JSON of section Settings
        QTest::addColumn<QString>("reader"); // bool, int or string
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("result"); // the value read, or "error: " and its text
        QTest::newRow("missing bool") << QByteArray("{}") << "bool"
                                      << "chk_mes"
                                      << "error: Failed to get data for 'chk_mes'";
        QTest::newRow("missing integer") << QByteArray("{}") << "int"
                                         << "simv_count"
                                         << "error: Failed to get data for 'simv_count'";
        QTest::newRow("missing string") << QByteArray("{}") << "string"
                                        << "sound_fn"
                                        << "";
        QTest::newRow("string as bool") << QByteArray("{\"auto_hide\": \"1\"}") << "bool"
                                        << "auto_hide"
                                        << "error: Invalid data type for 'auto_hide'";
        QTest::newRow("string as integer") << QByteArray("{\"simv_count\": \"15\"}") << "int"
                                           << "simv_count"
                                           << "error: Invalid data type for 'simv_count'";
        QTest::newRow("integer as string") << QByteArray("{\"pl_h\": 0}") << "string"
                                           << "pl_h"
                                           << "error: Invalid data type for 'pl_h'";
        QTest::newRow("fraction as integer") << QByteArray("{\"simv_count\": 15.5}") << "int"
                                             << "simv_count"
                                             << "error: Invalid data type for 'simv_count'";
        QTest::newRow("beyond 32 bits") << QByteArray("{\"simv_count\": 4294967296}") << "int"
                                        << "simv_count"
                                        << "error: Invalid data type for 'simv_count'";
        QTest::newRow("JSON true as bool") << QByteArray("{\"auto_run\": true}") << "bool"
                                           << "auto_run"
                                           << "error: Invalid data type for 'auto_run'";
        QTest::newRow("null as string") << QByteArray("{\"prog_fn\": null}") << "string"
                                        << "prog_fn"
                                        << "error: Invalid data type for 'prog_fn'";
        QTest::newRow("0 is false") << QByteArray("{\"chk_mes\": 0}") << "bool"
                                    << "chk_mes"
                                    << "false";
        QTest::newRow("1 is true") << QByteArray("{\"chk_mes\": 1}") << "bool"
                                   << "chk_mes"
                                   << "true";
        QTest::newRow("any non-zero is true") << QByteArray("{\"chk_mes\": -7}") << "bool"
                                              << "chk_mes"
                                              << "true";
        QTest::newRow("negative integer") << QByteArray("{\"simv_count\": -2147483648}") << "int"
                                          << "simv_count"
                                          << "-2147483648";
        QTest::newRow("largest integer") << QByteArray("{\"simv_count\": 2147483647}") << "int"
                                         << "simv_count"
                                         << "2147483647";
        QTest::newRow("Cyrillic path") << QByteArray("{\"sound_fn\": \"/дом/звук.wav\"}") << "string"
                                       << "sound_fn"
                                       << "/дом/звук.wav";
    }
    void typedReads_followTheStoredType()
    {
        QFETCH(QByteArray, section);
        QFETCH(QString, reader);
        QFETCH(QString, name);
        QFETCH(QString, result);
        writeSettingsFile("{\"Settings\": " + section + "}");
        JsonSettingsBackend store(configHome());
        QString read;
        const QString error = errorOf([&] {
            if (reader == QLatin1String("bool"))
                read = ReadSettingBool(store, Settings, name) ? "true" : "false";
            else if (reader == QLatin1String("int"))
                read = QString::number(ReadSettingInteger(store, Settings, name));
            else
                read = ReadSettingString(store, Settings, name);
        });
        QCOMPARE(error.isEmpty() ? read : QStringLiteral("error: ") + error, result);
    }

    void increments_readAsDecimalNumbers_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("result");
        QTest::newRow("first-run default") << "00"
                                           << "0";
        QTest::newRow("as the dialog writes it") << "0"
                                                 << "0";
        QTest::newRow("two digits") << "30"
                                    << "30";
        QTest::newRow("not a number") << "3O"
                                      << "error: '3O' is not a valid integer value";
    }
    void increments_readAsDecimalNumbers()
    {
        QFETCH(QString, stored);
        QFETCH(QString, result);
        {
            JsonSettingsBackend writer(configHome());
            WriteSettingString(writer, Settings, QStringLiteral("pl_h"), stored);
        }
        JsonSettingsBackend store(configHome());
        int value = -1;
        const QString error
            = errorOf([&] { value = StrToInt(ReadSettingString(store, Settings, QStringLiteral("pl_h"))); });
        QCOMPARE(error.isEmpty() ? QString::number(value) : QStringLiteral("error: ") + error, result);
    }

    void writes_reachTheFileAtOnceWithTheirTypes()
    {
        writeSettingsFile("{\"Settings\": {\"pl_h\": 5, \"keep\": \"me\"}, \"Other\": {\"x\": [1, 2]}}");
        JsonSettingsBackend store(configHome());
        WriteSettingString(store, Settings, QStringLiteral("pl_h"), QStringLiteral("7"));
        WriteSettingBool(store, Settings, QStringLiteral("auto_run"), true);
        WriteSettingInteger(store, Window, QStringLiteral("left"), -40);

        const QJsonObject expected {
            {Settings, QJsonObject {{"pl_h", "7"}, {"keep", "me"}, {"auto_run", 1}}},
            {Window, QJsonObject {{"left", -40}}},
            {"Other", QJsonObject {{"x", QJsonArray {1, 2}}}},
        };
        QCOMPARE(compact(jsonOf(readBytes(settingsFile()))), compact(expected));
    }

    void readingMissingSection_createsIt_data()
    {
        QTest::addColumn<QByteArray>("before"); // empty: no file
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("no file") << QByteArray() << QByteArray("{\"Window\":{}}");
        QTest::newRow("other section kept") << QByteArray("{\"Settings\": {\"pl_m\": \"30\"}}")
                                            << QByteArray("{\"Settings\":{\"pl_m\":\"30\"},\"Window\":{}}");
    }
    void readingMissingSection_createsIt()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            writeSettingsFile(before);
        JsonSettingsBackend store(configHome());
        QCOMPARE(errorOf([&] { ReadSettingInteger(store, Window, QStringLiteral("top")); }),
            QStringLiteral("Failed to get data for 'top'"));
        QCOMPARE(compact(jsonOf(readBytes(settingsFile()))), after);
        QVERIFY(store.KeyExists(RootKey + QStringLiteral("\\Window")));
    }

    void existingKey_createdAgain_leavesTheFileUntouched()
    {
        writeSettingsFile("{ \"Settings\" : { \"pl_s\" : \"00\" } }\n");
        const QByteArray bytes = readBytes(settingsFile());
        const ino_t inode = inodeOf(settingsFile());
        JsonSettingsBackend store(configHome());
        QVERIFY(store.CreateKey(RootKey));
        QVERIFY(store.CreateKey(SettingsKey));
        QCOMPARE(ReadSettingString(store, Settings, QStringLiteral("pl_s")), QStringLiteral("00"));
        QCOMPARE(readBytes(settingsFile()), bytes);
        QCOMPARE(inodeOf(settingsFile()), inode);
    }

    void damagedFile_isReportedAndNeverReplaced_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("auto_hide=1\n");
        QTest::newRow("cut short") << QByteArray("{\"Settings\": {\"auto_hide\": 1");
        QTest::newRow("an array") << QByteArray("[{\"Settings\": {}}]");
        QTest::newRow("section not an object") << QByteArray("{\"Settings\": 5}");
        QTest::newRow("binary junk") << QByteArray("\x00\xff\xfe{\x01", 5);
    }
    void damagedFile_isReportedAndNeverReplaced()
    {
        QFETCH(QByteArray, bytes);
        writeSettingsFile(bytes);
        const auto before = snapshot(configHome());
        const QString expected = Msg::SettingsFileCorrupt.arg(settingsFile());
        JsonSettingsBackend store(configHome());
        FakeFirstRunUi ui;
        const QList<std::pair<const char *, std::function<void()>>> operations {
            {"first run", [&] { FirstRunSetup(store, ui.window, ui.messages, ui.help, "/usr/bin/zarvo"); }},
            {"key exists", [&] { store.KeyExists(RootKey); }},
            {"create key", [&] { store.CreateKey(RootKey + QStringLiteral("\\Window")); }},
            {"read string", [&] { ReadSettingString(store, Settings, QStringLiteral("sound_fn")); }},
            {"read bool", [&] { ReadSettingBool(store, Settings, QStringLiteral("auto_hide")); }},
            {"write integer", [&] { WriteSettingInteger(store, Window, QStringLiteral("top"), 1); }},
            {"write string", [&] { WriteSettingString(store, Settings, QStringLiteral("pl_h"), "1"); }},
            {"delete", [&] { store.DeleteValue(SettingsKey, QStringLiteral("auto_hide")); }},
        };
        for (const auto &[what, operation] : operations) {
            const QString error = errorOf(operation);
            if (error != expected)
                QFAIL(qPrintable(QStringLiteral("%1: got \"%2\"").arg(QLatin1String(what), error)));
        }
        QCOMPARE(snapshot(configHome()), before);
        QCOMPARE(ui.log, QStringList());
    }

    void unreadableFile_isReportedByName()
    {
        QVERIFY(QDir().mkpath(settingsFile())); // a folder where the file should be
        JsonSettingsBackend store(configHome());
        const QString error = errorOf([&] { ReadSettingBool(store, Settings, QStringLiteral("auto_hide")); });
        QVERIFY2(
            error.startsWith(Msg::SettingsFileUnreadable.section(QLatin1Char('%'), 0, 0)), qPrintable(error));
        QVERIFY2(error.contains(settingsFile()), qPrintable(error));
        QVERIFY(QFileInfo(settingsFile()).isDir());
    }

    void fifoInPlaceOfTheFile_isReportedByName_neverOpened()
    {
        QVERIFY(QDir().mkpath(QFileInfo(settingsFile()).absolutePath()));
        QVERIFY(::mkfifo(QFile::encodeName(settingsFile()).constData(), 0600) == 0);
        // Should the FIFO be opened after all, a writer that comes and goes ends the wait, and
        // the empty read fails the checks below instead of hanging the test.
        std::atomic<bool> done {false};
        std::thread rescue([&] {
            for (int i = 0; i < 50 && !done; ++i) {
                ::usleep(100000);
                const int fd = ::open(QFile::encodeName(settingsFile()).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    ::close(fd);
                    return;
                }
            }
        });
        JsonSettingsBackend store(configHome());
        const QString error = errorOf([&] { store.KeyExists(RootKey); });
        done = true;
        rescue.join();
        QCOMPARE(error, Msg::SettingsFileUnreadable.arg(settingsFile(), Msg::ReasonNotRegular));
        QVERIFY(!QFileInfo(settingsFile()).isFile());
    }

    void refusedWrite_isReported_keepingTheOldFile()
    {
        writeSettingsFile("{\"Settings\": {\"sound_fn\": \"/old.wav\"}}");
        const QByteArray old = readBytes(settingsFile());
        JsonSettingsBackend store(configHome());

        // A file size limit makes the write fail in the middle, as a full disk would.
        QString error;
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.active());
            error = errorOf([&] {
                WriteSettingString(store, Settings, QStringLiteral("sound_fn"), QString(8000, QLatin1Char('x')));
            });
        }

        QCOMPARE(error, QStringLiteral("Failed to set data for 'sound_fn'"));
        QCOMPARE(readBytes(settingsFile()), old);
        QCOMPARE(QDir(QFileInfo(settingsFile()).absolutePath()).entryList(QDir::Files | QDir::Hidden),
            QStringList {QStringLiteral("Zarvo1.0.json")});
    }

    void refusedFolder_isReported()
    {
        // A file where the folder should be: the folder cannot be made, even by root.
        QVERIFY(writeBytes(m_dir->filePath(QStringLiteral("Lumenworks")), "x"));
        JsonSettingsBackend store(configHome());
        QCOMPARE(errorOf([&] { WriteSettingString(store, Settings, QStringLiteral("pl_h"), "1"); }),
            QStringLiteral("Failed to set data for 'pl_h'"));
        FakeFirstRunUi ui;
        QCOMPARE(errorOf([&] { FirstRunSetup(store, ui.window, ui.messages, ui.help, "/usr/bin/zarvo"); }),
            QStringLiteral("Failed to create key ") + SettingsKey);
        QCOMPARE(ui.log, QStringList());
    }

    void autostartEntry_startsTheExactProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("execLine");
        QTest::newRow("plain") << "/usr/bin/zarvo" << QByteArray("Exec=\"/usr/bin/zarvo\"");
        QTest::newRow("blank") << "/opt/my apps/zarvo" << QByteArray("Exec=\"/opt/my apps/zarvo\"");
        QTest::newRow("quote and blank")
            << "/opt/say \"hi\"/zarvo" << QByteArray("Exec=\"/opt/say \\\\\"hi\\\\\"/zarvo\"");
        QTest::newRow("dollar") << "/opt/$HOME/zarvo" << QByteArray("Exec=\"/opt/\\\\$HOME/zarvo\"");
        QTest::newRow("backtick") << "/opt/`id`/zarvo" << QByteArray("Exec=\"/opt/\\\\`id\\\\`/zarvo\"");
        QTest::newRow("backslash") << "/opt/a\\b/zarvo" << QByteArray("Exec=\"/opt/a\\\\\\\\b/zarvo\"");
        QTest::newRow("percent") << "/opt/100%f/zarvo" << QByteArray("Exec=\"/opt/100%%f/zarvo\"");
        QTest::newRow("Cyrillic") << "/home/тарас/zarvo" << QByteArray("Exec=\"/home/тарас/zarvo\"");
    }
    void autostartEntry_startsTheExactProgram()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, execLine);
        JsonSettingsBackend store(configHome());
        SetAutoRun(store, true, program);

        const QByteArray entry = readBytes(entryFile());
        const QList<QByteArray> lines = entry.split('\n');
        QCOMPARE(lines.value(0), QByteArray("[Desktop Entry]"));
        QVERIFY(lines.contains("Type=Application"));
        QVERIFY(lines.contains("Name=Zarvo"));
        QVERIFY(lines.contains("X-GNOME-Autostart-enabled=true"));
        QList<QByteArray> execLines;
        for (const QByteArray &line : lines) {
            if (line.startsWith("Exec="))
                execLines << line;
        }
        QCOMPARE(execLines, QList<QByteArray> {execLine});
        QCOMPARE(store.TypeOf(RunKey, QStringLiteral("Zarvo")), SettingsBackend::ValueType::String);
        QCOMPARE(store.StringValue(RunKey, QStringLiteral("Zarvo")), program);

        const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (!validator.isEmpty()) {
            QProcess validate;
            validate.start(validator, {entryFile()});
            QVERIFY(validate.waitForFinished(20000));
            const QByteArray output = validate.readAllStandardOutput() + validate.readAllStandardError();
            QVERIFY2(validate.exitCode() == 0 && !output.contains("error"), output.constData());
        }
        const QString launched = execProgramByGlib(entryFile());
        if (!launched.isNull())
            QCOMPARE(launched, program);
    }

    void autostartOff_touchesNothingButTheEntry_data()
    {
        QTest::addColumn<bool>("entryBefore");
        QTest::newRow("no entry") << false;
        QTest::newRow("entry removed") << true;
    }
    void autostartOff_touchesNothingButTheEntry()
    {
        QFETCH(bool, entryBefore);
        const QString other = m_dir->filePath(QStringLiteral("autostart/other.desktop"));
        QVERIFY(QDir().mkpath(QFileInfo(other).absolutePath()));
        QVERIFY(writeBytes(other, "[Desktop Entry]\nType=Application\nName=Other\nExec=other\n"));
        const auto before = snapshot(configHome());
        JsonSettingsBackend store(configHome());
        if (entryBefore)
            SetAutoRun(store, true, QStringLiteral("/usr/bin/zarvo"));

        SetAutoRun(store, false, QStringLiteral("/usr/bin/zarvo"));
        QCOMPARE(snapshot(configHome()), before);
        QCOMPARE(store.TypeOf(RunKey, QStringLiteral("Zarvo")), SettingsBackend::ValueType::Missing);
    }

    void autostartOff_withNoFolder_createsNoEntry()
    {
        JsonSettingsBackend store(configHome());
        SetAutoRun(store, false, QStringLiteral("/usr/bin/zarvo"));
        QVERIFY(!QFileInfo::exists(entryFile()));
        QVERIFY(!QFileInfo::exists(settingsFile()));
    }

    void autostartOn_replacesAnOlderEntry()
    {
        JsonSettingsBackend store(configHome());
        SetAutoRun(store, true, QStringLiteral("/old/place/zarvo"));
        SetAutoRun(store, true, QStringLiteral("/new place/zarvo"));
        QCOMPARE(store.StringValue(RunKey, QStringLiteral("Zarvo")), QStringLiteral("/new place/zarvo"));
        QCOMPARE(QDir(m_dir->filePath(QStringLiteral("autostart"))).entryList(QDir::Files | QDir::Hidden),
            QStringList {QStringLiteral("zarvo.desktop")});
    }

    void autostartRefused_isReported_data()
    {
        QTest::addColumn<bool>("enable");
        QTest::addColumn<QString>("error");
        QTest::newRow("on") << true << QStringLiteral("Failed to set data for 'Zarvo'");
        QTest::newRow("off") << false << QStringLiteral("Failed to delete value 'Zarvo'");
    }
    void autostartRefused_isReported()
    {
        QFETCH(bool, enable);
        QFETCH(QString, error);
        // A non-empty folder where the entry should be can be neither replaced nor removed.
        QVERIFY(QDir().mkpath(entryFile() + QStringLiteral("/inside")));
        JsonSettingsBackend store(configHome());
        QCOMPARE(errorOf([&] { SetAutoRun(store, enable, QStringLiteral("/usr/bin/zarvo")); }), error);
        QVERIFY(QFileInfo(entryFile()).isDir());
    }

    void configHome_comesFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("xdgConfigHome"); // null: unset
        QTest::addColumn<QString>("expected"); // relative to the test folder
        QTest::newRow("absolute") << QByteArray("/cfg") << "/cfg";
        QTest::newRow("unset") << QByteArray() << "home/.config";
        QTest::newRow("empty") << QByteArray("") << "home/.config";
        QTest::newRow("relative is ignored") << QByteArray("rel/cfg") << "home/.config";
    }
    void configHome_comesFromTheEnvironment()
    {
        QFETCH(QByteArray, xdgConfigHome);
        QFETCH(QString, expected);
        const QByteArray savedHome = qgetenv("HOME");
        const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
        const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("home"))));
        if (xdgConfigHome.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", xdgConfigHome);
        const QString configHome = JsonSettingsBackend::DefaultConfigHome();
        qputenv("HOME", savedHome);
        if (hadConfig)
            qputenv("XDG_CONFIG_HOME", savedConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");

        QCOMPARE(configHome, expected.startsWith(QLatin1Char('/')) ? expected : m_dir->filePath(expected));
    }

};

ZARVO_TEST_GUILESS_MAIN(UserSettingsTest)
#include "test_usersettings_linux.moc"
