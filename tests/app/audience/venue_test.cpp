// The audience window on the venue screen: which screen, the picture's scale and bars, screens
// unplugged and plugged in again, close requests, the on-air line and the clicker keys.
#include <unistd.h>

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>
#include <cstdio>
#include <utility>

#include "app/audience/scr_form.h"
#include "app/audience/venue_screen.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/widgets/image_control.h"
#include "command_line.h"
#include "core/competition/view_types.h"
#include "core/display/renderer.h"
#include "support/painted_area.h"

namespace {

const QRect kPrimary(0, 0, 1280, 1024);

ScreenInfo Screen(const char* name, QRect geometry, bool primary = false) {
    return {QString::fromLatin1(name), geometry, primary};
}

// What `run` writes on the process's stderr.
QString CapturedStderr(const std::function<void()>& run) {
    std::fflush(stderr);
    QTemporaryFile file;
    if (!file.open()) return {};
    const int saved = dup(2);
    dup2(file.handle(), 2);
    run();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    file.seek(0);
    return QString::fromLocal8Bit(file.readAll());
}

}  // namespace

Q_DECLARE_METATYPE(ScreenInfo)

class VenueTest : public QObject {
    Q_OBJECT

    std::vector<ScreenInfo> screens_;
    std::function<void()> screensChanged_;
    AppWindows windows_;
    QStringList questions_;

    void Start(std::optional<QString> name = {}, QObject* audienceWatch = nullptr) {
        StartOptions options;
        options.dataFolder = qEnvironmentVariable("TRQ_SOURCE_DIR").toStdString() + "/data/demo";
        options.markerPath = "/nonexistent/Tamik";
        options.venueDisplay = true;
        options.venueScreenName = name;
        options.screens = [this] { return screens_; };
        options.watchScreens = [this](std::function<void()> changed) { screensChanged_ = changed; };
        windows_ = CreateWindows(options);
        if (audienceWatch != nullptr) windows_.audience->installEventFilter(audienceWatch);
        windows_.console->show();
        windows_.console->FormActivate();
    }
    void Replug(std::vector<ScreenInfo> screens) {
        screens_ = std::move(screens);
        screensChanged_();
        QCoreApplication::processEvents();
    }
    QString OnAir() { return windows_.console->findChild<QLabel*>("OnAirLabel")->text(); }

  private slots:
    void init() {
        Hooks().showMessage = [](const QString&, const QString&) {};
        Hooks().confirm = [this](const QString& text, const QString&) {
            questions_ << text;
            return false;
        };
        questions_.clear();
    }
    void cleanup() { windows_ = AppWindows(); }

    void choosesTheVenueScreen_data() {
        QTest::addColumn<std::vector<ScreenInfo>>("screens");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("venue");
        const ScreenInfo primary = Screen("P", kPrimary, true);
        QTest::newRow("one screen") << std::vector{primary} << QString() << -1;
        QTest::newRow("two side by side")
            << std::vector{primary, Screen("V", {1280, 0, 1024, 768})} << QString() << 1;
        QTest::newRow("venue left of the primary: the first other screen")
            << std::vector{Screen("L", {-1024, 0, 1024, 768}), primary} << QString() << 0;
        QTest::newRow("three: the one touching the primary's right edge")
            << std::vector{primary, Screen("A", {0, 1024, 1024, 768}),
                           Screen("B", {1280, 0, 1920, 1080})}
            << QString() << 2;
        QTest::newRow("by name") << std::vector{primary, Screen("V", {1280, 0, 1024, 768}),
                                                Screen("W", {2304, 0, 800, 600})}
                                 << "W" << 2;
        QTest::newRow("a name no screen has")
            << std::vector{primary, Screen("V", {1280, 0, 1024, 768})} << "X" << -1;
    }
    void choosesTheVenueScreen() {
        QFETCH(std::vector<ScreenInfo>, screens);
        QFETCH(QString, name);
        QFETCH(int, venue);
        QCOMPARE(ChooseVenueScreen(screens, name.isEmpty() ? std::nullopt : std::optional(name)),
                 venue);
    }

