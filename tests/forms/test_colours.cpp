// Under a dark system palette every text the windows show stays readable: wherever a window
// forces a background it forces the text colour too, so no light-on-light or dark-on-dark pair
// is left. Contrast is the WCAG ratio; text on the Parts' own steel-blue panel and list keeps
// its given colours (3.2:1) and is held to 3:1.
#include "Aboutunit.h"
#include "Addunit.h"
#include "Mainunit.h"
#include "Settingsunit.h"
#include "support/FakeClock.h"
#include "support/FakeTaskListView.h"
#include "support/MemorySettingsBackend.h"
#include "support/RecordingActions.h"
#include "support/RecordingHelp.h"
#include "support/RecordingMessages.h"
#include "support/RecordingServices.h"
#include "support/SettingsSeeds.h"
#include "support/TestMain.h"
#include "Windowlook.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(25, 25, 25));
    dark.setColor(QPalette::ToolTipText, Qt::white);
    return dark;
}

const QColor kPanel(102, 146, 175);

// The background a widget's text is drawn on: its own field or face, else that of the nearest
// widget that paints its background (a window always does).
QColor WindowBehind(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(QPalette::Window);
    }
    return widget->palette().color(QPalette::Window);
}

struct Pair {
    QString what;
    QColor text;
    QColor back;
};

QList<Pair> TextPairs(QWidget *window)
{
    QList<Pair> pairs;
    const auto widgets = window->findChildren<QWidget *>() << window;
    for (QWidget *w : widgets) {
        if (!w->isEnabled())
            continue; // disabled controls may be faint
        const QPalette p = w->palette();
        const QString name = w->objectName();
        if (qobject_cast<QPushButton *>(w)) {
            pairs << Pair {
                name + QStringLiteral(" caption"), p.color(QPalette::ButtonText), p.color(QPalette::Button)};
        } else if (qobject_cast<QLabel *>(w) || qobject_cast<QCheckBox *>(w)
            || qobject_cast<QRadioButton *>(w) || qobject_cast<QGroupBox *>(w)) {
            pairs << Pair {name, p.color(QPalette::WindowText), WindowBehind(w)};
        } else if (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)
            || qobject_cast<QAbstractItemView *>(w)) {
            pairs << Pair {name, p.color(QPalette::Text), p.color(QPalette::Base)};
            pairs << Pair {name + QStringLiteral(" selected"), p.color(QPalette::HighlightedText),
                p.color(QPalette::Highlight)};
        } else if (qobject_cast<QComboBox *>(w)) {
            pairs << Pair {name, p.color(QPalette::Text), p.color(QPalette::Base)};
            pairs << Pair {
                name + QStringLiteral(" face"), p.color(QPalette::ButtonText), p.color(QPalette::Button)};
            pairs << Pair {name + QStringLiteral(" selected"), p.color(QPalette::HighlightedText),
                p.color(QPalette::Highlight)};
        }
    }
    return pairs;
}

QStringList Unreadable(QWidget *window)
{
    QStringList bad;
    const QList<Pair> pairs = TextPairs(window);
    for (const Pair &pair : pairs) {
        const double needed = pair.back == kPanel ? 3.0 : 4.5;
        const double ratio = WindowLook::ContrastRatio(pair.text, pair.back);
        if (ratio < needed)
            bad << QStringLiteral("%1: %2 on %3 is %4:1")
                       .arg(pair.what, pair.text.name(), pair.back.name())
                       .arg(ratio, 0, 'f', 2);
    }
    return bad;
}

struct Fixture {
    QTemporaryDir dir;
    MemorySettingsBackend settings;
    FakeClock clock {QDateTime(QDate(2026, 9, 28), QTime(10, 0))};
    FakeTaskListView view;
    RecordingMessages messages;
    RecordingHelp help;
    RecordingActions actions;
    RecordingSoundPlayer sound;
    CoreContext ctx;
    bool open = false;

    Fixture()
    {
        SeedSettingsAfterFirstRun(settings);
        settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 0);
        ctx.taskFilePath = dir.filePath(QStringLiteral("ztasks.zct"));
        ctx.settings = &settings;
        ctx.clock = &clock;
        ctx.view = &view;
        ctx.messages = &messages;
        ctx.help = &help;
    }
};

} // namespace

class TestColours : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setPalette(DarkPalette()); }

    void mainWindow_readableUnderDarkPalette()
    {
        Fixture f;
        MainWindowServices s;
        s.taskFilePath = f.ctx.taskFilePath;
        s.settings = &f.settings;
        s.clock = &f.clock;
        s.actions = &f.actions;
        s.help = &f.help;
        s.sound = &f.sound;
        s.messages = &f.messages;
        s.trayAvailable = [] { return false; };
        TfrmMain window(s);
        const QStringList bad = Unreadable(&window);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    void addDialog_readableUnderDarkPalette()
    {
        Fixture f;
        std::unique_ptr<TfrmAdd> dialog(new TfrmAdd(f.ctx, f.sound, f.help, f.open, true));
        const QStringList bad = Unreadable(dialog.get());
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    void settingsDialog_readableUnderDarkPalette()
    {
        Fixture f;
        std::unique_ptr<TfrmSettings> dialog(new TfrmSettings(f.ctx, f.help, f.open));
        const QStringList bad = Unreadable(dialog.get());
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    void aboutWindow_readableUnderDarkPalette()
    {
        Fixture f;
        std::unique_ptr<TfrmAbout> about(new TfrmAbout(nullptr, f.open, f.help, [](const QUrl &) {}));
        about->setAttribute(Qt::WA_DeleteOnClose, false);
        const QStringList bad = Unreadable(about.get());
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join(QStringLiteral("; "))));
    }

    // The measure itself: black on white is 21:1, equal colours 1:1, the given panel 3.2:1.
    void contrastRatio_matchesTheWcagFormula()
    {
        QCOMPARE(qRound(WindowLook::ContrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(WindowLook::ContrastRatio(kPanel, kPanel), 1.0);
        QCOMPARE(qRound(WindowLook::ContrastRatio(QColor(240, 251, 255), kPanel) * 100), 317);
    }
};

ZARVO_TEST_MAIN(TestColours)
#include "test_colours.moc"
