// Every window as a user sees it on a real desktop, judged from the rendered pixels: no caption
// cut at its control's edge, no two visible controls overlapping, nothing showing through a
// control laid over it, and the clock panel's date clear of the weekday for every month. Runs
// on an X display with the fonts the package depends on (run_on_desktop.sh), at any scale;
// the windows are saved as pictures in $ZARVO_ARTIFACTS.
#include "Aboutunit.h"
#include "Addunit.h"
#include "Datetimetext.h"
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
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>

namespace {

const QDateTime kMoment(QDate(2026, 9, 28), QTime(10, 0));

QString ScaleTag()
{
    return QStringLiteral("scale%1").arg(qRound(qApp->devicePixelRatio()));
}

void SaveShot(const QImage &image, const QString &name)
{
    const QString folder = qEnvironmentVariable("ZARVO_ARTIFACTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    image.save(folder + QStringLiteral("/layout_%1_%2.png").arg(name, ScaleTag()));
}

// Where a rendering has ink: pixels that differ from the background it was drawn on.
QRect InkBox(const QImage &image, const QColor &background, int tolerance = 60)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    int left = argb.width(), top = argb.height(), right = -1, bottom = -1;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) < 128)
                continue;
            const int d = qAbs(qRed(c) - background.red()) + qAbs(qGreen(c) - background.green())
                + qAbs(qBlue(c) - background.blue());
            if (d > tolerance) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// An image of a device-pixel rendering, brought to the logical size it shows.
QImage Logical(const QImage &image, const QSize &size)
{
    QImage logical
        = image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    logical.setDevicePixelRatio(1);
    return logical.convertToFormat(QImage::Format_ARGB32);
}

// The widget rendered alone at another size, in logical pixels.
QImage RenderAt(QWidget *widget, const QSize &size)
{
    const QRect kept = widget->geometry();
    widget->resize(size);
    QImage image = widget->grab().toImage();
    widget->setGeometry(kept);
    return Logical(image, size);
}

QString Describe(const QWidget *widget)
{
    QString text;
    if (auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text();
    else if (auto *group = qobject_cast<const QGroupBox *>(widget))
        text = group->title();
    return QStringLiteral("%1 \"%2\" %3,%4 %5x%6")
        .arg(widget->objectName(), text)
        .arg(widget->x())
        .arg(widget->y())
        .arg(widget->width())
        .arg(widget->height());
}

bool IsDecoration(const QWidget *widget)
{
    // Bevels: plain frames drawn round or beside controls on purpose.
    return widget->metaObject() == &QFrame::staticMetaObject;
}

bool IsEmptyLabel(const QWidget *widget)
{
    auto *label = qobject_cast<const QLabel *>(widget);
    return label && label->text().isEmpty() && label->pixmap().isNull();
}

bool ShownOnScreen(const QWidget *widget)
{
    return widget->isVisible() && widget->isVisibleTo(widget->window());
}

// A caption that needs more room than its control has, read from the control drawn with
// room to spare: its ink must fit the control's own size.
QStringList CutCaptions(QWidget *window)
{
    QStringList cut;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *w : widgets) {
        if (!ShownOnScreen(w))
            continue;
        const QColor back = w->palette().color(w->backgroundRole());
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->text().isEmpty() || !label->pixmap().isNull())
                continue;
            const int height
                = label->wordWrap() ? qMax(w->height(), label->heightForWidth(w->width())) : w->height();
            const QSize roomy(label->wordWrap() ? w->width() : w->width() + 300, height + 40);
            // A framed label's own frame is ink too: only the text inside it is measured.
            const int frame = label->frameWidth();
            const QImage image = RenderAt(w, roomy);
            const QRect ink = InkBox(image.copy(image.rect().adjusted(frame, frame, -frame, -frame)), back)
                                  .translated(frame, frame);
            const bool leftAligned = !(label->alignment() & (Qt::AlignHCenter | Qt::AlignRight));
            if (ink.height() + 2 * frame > w->height() || ink.width() + 2 * frame > w->width()
                || (leftAligned && ink.right() + frame >= w->width()))
                cut << Describe(w) + QStringLiteral(" ink %1x%2").arg(ink.width()).arg(ink.height());
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            const QRect ink = InkBox(RenderAt(w, QSize(w->width() + 300, w->height())), back);
            if (ink.right() >= w->width() || ink.height() > w->height())
                cut << Describe(w) + QStringLiteral(" ink right %1").arg(ink.right());
        } else if (auto *button = qobject_cast<QPushButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            // The frame spans the whole button; the caption is the dark ink inside it.
            const QImage image = RenderAt(w, QSize(w->width() + 300, w->height()));
            const QRect inner = image.rect().adjusted(3, 3, -3, -3);
            const QRect ink = InkBox(image.copy(inner), button->palette().color(QPalette::Button), 250);
            if (ink.width() + 8 > w->width())
                cut << Describe(w) + QStringLiteral(" caption ink %1").arg(ink.width());
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            if (group->title().isEmpty())
                continue;
            const int need = group->fontMetrics().horizontalAdvance(group->title()) + 2 * 8;
            if (need > w->width())
                cut << Describe(w) + QStringLiteral(" needs %1").arg(need);
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            int widest = 0;
            for (int i = 0; i < combo->count(); ++i)
                widest = qMax(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(
                QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
            if (widest > field.width())
                cut << Describe(w) + QStringLiteral(" item %1 > field %2").arg(widest).arg(field.width());
        }
    }
    return cut;
}

