#include "support/TestMain.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

// Qt's dialogs and standard buttons take their texts from the translator installed here.
class QtTranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        // Each case starts untranslated: drop what the previous one installed.
        for (QTranslator *translator : qApp->findChildren<QTranslator *>())
            delete translator;
    }

    void installedCatalogueTranslatesStandardButtons_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("russian");
        QTest::newRow("cancel button")
            << QStringLiteral("QPlatformTheme") << QStringLiteral("Cancel") << QStringLiteral("Отмена");
        QTest::newRow("yes button") << QStringLiteral("QPlatformTheme") << QStringLiteral("&Yes")
                                    << QStringLiteral("&Да");
        QTest::newRow("file dialog") << QStringLiteral("QFileDialog") << QStringLiteral("Open")
                                     << QStringLiteral("Открыть");
    }

    void installedCatalogueTranslatesStandardButtons()
    {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, russian);
        QVERIFY2(QFile::exists(QDir(QtTranslationsFolder()).filePath(QStringLiteral("qtbase_ru.qm"))),
            "qtbase_ru.qm is missing: install qt6-translations-l10n");
        QVERIFY(InstallQtTranslations(*qApp));
        QCOMPARE(
            QCoreApplication::translate(context.toUtf8().constData(), english.toUtf8().constData()), russian);
    }

    void missingOrBrokenCatalogueLeavesQtInEnglish_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("not a catalogue") << QByteArray("not a translation file\n");
    }

    void missingOrBrokenCatalogueLeavesQtInEnglish()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        if (!content.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("qtbase_ru.qm")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        QVERIFY(!InstallQtTranslations(*qApp, folder.path()));
        QVERIFY(qApp->findChildren<QTranslator *>().isEmpty());
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }
};

ZARVO_TEST_GUILESS_MAIN(QtTranslationsTest)
#include "test_qttranslations.moc"