    void pictureKeepsItsShape_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("picture");
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(0, 0, 1024, 768);
        QTest::newRow("1280x1024: bars above and below")
            << QSize(1280, 1024) << QRect(0, 32, 1280, 960);
        QTest::newRow("1920x1080: bars on the sides")
            << QSize(1920, 1080) << QRect(240, 0, 1440, 1080);
    }
    void pictureKeepsItsShape() {
        QFETCH(QSize, screen);
        QFETCH(QRect, picture);
        QCOMPARE(PictureRectOn(screen), picture);
    }

    // The designed offsets cover the venue screen exactly; the heat view follows the screen when
    // it goes and comes back larger, drawn at the new scale.
    void followsScreensComingAndGoing() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768})};
        Start();
        ScrForm& audience = *windows_.audience;
        QCOMPARE(audience.geometry(), QRect(1280, 0, 1024, 768));
        QVERIFY(audience.isVisible());
        QVERIFY(OnAir().contains("Clean"));
        // A heat view on air.
        auto* programme = windows_.console->findChild<QWidget*>("BitBtn16");
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QTest::mouseClick(windows_.console->findChild<QWidget*>("BitBtn5"), Qt::LeftButton);
        QCOMPARE(windows_.state->CurrentView, kViewHeat);

        Replug({Screen("P", kPrimary, true)});
        QVERIFY(!audience.isVisible());
        QCOMPARE(OnAir(), QString::fromUtf8("会場画面なし（2 台目の画面を接続）"));

        Replug({Screen("P", kPrimary, true), Screen("V", {1280, 0, 1920, 1080})});
        QVERIFY(audience.isVisible());
        QCOMPARE(audience.geometry(), QRect(1280, 0, 1920, 1080));
        QCOMPARE(audience.PictureScale(), 1.40625);
        const Canvas& wide = audience.WideSurface();
        QCOMPARE(wide.Width(), 1024);
        QCOMPARE(wide.Image().size(), QSize(1440, 1080));
        // The current heat is there again, the picture's corner at the left bar's edge.
        QVERIFY(wide.Image().pixelColor(1439, 1079) != QColor(Qt::black));
        QCOMPARE(audience.findChild<QWidget*>("PanelW")->geometry(), QRect(240, 0, 1440, 1080));
        QVERIFY(OnAir().contains("Heat"));
    }

    // The start-up draws the audience surfaces at the venue's scale from the first, and the window
    // appears once, with the start-up's last picture already drawn (not with a picture drawn at
    // the design size and then again at the venue's, nor drawn again after it appeared).
    void startUpShowsItsLastPictureOnce() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1920, 1080})};
        struct Shows : QObject {
            int count = 0;
            QImage normal;
            bool eventFilter(QObject* o, QEvent* e) override {
                if (e->type() == QEvent::Show) {
                    ++count;
                    normal = std::as_const(static_cast<ScrForm*>(o)->NormalSurface()).Image().copy();
                }
                return false;
            }
        } shows;
        Start({}, &shows);
        QCOMPARE(shows.count, 1);
        QVERIFY(windows_.audience->isVisible());
        QVERIFY(OnAir().contains("Clean"));
        QCOMPARE(shows.normal.size(), QSize(1440, 844));
        QCOMPARE(shows.normal, std::as_const(windows_.audience->NormalSurface()).FullRepaint());
    }

    // A changed picture repaints only the parts whose drawing operations changed; the window then
    // shows what a full repaint shows, and each surface holds what drawing its whole frame gives,
    // step after step, at the venue's scale and at the design size, and when a step draws back
    // the heat shown before the last one.
    void repaintsOnlyWhatChanged_data() {
        QTest::addColumn<QRect>("venue");
        QTest::newRow("1920x1080") << QRect(1280, 0, 1920, 1080);
        QTest::newRow("1024x768") << QRect(1280, 0, 1024, 768);
    }
    void repaintsOnlyWhatChanged() {
        QFETCH(QRect, venue);
        screens_ = {Screen("P", kPrimary, true), Screen("V", venue)};
        Start();
        ScrForm& audience = *windows_.audience;
        auto* programme = windows_.console->findChild<QWidget*>("BitBtn16");
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QTest::mouseClick(windows_.console->findChild<QWidget*>("BitBtn5"), Qt::LeftButton);
        QCOMPARE(windows_.state->CurrentView, kViewHeat);
        QCoreApplication::processEvents();

        PaintedArea painted;
        auto* wide = audience.findChild<ImageControl*>("ImageW");
        auto* normal = audience.findChild<ImageControl*>("Image9");
        // The preview's surfaces too: their pictures wait in the console window's buffer.
        QWidget& console = *windows_.console;
        auto* preview = console.findChild<ImageControl*>("ImageW");
        for (QWidget* surface :
             {static_cast<QWidget*>(wide), static_cast<QWidget*>(normal),
              static_cast<QWidget*>(preview), console.findChild<QWidget*>("Image1")}) {
            surface->installEventFilter(&painted);
        }
        PaintedArea previewPainted;
        preview->installEventFilter(&previewPainted);
        const QRect previewArea(preview->mapTo(&console, QPoint(0, 0)), preview->size());
        const qint64 whole = qint64(wide->width()) * wide->height();
        const auto shownOf = [](QWidget& window) {
            return window.screen()
                ->grabWindow(window.winId())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        };
        const auto repaintedOf = [](QWidget& window) {
            return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        };
        const auto shown = [&] { return shownOf(audience); };
        const auto repainted = [&] { return repaintedOf(audience); };
        // Where a surface's picture changed since `before`, its window's buffer holds the new
        // one (what the window system was handed); elsewhere it may hold a picture prepared for
        // a step. (A grab of the window would paint over what is prepared.)
        const auto imageOf = [](ImageControl* c) {
            return std::as_const(c->canvas()).Image().copy();
        };
        const auto heldWhereChanged = [&](ImageControl* c, const QImage& before) {
            QWidget& window = *c->window();
            const QImage fresh = imageOf(c).convertToFormat(QImage::Format_RGB32);
            const QImage was = before.convertToFormat(QImage::Format_RGB32);
            const QImage now =
                shownOf(window).copy(QRect(c->mapTo(&window, QPoint(0, 0)), fresh.size()));
            for (int y = 0; y < fresh.height(); ++y) {
                const auto* want = reinterpret_cast<const QRgb*>(fresh.constScanLine(y));
                const auto* before = reinterpret_cast<const QRgb*>(was.constScanLine(y));
                const auto* held = reinterpret_cast<const QRgb*>(now.constScanLine(y));
                for (int x = 0; x < fresh.width(); ++x) {
                    if (want[x] != before[x] && held[x] != want[x]) return false;
                }
            }
            return true;
        };
        const auto drawnWhole = [&] {
            for (Canvas* surface : {&audience.WideSurface(), &audience.NormalSurface()}) {
                if (std::as_const(*surface).Image() != surface->FullRepaint()) return false;
            }
            return true;
        };
        // What the heat view of the state now gives drawn afresh on a blank surface.
        const auto drawnAfresh = [&](ImageControl* c, double scale) {
            const Canvas& surface = c->canvas();
            Canvas blank(surface.Width(), surface.Height(), QStringLiteral("blank"));
            blank.Resize(surface.Width(), surface.Height(), surface.DeviceScale());
            RenderTarget t{&blank, scale};
            {
                CanvasPass pass(blank);
                DrawViewType(kViewHeat, *windows_.state, t);
            }
            return std::as_const(blank).Image() == surface.Image();
        };
        auto* heatStep = windows_.console->findChild<QWidget*>("BitBtn28");
        // Forward, forward, back: the last step draws back the heat the screen showed before.
        const auto Press = [](QWidget* button, Qt::MouseButton mouse) {
            QTest::mousePress(button, mouse, {}, {5, 5});
            QCoreApplication::processEvents();
        };
        // Given the time, the next heat is drawn ahead and waits in the window's buffer, not
        // shown: a step forward takes it and hands it over unpainted, a step back draws and
        // paints. An expose of the window (shown from the buffer as it is) finds the shown
        // picture back there.
        struct Step {
            Qt::MouseButton button;
            bool wait;
            bool expose;
        };
        for (const Step step :
             {Step{Qt::LeftButton, false, false}, Step{Qt::LeftButton, true, false},
              Step{Qt::LeftButton, true, true}, Step{Qt::RightButton, true, false}}) {
            if (step.wait) QTest::qWait(200);
            if (step.expose) {
                QVERIFY(shown() != repainted());
                QExposeEvent expose(QRegion(0, 0, audience.width(), audience.height()));
                QCoreApplication::sendEvent(audience.windowHandle(), &expose);
                QCOMPARE(shown(), repainted());
            }
            const QImage before = imageOf(wide);
            const QImage previewBefore = imageOf(preview);
            painted.area = 0;
            // The hall's picture comes in the command, ahead of the console's repaint.
            QTest::mousePress(heatStep, step.button, {}, {5, 5});
            const bool handedOver = step.wait && !step.expose && step.button == Qt::LeftButton;
            QCOMPARE(painted.area > 0, !handedOver);
            QVERIFY2(painted.area < whole / 2, qPrintable(QString::number(painted.area)));
            if (step.wait) {
                QCOMPARE(audience.WideSurface().TookAhead(), step.button == Qt::LeftButton);
            }
            // Handed over, the buffer may still hold the next programme item where it waited
            // beside the heat.
            if (handedOver) {
                QVERIFY(heldWhereChanged(wide, before));
                // The preview takes the picture drawn ahead with the hall's, undrawn.
                QVERIFY(preview->canvas().TookAhead());
                QVERIFY(drawnAfresh(wide, 1.0));
                QVERIFY(drawnAfresh(preview, 0.5));
            } else {
                QCOMPARE(shown(), repainted());
            }
            QVERIFY(drawnWhole());
            // The preview's picture goes to the window system with the console's repaint, which
            // copies only what its buffer does not hold yet.
            previewPainted.area = 0;
            QCoreApplication::sendPostedEvents();
            if (handedOver) {
                QVERIFY(previewPainted.area > 0);
                QVERIFY(heldWhereChanged(preview, previewBefore));
            }
        }
        // Given the time, the next programme item's round is drawn ahead too, and waits in the
        // buffers beside the next heat: the step copies only the parts they share, unpainted.
        QTest::qWait(200);
        const int item = windows_.state->CurrentProgrammeIndex;
        const QImage heat = imageOf(wide);
        const QImage previewHeat = imageOf(preview);
        painted.area = 0;
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(windows_.state->CurrentProgrammeIndex, item + 1);
        QCOMPARE(windows_.state->CurrentView, kViewHeat);
        QVERIFY(audience.WideSurface().TookAhead());
        QCOMPARE(painted.area, qint64(0));
        QVERIFY(heldWhereChanged(wide, heat));
        QVERIFY(drawnWhole());
        QCoreApplication::sendPostedEvents();
        QVERIFY(heldWhereChanged(preview, previewHeat));
        // At the round's last heat that picture waits in the buffers: the step hands it over.
        for (int i = 0; i < 500; ++i) {
            const auto at = std::pair(windows_.state->HeatIndex, windows_.state->DanceIndex);
            Press(heatStep, Qt::LeftButton);
            if (at == std::pair(windows_.state->HeatIndex, windows_.state->DanceIndex)) break;
        }
        QTest::qWait(200);
        painted.area = 0;
        QTest::mousePress(programme, Qt::LeftButton, {}, {5, 5});
        QCOMPARE(windows_.state->CurrentProgrammeIndex, item + 2);
        QVERIFY(audience.WideSurface().TookAhead());
        QCOMPARE(painted.area, qint64(0));
        QCOMPARE(shown(), repainted());
        QCOMPARE(shownOf(console).copy(previewArea), repaintedOf(console).copy(previewArea));
        QCoreApplication::processEvents();
        // The progress message on the normal surface, which the band covers in part, then the
        // programme step that moves its lines.
        auto* progress = windows_.console->findChild<QWidget*>("BitBtn4");
        Press(progress, Qt::LeftButton);
        QCOMPARE(windows_.state->CurrentView, kViewProgressMessage);
        QCOMPARE(shown(), repainted());
        QVERIFY(drawnWhole());
        painted.area = 0;
        Press(programme, Qt::LeftButton);
        QVERIFY(painted.area > 0);
        QVERIFY2(painted.area < whole / 2, qPrintable(QString::number(painted.area)));
        QCOMPARE(shown(), repainted());
        QVERIFY(drawnWhole());
        // The same picture drawn again, once its texts are kept (from their third drawing at a
        // place): nothing to repaint.
        Press(progress, Qt::LeftButton);
        Press(progress, Qt::LeftButton);
        painted.area = 0;
        Press(progress, Qt::LeftButton);
        QCOMPARE(painted.area, qint64(0));
        QCOMPARE(shown(), repainted());
        QVERIFY(drawnWhole());
    }

    // The judges' picture is drawn ahead while the program waits: their first showing takes it.
    void judgesAreDrawnAhead() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", QRect(1280, 0, 1920, 1080))};
        Start();
        QTest::qWait(200);
        // The surface was drawn while its window was hidden (the start): that is no part of
        // what the judges' picture repaints.
        PaintedArea painted;
        auto* normal = windows_.audience->findChild<ImageControl*>("Image9");
        normal->installEventFilter(&painted);
        QTest::mouseClick(windows_.console->findChild<QWidget*>("BitBtn3"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(windows_.state->CurrentView, kViewJudges);
        QVERIFY(painted.area > 0);
        QVERIFY2(painted.area < qint64(normal->width()) * normal->height() / 2,
                 qPrintable(QString::number(painted.area)));
        Canvas& surface = windows_.audience->NormalSurface();
        QVERIFY(surface.TookAhead());
        QCOMPARE(std::as_const(surface).Image(), surface.FullRepaint());
    }

    // The tiles of a picture that differ from the one shown, cut at the picture's edges.
    void changedTiles_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QList<QRect>>("changes");
        QTest::addColumn<QRect>("within");
        QTest::addColumn<QRegion>("tiles");
        const QSize size(300, 100);
        QTest::newRow("nothing") << size << QList<QRect>{} << QRect() << QRegion();
        QTest::newRow("one pixel")
            << size << QList<QRect>{{70, 20, 1, 1}} << QRect() << QRegion(64, 16, 64, 16);
        QTest::newRow("two apart, one row of tiles")
            << size << QList<QRect>{{0, 0, 1, 1}, {299, 5, 1, 1}} << QRect()
            << (QRegion(0, 0, 64, 16) + QRegion(256, 0, 44, 16));
        QTest::newRow("neighbours merge, bottom edge")
            << size << QList<QRect>{{60, 90, 10, 10}} << QRect()
            << QRegion(0, 96, 128, 4) + QRegion(0, 80, 128, 16);
        QTest::newRow("outside the part on screen")
            << size << QList<QRect>{{0, 0, 1, 1}, {299, 5, 1, 1}} << QRect(100, 0, 200, 50)
            << QRegion(256, 0, 44, 16);
        QTest::newRow("cut to the part on screen")
            << size << QList<QRect>{{70, 20, 1, 1}} << QRect(66, 18, 10, 10)
            << QRegion(66, 18, 10, 10);
    }
    void changedTiles() {
        QFETCH(QSize, size);
        QFETCH(QList<QRect>, changes);
        QFETCH(QRect, within);
        QFETCH(QRegion, tiles);
        QImage shown(size, QImage::Format_RGB32);
        shown.fill(Qt::black);
        QImage drawn = shown.copy();
        {
            QPainter p(&drawn);
            for (const QRect& r : changes) p.fillRect(r, Qt::white);
        }
        QCOMPARE(ImageControl::ChangedTiles(drawn, shown, within), tiles);
        // Another size or format: all of it.
        const QRegion all(within.isNull() ? drawn.rect() : within);
        QCOMPARE(ImageControl::ChangedTiles(drawn, QImage(), within), all);
        QCOMPARE(
            ImageControl::ChangedTiles(drawn, shown.convertToFormat(QImage::Format_ARGB32), within),
            all);
    }

    // A --screen name that no screen has: stderr names the screens there are, the on-air line the
    // screen it waits for, and the picture goes there when it appears.
    void unknownScreenNameWaits() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768})};
        const QString errors = CapturedStderr([this] { Start(QStringLiteral("HDMI-1")); });
        QVERIFY2(errors.contains("--screen HDMI-1: no screen of that name") &&
                     errors.contains("P (1280x1024 at 0,0, primary)") &&
                     errors.contains("V (1024x768 at 1280,0)"),
                 qPrintable(errors));
        QVERIFY(!windows_.audience->isVisible());
        QCOMPARE(OnAir(), QString::fromUtf8("会場画面 HDMI-1 を待っています"));
        Replug({Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768}),
                Screen("HDMI-1", {2304, 0, 1024, 768})});
        QVERIFY(windows_.audience->isVisible());
        QCOMPARE(windows_.audience->geometry(), QRect(2304, 0, 1024, 768));
        QCOMPARE(OnAir(), QString::fromUtf8(" 会場: Clean"));
    }

    void offsetsNudgeThePicture() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768})};
        Start();
        QTest::mouseClick(windows_.console->findChild<QWidget*>("BitBtn29"), Qt::LeftButton);
        QTest::mouseClick(windows_.console->findChild<QWidget*>("Button27"), Qt::LeftButton);
        QTest::mouseClick(windows_.console->findChild<QWidget*>("Button28"), Qt::LeftButton);
        QCOMPARE(windows_.audience->geometry(), QRect(1281, -1, 1024, 768));
    }

    void closeRequests() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768})};
        Start();
        QVERIFY(!windows_.audience->close());
        QVERIFY(windows_.audience->isVisible());
        // The console asks; answered no, the show goes on.
        QVERIFY(!windows_.console->close());
        QCOMPARE(questions_.size(), 1);
        QVERIFY(windows_.console->isVisible());
    }

    // Page Down / Right / B step forward, Page Up / Left back: heats with the heat view up, the
    // programme otherwise.
    void clickerKeys() {
        screens_ = {Screen("P", kPrimary, true), Screen("V", {1280, 0, 1024, 768})};
        Start();
        DspMain& console = *windows_.console;
        console.activateWindow();
        QWidget* target = console.findChild<QWidget*>("BitBtn5");
        Competition& s = *windows_.state;
        QTest::keyClick(target, Qt::Key_PageDown);
        QTest::keyClick(target, Qt::Key_PageDown);
        QCOMPARE(s.CurrentProgrammeIndex, 2);
        QTest::mouseClick(console.findChild<QWidget*>("BitBtn5"), Qt::LeftButton);
        const auto position = [&s] { return s.DanceIndex * 100 + s.HeatIndex; };
        std::vector<int> seen{position()};
        for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_B}) {
            QTest::keyClick(target, key);
            QVERIFY(position() > seen.back());
            seen.push_back(position());
        }
        QTest::keyClick(target, Qt::Key_PageUp);
        QTest::keyClick(target, Qt::Key_Left);
        QCOMPARE(position(), seen[1]);
        QCOMPARE(s.CurrentProgrammeIndex, 2);
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("screen");
        // --web as address and port, "address:port" ("" for every interface).
        QTest::addColumn<QString>("web");
        using A = CommandLine::Action;
        QTest::newRow("none") << QStringList{} << int(A::Run) << QString() << QString();
        QTest::newRow("help") << QStringList{"--help"} << int(A::Help) << QString() << QString();
        QTest::newRow("version") << QStringList{"--version"} << int(A::Version) << QString()
                                 << QString();
        QTest::newRow("screen and data") << QStringList{"--screen", "HDMI-1", "--data", "/x"}
                                         << int(A::Run) << "HDMI-1" << QString();
        QTest::newRow("list") << QStringList{"--list-screens"} << int(A::ListScreens) << QString()
                              << QString();
        QTest::newRow("rehearsal anywhere") << QStringList{"--out", "o", "--rehearse", "s"}
                                            << int(A::Rehearse) << QString() << QString();
        QTest::newRow("unknown") << QStringList{"--fast"} << int(A::Error) << QString()
                                 << QString();
        QTest::newRow("missing value")
            << QStringList{"--screen"} << int(A::Error) << QString() << QString();
        QTest::newRow("web port") << QStringList{"--web", "8080"} << int(A::Run) << QString()
                                  << ":8080";
        QTest::newRow("web loopback")
            << QStringList{"--web", "127.0.0.1:0"} << int(A::Run) << QString() << "127.0.0.1:0";
        QTest::newRow("web IPv6") << QStringList{"--web", "[::1]:8080"} << int(A::Run) << QString()
                                  << "::1:8080";
        for (const char* bad :
             {"localhost:80", "::1:80", "65536", "80x", "999.1.1.1:80", "", "-1"}) {
            QTest::newRow(qPrintable(QStringLiteral("web %1").arg(QLatin1String(bad))))
                << QStringList{"--web", bad} << int(A::Error) << QString() << QString();
        }
        QTest::newRow("web twice")
            << QStringList{"--web", "80", "--web", "81"} << int(A::Error) << QString() << QString();
        QTest::newRow("heat time") << QStringList{"--heat-time", "1:55"} << int(A::Run)
                                   << QString() << QString();
        for (const char* bad : {"1:5", "15", "0:61", "16:00", "x", ""}) {
            QTest::newRow(qPrintable(QStringLiteral("heat time %1").arg(QLatin1String(bad))))
                << QStringList{"--heat-time", bad} << int(A::Error) << QString() << QString();
        }
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, screen);
        QFETCH(QString, web);
        std::vector<QByteArray> bytes{"trqdisplay"};
        for (const QString& a : arguments) bytes.push_back(a.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& b : bytes) argv.push_back(b.data());
        const CommandLine c = ParseCommandLine(static_cast<int>(argv.size()), argv.data());
        QCOMPARE(int(c.action), action);
        QCOMPARE(c.screenName.value_or(QString()), screen);
        if (c.action == CommandLine::Action::Error) return;
        QCOMPARE(c.web ? c.web->address + u':' + QString::number(c.web->port) : QString(), web);
        if (arguments.contains("--heat-time")) QCOMPARE(c.secondsPerHeat.value_or(0), 115);
    }

    // The relay's options are taken out of the command line; the secret comes from the file's
    // first line, else from the environment, and must be one printable line.
    void publishArguments_data() {
        QTest::addColumn<QStringList>("arguments");  // TOKEN: a file holding "abc\nrest"
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("url");  // empty: an error, or no publishing when no error
        QTest::addColumn<QStringList>("rest");
        const QStringList none;
        QTest::newRow("none") << QStringList{"--web", "80"} << QByteArray("env") << QString()
                              << QStringList{"--web", "80"};
        QTest::newRow("file") << QStringList{"--publish", "http://r/pub", "--web", "80",
                                             "--publish-token-file", "TOKEN"}
                              << QByteArray() << "http://r/pub" << QStringList{"--web", "80"};
        QTest::newRow("environment") << QStringList{"--publish", "https://r:8443/p/"}
                                     << QByteArray(" abc ") << "https://r:8443/p/" << none;
        const QList<QStringList> bad = {
            {"--publish", "http://r/"},  // no secret anywhere
            {"--publish", "ftp://r/"},
            {"--publish", "http://r/?k=abc"},
            {"--publish", "http://user:pw@r/"},
            {"--publish"},
            {"--publish", "http://r/", "--publish", "http://s/"},
            {"--publish", "http://r/", "--publish-token-file", "/no/such/file"},
            {"--publish-token-file", "TOKEN"},
        };
        for (const QStringList& arguments : bad) {
            QTest::newRow(qPrintable(arguments.join(u' ')))
                << arguments << QByteArray() << QString() << none;
        }
        QTest::newRow("secret with a blank") << QStringList{"--publish", "http://r/"}
                                             << QByteArray("a b") << QString() << none;
    }
    void publishArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, environment);
        QFETCH(QString, url);
        QFETCH(QStringList, rest);
        QTemporaryDir dir;
        QFile token(dir.filePath("token"));
        QVERIFY(token.open(QIODevice::WriteOnly));
        token.write("abc\nrest\n");
        token.close();
        if (environment.isEmpty()) {
            qunsetenv("TRQ_PUBLISH_TOKEN");
        } else {
            qputenv("TRQ_PUBLISH_TOKEN", environment);
        }
        std::vector<QByteArray> bytes{"trqdisplay"};
        for (const QString& a : arguments)
            bytes.push_back((a == u"TOKEN" ? token.fileName() : a).toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& b : bytes) argv.push_back(b.data());
        const PublishArgs p = TakePublishArgs(argv);
        const bool publishes = arguments.contains("--publish") || arguments.contains("--publish-token-file");
        QCOMPARE(p.error.isEmpty(), !url.isEmpty() || !publishes);
        QCOMPARE(p.url ? p.url->toString() : QString(), url);
        if (p.url) QCOMPARE(p.secret, QByteArray("abc"));
        if (!p.error.isEmpty()) return;
        QStringList left;
        for (size_t i = 1; i < argv.size(); ++i) left << QString::fromLocal8Bit(argv[i]);
        QCOMPARE(left, rest);
    }
};

QTEST_MAIN(VenueTest)
#include "venue_test.moc"