bool IsTransparentLabel(const QWidget *widget)
{
    auto *label = qobject_cast<const QLabel *>(widget);
    return label && !label->autoFillBackground() && label->frameWidth() == 0;
}

// Where a control draws, in its parent's coordinates.
QRect InkOnParent(QWidget *widget)
{
    const QColor back = widget->palette().color(widget->backgroundRole());
    return InkBox(RenderAt(widget, widget->size()), back).translated(widget->pos());
}

// Two visible sibling controls on the same spot, unless the upper one is opaque and covers the
// lower one whole (a group laid over its "nothing here" text).
QStringList Overlaps(QWidget *window)
{
    QStringList overlaps;
    const auto parents = window->findChildren<QWidget *>() << window;
    for (QWidget *parent : parents) {
        QList<QWidget *> kids;
        for (QObject *child : parent->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (w && !w->isWindow() && ShownOnScreen(w) && !IsDecoration(w) && !IsEmptyLabel(w))
                kids << w;
        }
        for (int i = 0; i < kids.size(); ++i) {
            for (int j = i + 1; j < kids.size(); ++j) {
                QWidget *lower = kids.at(i);
                QWidget *upper = kids.at(j);
                if (!lower->geometry().intersects(upper->geometry()))
                    continue;
                if (upper->autoFillBackground() && upper->geometry().contains(lower->geometry()))
                    continue;
                // Transparent labels whose boxes meet overlap only if their texts do.
                if (IsTransparentLabel(lower) && IsTransparentLabel(upper)
                    && !InkOnParent(lower).intersects(InkOnParent(upper)))
                    continue;
                overlaps << Describe(lower) + QStringLiteral(" / ") + Describe(upper);
            }
        }
    }
    return overlaps;
}

// The window as the screen shows it, in logical pixels.
QImage ScreenImage(QWidget *window)
{
    QScreen *screen = window->screen();
    const QPixmap shot = screen->grabWindow(window->winId());
    return Logical(shot.toImage(), window->size());
}

