#include "support/TestMain.h"
#include "Filefilter.h"
#include "Messages.h"

#include <QtTest>

class FileFilterTest : public QObject {
    Q_OBJECT

private slots:
    void convertsTextPipePatternToQtForm_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("sound files keep their bracketed patterns")
            << Msg::SoundFilter << QStringLiteral("Звуковые файлы (*.wav)");
        QTest::newRow("every file, also without extension")
            << Msg::ProgramFilter << QStringLiteral("Файлы программ или документов (*)");
        QTest::newRow("several patterns and entries")
            << QStringLiteral("Text|*.txt;*.log|All|*.*") << QStringLiteral("Text (*.txt *.log);;All (*)");
        QTest::newRow("a trailing text without pattern is dropped")
            << QStringLiteral("A|*.a|B") << QStringLiteral("A (*.a)");
    }
    void convertsTextPipePatternToQtForm()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(QtFileFilter(filter), qt);
    }
};

ZARVO_TEST_GUILESS_MAIN(FileFilterTest)
#include "test_filefilter.moc"
