#include "DialogFakes.h"
#include "Errors.h"
#include "Messages.h"
#include "RebuildCounter.h"
#include "SettingsBackend.h"
#include "Settingsunit.h"
#include "support/MemorySettingsBackend.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

const QString kSection = SettingsKeys::Root + u"\\Settings"_qs;

struct Fixture
{
    MemorySettingsBackend settings;
    RecordingHelp help;
    CoreContext ctx;
    bool settingsFormOpen = false;
    QList<bool> autorun;
    QStringList chooserFilters;
    QString chosenFile;

    Fixture()
    {
        ctx.settings = &settings;
        const QString &S = SettingsKeys::Settings;
        settings.set(S, u"chk_mes"_qs, 0);
        settings.set(S, u"chk_sound"_qs, 1);
        settings.set(S, u"pl_h"_qs, u"00"_qs);
        settings.set(S, u"pl_m"_qs, u"30"_qs);
        settings.set(S, u"pl_s"_qs, u"00"_qs);
        settings.set(S, u"sound_fn"_qs, u"/snd/bell.wav"_qs);
        settings.set(S, u"prog_fn"_qs, QString());
        settings.set(S, u"simv_count"_qs, 15);
        settings.set(S, u"auto_run"_qs, 1);
        settings.set(S, u"auto_hide"_qs, 0);
        rebuildCount = 0;
    }

    TfrmSettings *open()
    {
        auto *dialog = new TfrmSettings(ctx, help, settingsFormOpen, [this](bool on) { autorun << on; });
        dialog->SetFileChooser([this](QWidget *, const QString &filter) {
            chooserFilters << filter;
            return chosenFile;
        });
        dialog->show();
        return dialog;
    }

    QVariant stored(const QString &name) { return settings.keys[kSection].value(name); }
};

template<typename T>
T *child(QWidget *dialog, const QString &name)
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

class SettingsDialogFormTest : public QObject
{
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
        QCOMPARE((QStringList{pages->tabText(0), pages->tabText(1), pages->tabText(2)}),
                 (QStringList{u"Общие"_qs, u"Файлы"_qs, u"Разное"_qs}));
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
        QCOMPARE(f.settings.writes.size(), 10);
        QCOMPARE(f.stored(u"pl_h"_qs).toString(), u"0"_qs); // "00" is rewritten as the list shows it
        QCOMPARE(f.stored(u"pl_m"_qs).toString(), u"30"_qs);
        QCOMPARE(f.stored(u"pl_s"_qs).toString(), u"00"_qs);
        QCOMPARE(f.stored(u"simv_count"_qs).toInt(), 15);
        QCOMPARE(f.autorun, QList<bool>{true});
        QCOMPARE(rebuildCount, 1);
        QCOMPARE(f.settingsFormOpen, false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dialog.isNull());
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
                 (QStringList{u"Звуковые файлы (*.wav)"_qs, u"Файлы программ или документов (*)"_qs}));
        QCOMPARE(f.autorun, QList<bool>{false});
        QCOMPARE(f.stored(u"auto_run"_qs).toInt(), 0);
        QCOMPARE(f.stored(u"sound_fn"_qs).toString(), u"/home/u/notes.txt"_qs);
        QCOMPARE(f.stored(u"prog_fn"_qs).toString(), u"/usr/bin/xterm"_qs);
        QCOMPARE(f.stored(u"simv_count"_qs).toInt(), 7);
        QCOMPARE(f.stored(u"pl_s"_qs).toString(), u"05"_qs);
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
        QPointer<TfrmSettings> dialog = f.open();
        for (const char *box : {"chkRunOnStart", "chkMinimaze", "chkPlaySound", "chkMessage", "btnAudioOpen", "BitBtn1"})
            click(dialog, QString::fromLatin1(box));
        for (const char *list : {"cbxPlusHours", "cbxPlusMinutes", "cbxPlusSeconds", "cbxSimvCount"})
            child<QComboBox>(dialog, QString::fromLatin1(list))->setCurrentIndex(3);
        if (how == 0)
            click(dialog, u"btnCancel"_qs);
        else if (how == 1)
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QCOMPARE(f.settings.writes, QStringList());
        QCOMPARE(f.autorun, QList<bool>());
        QCOMPARE(rebuildCount, 0);
        QCOMPARE(f.settingsFormOpen, false);
    }

    void help_opensItsTopic()
    {
        Fixture f;
        QScopedPointer<TfrmSettings> dialog(f.open());
        click(dialog.get(), u"btnHelp"_qs);
        QTest::keyRelease(child<QWidget>(dialog.get(), u"chkRunOnStart"_qs), Qt::Key_F1);
        QCOMPARE(f.help.topics, (QStringList{Msg::HelpSettings, Msg::HelpSettings}));
    }

    void loadingFailure_leavesNoDialogOpen()
    {
        Fixture f;
        f.settings.keys[kSection].remove(u"auto_hide"_qs);
        QVERIFY_THROWS_EXCEPTION(ZarvoError, f.open());
        QCOMPARE(f.settingsFormOpen, false);
    }
};

QTEST_MAIN(SettingsDialogFormTest)
#include "test_settingsunit.moc"
