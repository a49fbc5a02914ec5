#include "support/TestMain.h"
#include "support/SettingsSeeds.h"
#include "Context.h"
#include "DialogFakes.h"
#include "Errors.h"
#include "Messages.h"
#include "SettingsBackend.h"
#include "Settingsstore.h"
#include "Settingsunit.h"
#include "support/FakeClock.h"
#include "support/FakeTaskListView.h"
#include "support/FileHelpers.h"
#include "Taskrecord.h"
#include "Txtfileclass.h"
#include "Usersettings_linux.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Fixture {
    QTemporaryDir dir;
    JsonSettingsBackend settings {dir.filePath(u"config"_qs)};
    FakeTaskListView view;
    RecordingHelp help;
    CoreContext ctx;
    bool settingsFormOpen = false;
    QStringList chooserFilters;
    QString chosenFile;
    OpenedDialogs<TfrmSettings> opened; // last: its dialogs go first

    Fixture()
    {
        ctx.settings = &settings;
        ctx.view = &view;
        ctx.taskFilePath = dir.filePath(u"ztasks.zct"_qs);
        const QString &S = SettingsKeys::Settings;
        SeedSettingsAfterFirstRun(settings);
        WriteSettingBool(settings, S, u"chk_sound"_qs, true);
        WriteSettingString(settings, S, u"sound_fn"_qs, u"/snd/bell.wav"_qs);
        WriteSettingBool(settings, S, u"auto_hide"_qs, false);
        SetAutoRun(settings, true, QCoreApplication::applicationFilePath());
        // One reminder whose row shows simv_count characters of its message.
        TxtFile tasks;
        tasks.FileName = ctx.taskFilePath;
        AppendTask(
            tasks, {u"1"_qs, u"9:05:00"_qs, u"NULL"_qs, u"0123456789abcdefghij "_qs, u"NULL"_qs, u"true"_qs});
        tasks.Save();
    }

    TfrmSettings *open()
    {
        auto *dialog = new TfrmSettings(ctx, help, settingsFormOpen);
        opened.add(dialog);
        dialog->SetFileChooser([this](QWidget *, const QString &filter) {
            chooserFilters << filter;
            return chosenFile;
        });
        dialog->show();
        return dialog;
    }

    QString text(const QString &name) { return ReadSettingString(settings, SettingsKeys::Settings, name); }
    int number(const QString &name) { return ReadSettingInteger(settings, SettingsKeys::Settings, name); }
    QString autostartFile() const { return QDir(settings.AutostartFolder()).filePath(u"zarvo.desktop"_qs); }
    QByteArray storeBytes() const
    {
        return readBytes(settings.SettingsFilePath()) + readBytes(autostartFile());
    }
};

template<typename T> T *child(QWidget *dialog, const QString &name)
{
    T *widget = dialog->findChild<T *>(name);
    if (!widget)
        qFatal("no control %s", qPrintable(name));
    return widget;
}

void click(QWidget *dialog, const QString &name)
{
    auto *button = child<QAbstractButton>(dialog, name);
    // Controls on other tabs are hidden; click() acts like the user on the shown tab.
    button->click();
}

} // namespace

class SettingsDialogFormTest : public QObject {
    Q_OBJECT

private slots:
    void opening_showsTheStoredValues()
    {
        Fixture f;
        QScopedPointer<TfrmSettings> dialog(f.open());
        QCOMPARE(f.settingsFormOpen, true);
        QCOMPARE(dialog->windowTitle(), u"Настройки"_qs);
        QCOMPARE(dialog->size(), QSize(409, 253));
        auto *pages = child<QTabWidget>(dialog.get(), u"PageControl1"_qs);
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE((QStringList {pages->tabText(0), pages->tabText(1), pages->tabText(2)}),
            (QStringList {u"Общие"_qs, u"Файлы"_qs, u"Разное"_qs}));
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkRunOnStart"_qs)->isChecked(), true);
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkMinimaze"_qs)->isChecked(), false);
        QCOMPARE(child<QCheckBox>(dialog.get(), u"chkPlaySound"_qs)->isChecked(), true);
        QCOMPARE(child<QLineEdit>(dialog.get(), u"edtSoundFileName"_qs)->text(), u"/snd/bell.wav"_qs);
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxPlusHours"_qs)->currentText(), u"0"_qs);
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxPlusMinutes"_qs)->currentText(), u"30"_qs);
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxSimvCount"_qs)->currentText(), u"15"_qs);
        QCOMPARE(child<QComboBox>(dialog.get(), u"cbxSimvCount"_qs)->count(), 144);
    }

