#pragma once

#include <QString>

// Every fixed text that the program shows to the user in a message box, a notice, a window
// caption, the tray hint or a task-list row. Control captions live with their forms.
namespace Msg {

// Application and start-up
inline const QString AppTitle = QStringLiteral("Zarvo");
inline const QString AlreadyRunning = QStringLiteral("Программа уже запущена.");
inline const QString FirstRunGreeting = QStringLiteral(
    "Программа ''Zarvo'' запущена на вашем компьютере впервые.\nСпасибо за ее использование.\n\n"
    "C уважением, Тарвиль.");
inline const QString FarewellTitle = QStringLiteral("Zarvo v1.0");
inline const QString FarewellAuthor = QStringLiteral("Автор: Тарвиль");

// Settings file
inline const QString SettingsFileCorrupt = QStringLiteral(
    "Файл настроек поврежден и не может быть прочитан:\n%1\n\n"
    "Программа не изменяет этот файл. Исправьте или удалите его.");
inline const QString SettingsFileUnreadable = QStringLiteral(
    "Не удается прочитать файл настроек:\n%1\n(%2)\n\nПрограмма не изменяет этот файл.");

// Files that are not what they should be (the reason part of a message)
inline const QString ReasonIsFolder = QStringLiteral("это папка, а не файл");
inline const QString ReasonNotRegular = QStringLiteral("это не обычный файл, а канал или устройство");

// Task file and task list
inline const QString TaskFileCopied = QStringLiteral(
    "Папка программы закрыта для записи, поэтому файл заданий\n%1\nскопирован в\n%2\n\n"
    "Теперь задания хранятся там; файл в папке программы больше не используется.");
inline const QString TaskFileBesideProgramUnused = QStringLiteral(
    "Папка программы закрыта для записи, поэтому задания хранятся в файле\n%2\n\n"
    "Файл заданий в папке программы не используется:\n%1");
inline const QString TaskFileNotCopied = QStringLiteral(
    "Папка программы закрыта для записи, а файл заданий\n%1\nне удалось скопировать в\n%2\n(%3).\n\n"
    "Задания показываются из файла в папке программы, но изменения в нем сохранить нельзя.");
inline const QString TaskFileSpecial
    = QStringLiteral("Файл заданий нельзя открыть: %2.\n%1\n\nПрограмма его не открывает и не изменяет.");
inline const QString CannotCreateFile = QStringLiteral("Не могу создать файл");
inline const QString DeleteFailed = QStringLiteral("тут!");
// A block of the task file that cannot be read: its row, and the report (the error, the file, the
// first line of the block).
inline const QString RowUnreadable = QStringLiteral("?Задание не читается (строка %1)");
inline const QString TaskUnreadable = QStringLiteral("%1\n\nФайл задач \"%2\", задание со строки %3.");
inline const QString ClearQuestion = QStringLiteral("Вы действительно хотите очистить список задач?");
inline const QString ClearQuestionCaption = QStringLiteral("Вы уверены в этом?");
inline const QString HintNoActiveTasks = QStringLiteral("Zarvo - активных задач нет");
inline const QString HintActiveTasks = QStringLiteral("Zarvo - есть активные задачи");
inline const QString UnsavableText = QStringLiteral(
    "В тексте есть символы, которые программа не может сохранить. Пожалуйста, исправьте это!");

// Display texts of the task list rows
inline const QString RowRemindNoMessage = QStringLiteral("Напомнить о чем-то... ");
inline const QString RowRemindPrefix = QStringLiteral("Напомнить о ''");
inline const QString RowRemindSuffix = QStringLiteral("...'' ");
inline const QString RowShutdown = QStringLiteral("Выключить компьютер");
inline const QString RowReboot = QStringLiteral("Перезагрузить компьютер");
inline const QString RowLogOff = QStringLiteral("Завершить сеанс пользователя");
inline const QString RowScreenSaver = QStringLiteral("Запустить скринсейвер");
inline const QString RowRunProgram = QStringLiteral("Запустить: ");
inline const QString RowBirthdayPrefix = QStringLiteral("У ");
inline const QString RowBirthdaySuffix = QStringLiteral(" будет день рождения");
inline const QString RowEveryDay = QStringLiteral(" <кажд. день>");

// Clock label
inline const QString YearSuffix = QStringLiteral(" г.");

// Reminder and birthday notices
inline const QString RemindCaption = QStringLiteral("Напоминаем...");
inline const QString RemindTitle = QStringLiteral("Напоминание...");
inline const QString RemindNoMessage =
    QStringLiteral("Вы просили меня о чем-то напомнить. Но о чем... вы не сказали.");
inline const QString BirthdayTitlePrefix = QStringLiteral("День Рождения!!!\nУ ");
inline const QString BirthdayNoMessage = QStringLiteral(
    "Вы просили меня напомнить о грядущем дне рождения. Я выполняю вашу просьбу...");

// Shutdown / restart countdown
inline const QString CountdownCaption = QStringLiteral("Предупреждение!");
inline const QString CountdownShutdown = QStringLiteral("выключен!");
inline const QString CountdownReboot = QStringLiteral("перезагружен!");

// Add/change task dialog
inline const QString SoundCannotPlay = QStringLiteral(
    "Звуковой файл, выбранный для этого напоминания, не может быть воспроизведен.\n"
    "Возможно файл поврежден или отсутствует.");
inline const QString BadFileName = QStringLiteral("Некорректное имя файла. Пожалуйста, исправьте это!");
inline const QString NotWavFile =
    QStringLiteral("Файл должен быть звуковым с расширением WAV. Пожалуйста, исправьте это!");
inline const QString MessageHasMarker = QStringLiteral(
    "В вашем сообщении содержатся недопустимые комбинации символов: %>>\nПожалуйста, исправьте это!");
inline const QString MessageIsNull =
    QStringLiteral("Некорректное содержание вашего напоминающего сообщения!");
inline const QString NoProgramPath = QStringLiteral(
    "Вы не ввели путь к файлу программы или документа. Пожалуйста исправьте это!");
inline const QString NoBirthdayName =
    QStringLiteral("Вы не указали, как звать именинника. Пожалуйста, исправьте это!");
inline const QString NameHasMarker = QStringLiteral(
    "В поле имени содержатся недопустимые комбинации символов: %>>\nПожалуйста, исправьте это!");
inline const QString DateDoesNotExist =
    QStringLiteral("Такой даты не существует. Пожалуйста, исправьте это!");
inline const QString MomentPassed =
    QStringLiteral("Указанное время уже прошло. Пожалуйста, исправьте это!");
inline const QString EditedTaskGone =
    QStringLiteral("Задание, которое вы изменяли, уже выполнено или удалено.");
inline const QString SoundFilter = QStringLiteral("Звуковые файлы (*.wav)|*.wav");
inline const QString ProgramFilter = QStringLiteral("Файлы программ или документов|*.*");

// About window
inline const QString AboutCaption = QStringLiteral("О программе...");

// Tray icon
inline const QString TrayCannotCreate = QStringLiteral("Cannot Create System Shell Notification Icon");
inline const QString TrayCannotRemove = QStringLiteral("Cannot Remove System Shell Notification Icon");

// Contact addresses (reserved example domains)
inline const QString AuthorEmail = QStringLiteral("zarvo@example.org");
inline const QString HomePage = QStringLiteral("https://www.example.org/zarvo/");
inline const QString MailLink = QStringLiteral("mailto:") + AuthorEmail
    + QStringLiteral("?x-priority=normal&subject=Zarvo_1.0");

// Help topics
inline const QString HelpMain = QStringLiteral("SHZ_contents0004");
inline const QString HelpAddDialog = QStringLiteral("SHZ_contents0005");
inline const QString HelpSettings = QStringLiteral("SHZ_contents0006");
inline const QString HelpAbout = QStringLiteral("SHZ_contents0007");
inline const QString HelpFirstRun = QStringLiteral("SHZ_contents0013");

// Help window
inline const QString HelpCaption = QStringLiteral("Справка Zarvo");
inline const QString HelpFileNotFound = QStringLiteral(
    "Файл справки zhelp.hlp не найден.\nОн должен лежать рядом с программой или в папке "
    "share/zarvo установленной программы.");
inline const QString HelpFileMissing = QStringLiteral("Файл справки не найден:\n%1");
inline const QString HelpFileUnreadable = QStringLiteral("Не удается прочитать файл справки:\n%1\n%2");
inline const QString HelpFileNotText =
    QStringLiteral("Файл справки поврежден (это не текст в кодировке UTF-8):\n%1");
inline const QString HelpTopicMissing = QStringLiteral("В файле справки нет раздела %1.");

} // namespace Msg