// A control laid over another must hide it: on the screen, its place shows what it draws alone
// on the window's background.
QStringList ShowThrough(QWidget *window, const QImage &screen)
{
    QStringList through;
    const auto widgets = window->findChildren<QWidget *>();
    for (QWidget *upper : widgets) {
        // Transparent labels show what is under them by design; their texts are kept apart by
        // the overlap check.
        if (!ShownOnScreen(upper) || IsDecoration(upper) || upper->isWindow() || IsTransparentLabel(upper))
            continue;
        bool laidOver = false;
        for (QObject *child : upper->parentWidget()->children()) {
            auto *lower = qobject_cast<QWidget *>(child);
            if (!lower || lower == upper || !ShownOnScreen(lower) || IsEmptyLabel(lower))
                continue;
            const auto siblings = upper->parentWidget()->children();
            if (siblings.indexOf(lower) < siblings.indexOf(upper)
                && lower->geometry().intersects(upper->geometry()))
                laidOver = true;
        }
        if (!laidOver)
            continue;
        QImage alone(upper->size(), QImage::Format_ARGB32);
        alone.fill(upper->parentWidget()->palette().color(QPalette::Window));
        {
            QPainter painter(&alone);
            const QImage drawn = RenderAt(upper, upper->size());
            painter.drawImage(0, 0, drawn);
        }
        const QRect place(upper->mapTo(window, QPoint(0, 0)), upper->size());
        const QImage seen = screen.copy(place);
        // Controls laid over this one in turn are not what lies under it.
        QRegion above;
        const auto siblings = upper->parentWidget()->children();
        for (qsizetype i = siblings.indexOf(upper) + 1; i < siblings.size(); ++i) {
            auto *later = qobject_cast<QWidget *>(siblings.at(i));
            if (later && ShownOnScreen(later))
                above += later->geometry().translated(-upper->pos());
        }
        int differing = 0;
        for (int y = 0; y < alone.height(); ++y) {
            for (int x = 0; x < alone.width(); ++x) {
                if (above.contains(QPoint(x, y)))
                    continue;
                const QRgb a = alone.pixel(x, y);
                const QRgb b = seen.pixel(x, y);
                if (qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) > 120)
                    ++differing;
            }
        }
        // A few pixels of smoothing differ at a scale; text under a control is many.
        if (differing > 20 && qEnvironmentVariableIsSet("ZARVO_LAYOUT_DEBUG")) {
            alone.save(QStringLiteral("/tmp/wt17_alone_%1.png").arg(upper->objectName()));
            seen.save(QStringLiteral("/tmp/wt17_seen_%1.png").arg(upper->objectName()));
        }
        if (differing > 20)
            through << Describe(upper) + QStringLiteral(": %1 pixels of what lies under it").arg(differing);
    }
    return through;
}

void ShowAndSettle(QWidget *window)
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::qWait(150); // the window manager's frame and the first full paint
}

void CheckWindow(QWidget *window, const QString &shotName)
{
    const QImage screen = ScreenImage(window);
    SaveShot(screen, shotName);
    const QStringList cut = CutCaptions(window);
    QVERIFY2(cut.isEmpty(),
        qPrintable(shotName + QStringLiteral(": cut captions: ") + cut.join(QStringLiteral("; "))));
    const QStringList overlaps = Overlaps(window);
    QVERIFY2(overlaps.isEmpty(),
        qPrintable(
            shotName + QStringLiteral(": overlapping controls: ") + overlaps.join(QStringLiteral("; "))));
    const QStringList through = ShowThrough(window, screen);
    QVERIFY2(through.isEmpty(),
        qPrintable(shotName + QStringLiteral(": showing through: ") + through.join(QStringLiteral("; "))));
}

// Everything the windows need, with nothing that reaches the system.
struct Fixture {
    QTemporaryDir dir;
    MemorySettingsBackend settings;
    FakeClock clock {kMoment};
    FakeTaskListView view;
    RecordingMessages messages;
    RecordingHelp help;
    RecordingActions actions;
    RecordingSoundPlayer sound;
    CoreContext ctx;
    bool addOpen = false;
    bool settingsOpen = false;
    bool aboutOpen = false;

    Fixture()
    {
        SeedSettingsAfterFirstRun(settings);
        settings.set(SettingsKeys::Settings, QStringLiteral("auto_hide"), 0);
        settings.set(SettingsKeys::Settings, QStringLiteral("sound_fn"),
            QStringLiteral("/usr/share/sounds/alarm.wav"));
        settings.set(SettingsKeys::Settings, QStringLiteral("prog_fn"), QStringLiteral("/usr/bin/program"));
        ctx.taskFilePath = dir.filePath(QStringLiteral("ztasks.zct"));
        ctx.settings = &settings;
        ctx.clock = &clock;
        ctx.view = &view;
        ctx.messages = &messages;
        ctx.help = &help;
    }