    void ok_writesAllTenAndSwitchesAutorun()
    {
        Fixture f;
        QPointer<TfrmSettings> dialog = f.open();
        click(dialog, u"btnOK"_qs);
        QCOMPARE(f.text(u"pl_h"_qs), u"0"_qs); // "00" is rewritten as the list shows it
        QCOMPARE(f.text(u"pl_m"_qs), u"30"_qs);
        QCOMPARE(f.text(u"pl_s"_qs), u"00"_qs);
        QCOMPARE(f.text(u"sound_fn"_qs), u"/snd/bell.wav"_qs);
        QCOMPARE(f.number(u"simv_count"_qs), 15);
        QCOMPARE(f.number(u"auto_run"_qs), 1);
        QCOMPARE(f.number(u"auto_hide"_qs), 0);
        QCOMPARE(f.number(u"chk_sound"_qs), 1);
        QCOMPARE(f.number(u"chk_mes"_qs), 0);
        QVERIFY(QFile::exists(f.autostartFile()));
        QCOMPARE(
            f.view.texts(), QStringList {u"1Напомнить о ''0123456789abcde...''  [9:05:00] <кажд. день>"_qs});
        QCOMPARE(f.settingsFormOpen, false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
    }

    void ok_autorunEntryFollowsTheBox()
    {
        Fixture f;
        QScopedPointer<TfrmSettings> dialog(f.open());
        click(dialog.get(), u"chkRunOnStart"_qs);
        click(dialog.get(), u"btnOK"_qs);
        QVERIFY(!QFile::exists(f.autostartFile()));
        QCOMPARE(f.number(u"auto_run"_qs), 0);

        QScopedPointer<TfrmSettings> again(f.open());
        QCOMPARE(child<QCheckBox>(again.get(), u"chkRunOnStart"_qs)->isChecked(), false);
        click(again.get(), u"chkRunOnStart"_qs);
        click(again.get(), u"btnOK"_qs);
        QVERIFY(readBytes(f.autostartFile()).contains(QCoreApplication::applicationFilePath().toUtf8()));
    }

    void ok_storesChangedControls()
    {
        Fixture f;
        f.chosenFile = u"/home/u/notes.txt"_qs; // any file is accepted as the default sound here
        QScopedPointer<TfrmSettings> dialog(f.open());
        click(dialog.get(), u"chkRunOnStart"_qs);
        click(dialog.get(), u"btnAudioOpen"_qs);
        f.chosenFile = u"/usr/bin/xterm"_qs;
        click(dialog.get(), u"BitBtn1"_qs);
        child<QComboBox>(dialog.get(), u"cbxSimvCount"_qs)->setCurrentIndex(0);
        child<QComboBox>(dialog.get(), u"cbxPlusSeconds"_qs)->setCurrentIndex(5);
        click(dialog.get(), u"btnOK"_qs);
        QCOMPARE(f.chooserFilters,
            (QStringList {u"Звуковые файлы (*.wav)"_qs, u"Файлы программ или документов (*)"_qs}));
        QCOMPARE(f.number(u"auto_run"_qs), 0);
        QCOMPARE(f.text(u"sound_fn"_qs), u"/home/u/notes.txt"_qs);
        QCOMPARE(f.text(u"prog_fn"_qs), u"/usr/bin/xterm"_qs);
        QCOMPARE(f.number(u"simv_count"_qs), 7);
        QCOMPARE(f.text(u"pl_s"_qs), u"05"_qs);
        // The list shows the new count at once.
        QCOMPARE(f.view.texts(), QStringList {u"1Напомнить о ''0123456...''  [9:05:00] <кажд. день>"_qs});
    }

    void cancel_writesNothing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Отмена") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
    }
    void cancel_writesNothing()
    {
        QFETCH(int, how);
        Fixture f;
        f.chosenFile = u"/x.wav"_qs;
        const QByteArray before = f.storeBytes();
        QPointer<TfrmSettings> dialog = f.open();
        for (const char *box : {"chkRunOnStart", "chkMinimaze", "chkPlaySound", "chkMessage",
                 "chkMissedReport", "btnAudioOpen", "BitBtn1"})
            click(dialog, QString::fromLatin1(box));
        for (const char *list : {"cbxPlusHours", "cbxPlusMinutes", "cbxPlusSeconds", "cbxSimvCount"})
            child<QComboBox>(dialog, QString::fromLatin1(list))->setCurrentIndex(3);
        if (how == 0)
            click(dialog, u"btnCancel"_qs);
        else if (how == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QCOMPARE(f.storeBytes(), before);
        QCOMPARE(f.view.RowCount(), 0); // not rebuilt
        QCOMPARE(f.settingsFormOpen, false);
    }

    // The missed-task report's box: off for a store without the value (every store written before
    // it existed), saved by OK, and laid out inside the "Разное" tab without covering a control.
    void missedReport_boxFitsTheTabAndIsSavedByOk()
    {
        Fixture f;
        QVERIFY(!f.settings.DeleteValue(SettingsKeys::Root + u"\\Settings"_qs, u"missed_report"_qs));
        QPointer<TfrmSettings> dialog = f.open();
        auto *pages = child<QTabWidget>(dialog, u"PageControl1"_qs);
        pages->setCurrentIndex(2);
        QTest::qWait(0);
        auto *box = child<QCheckBox>(dialog, u"chkMissedReport"_qs);
        QCOMPARE(box->text(), u"Сообщать о пропущенных заданиях"_qs);
        QCOMPARE(box->isChecked(), false);
        QWidget *page = pages->widget(2);
        QCOMPARE(box->parentWidget(), page);
        QVERIFY(box->isVisible());
        QVERIFY2(page->rect().contains(box->geometry()),
            qPrintable(u"page %1x%2, box bottom %3"_qs.arg(page->width())
                           .arg(page->height())
                           .arg(box->geometry().bottom())));
        QVERIFY(box->sizeHint().width() <= box->width()); // the text is not cut
        for (QWidget *other : page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (other != box)
                QVERIFY2(!other->geometry().intersects(box->geometry()), qPrintable(other->objectName()));
        }
        // The count group keeps its list and label inside it.
        auto *group = page->findChild<QWidget *>(u"grpSimvCount"_qs);
        for (QWidget *inside : group->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(group->contentsRect().contains(inside->geometry()), qPrintable(inside->objectName()));

        click(dialog, u"chkMissedReport"_qs);
        click(dialog, u"btnOK"_qs);
        QCOMPARE(f.number(u"missed_report"_qs), 1);
        QScopedPointer<TfrmSettings> again(f.open());
        QCOMPARE(child<QCheckBox>(again.get(), u"chkMissedReport"_qs)->isChecked(), true);
    }

    void help_opensItsTopic()
    {
        Fixture f;
        QScopedPointer<TfrmSettings> dialog(f.open());
        click(dialog.get(), u"btnHelp"_qs);
        QTest::keyRelease(child<QWidget>(dialog.get(), u"chkRunOnStart"_qs), Qt::Key_F1);
        QCOMPARE(f.help.topics, (QStringList {Msg::HelpSettings, Msg::HelpSettings}));
    }

    void loadingFailure_leavesNoDialogOpen()
    {
        Fixture f;
        f.settings.DeleteValue(SettingsKeys::Root + u"\\Settings"_qs, u"auto_hide"_qs);
        QVERIFY_THROWS_EXCEPTION(ZarvoError, f.open());
        QCOMPARE(f.settingsFormOpen, false);
    }
};

ZARVO_TEST_MAIN(SettingsDialogFormTest)
#include "test_settingsunit.moc"