    MainWindowServices Services()
    {
        MainWindowServices s;
        s.taskFilePath = ctx.taskFilePath;
        s.settings = &settings;
        s.clock = &clock;
        s.actions = &actions;
        s.help = &help;
        s.sound = &sound;
        s.messages = &messages;
        s.trayAvailable = [] { return false; };
        return s;
    }
};

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"),
            "runs on an X display, through run_on_desktop.sh");
        QCOMPARE(QFontInfo(WindowLook::DialogFont()).family(), QStringLiteral("PT Sans"));
    }

    void mainWindow_captionsFitAndNothingOverlaps()
    {
        Fixture f;
        TfrmMain window(f.Services());
        ShowAndSettle(&window);
        QTest::qWait(1600); // past the start-up splash: the clock labels are shown
        QVERIFY(window.lblData->isVisible());
        CheckWindow(&window, QStringLiteral("main"));
    }

    // The widest date of every month (and the widest weekday) stays clear of the weekday label.
    void clockPanel_widestDateOfEveryMonthClearsTheWeekday()
    {
        Fixture f;
        TfrmMain window(f.Services());
        ShowAndSettle(&window);
        QTest::qWait(1600);
        const int weekdayLeft = window.lblDayOfWeek->x();
        QString widestWeekday;
        for (int day = 0; day < 7; ++day) {
            const QString text = WeekdayText(QDate(2026, 9, 28).addDays(day));
            if (window.fontMetrics().horizontalAdvance(text)
                > window.fontMetrics().horizontalAdvance(widestWeekday))
                widestWeekday = text;
        }
        for (int month = 1; month <= 12; ++month) {
            // The widest date of the month by the font's measure, then read from the pixels.
            QString widest;
            for (int day = 1; day <= QDate(2026, month, 1).daysInMonth(); ++day) {
                const QString text = DateLabelText(QDateTime(QDate(2026, month, day), QTime(0, 0)));
                if (window.lblData->fontMetrics().horizontalAdvance(text)
                    > window.lblData->fontMetrics().horizontalAdvance(widest))
                    widest = text;
            }
            window.SetClockTexts(QStringLiteral("10:00:00"), widest, widestWeekday);
            const QImage ink = RenderAt(window.lblData, window.lblData->size() + QSize(200, 0));
            const int widestInk = InkBox(ink, window.pnlTimeAndDate->palette().color(QPalette::Window)).right();
            if (month == 9) {
                QTest::qWait(30);
                SaveShot(ScreenImage(&window).copy(window.pnlTimeAndDate->geometry()),
                    QStringLiteral("clock_panel"));
            }
            QVERIFY2(window.lblData->x() + widestInk < weekdayLeft - 2,
                qPrintable(QStringLiteral("\"%1\" ends at %2, the weekday starts at %3")
                               .arg(widest)
                               .arg(window.lblData->x() + widestInk)
                               .arg(weekdayLeft)));
            const QImage weekday = RenderAt(window.lblDayOfWeek, window.lblDayOfWeek->size() + QSize(200, 0));
            const int weekdayRight = weekdayLeft
                + InkBox(weekday, window.pnlTimeAndDate->palette().color(QPalette::Window)).right();
            QVERIFY2(weekdayRight < window.pnlTimeAndDate->width() - 2,
                qPrintable(QStringLiteral("\"%1\" ends at %2").arg(widestWeekday).arg(weekdayRight)));
        }
    }

    void addDialog_everyTypeLayout_data()
    {
        QTest::addColumn<int>("type");
        for (int type = 1; type <= 7; ++type)
            QTest::newRow(qPrintable(QStringLiteral("type %1").arg(type))) << type;
    }

    void addDialog_everyTypeLayout()
    {
        QFETCH(int, type);
        Fixture f;
        auto *dialog = new TfrmAdd(f.ctx, f.sound, f.help, f.addOpen, true);
        std::unique_ptr<TfrmAdd> owner(dialog);
        dialog->findChild<QRadioButton *>(QStringLiteral("radType%1").arg(type - 1))->setChecked(true);
        ShowAndSettle(dialog);
        CheckWindow(dialog, QStringLiteral("add_type%1").arg(type));
    }

    void settingsDialog_everyTab_data()
    {
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 3; ++tab)
            QTest::newRow(qPrintable(QStringLiteral("tab %1").arg(tab))) << tab;
    }

    void settingsDialog_everyTab()
    {
        QFETCH(int, tab);
        Fixture f;
        std::unique_ptr<TfrmSettings> dialog(new TfrmSettings(f.ctx, f.help, f.settingsOpen));
        dialog->findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(tab);
        ShowAndSettle(dialog.get());
        CheckWindow(dialog.get(), QStringLiteral("settings_tab%1").arg(tab));
    }

    void aboutWindow()
    {
        Fixture f;
        std::unique_ptr<TfrmAbout> about(new TfrmAbout(nullptr, f.aboutOpen, f.help, [](const QUrl &) {}));
        about->setAttribute(Qt::WA_DeleteOnClose, false);
        ShowAndSettle(about.get());
        CheckWindow(about.get(), QStringLiteral("about"));
        about->hide();
    }
};

ZARVO_TEST_MAIN(TestLayout)
#include "test_layout.moc"
