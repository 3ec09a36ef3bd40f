// The web pages in a real browser (headless Chromium, driven over its DevTools protocol on the
// loopback address): the mirror shows the venue's picture, /heats?number=NNN marks NNN in the
// current heat, and "Heat ▶" on /remote steps the console's heat. Set TRQ_BROWSER_SHOTS to a
// folder to keep the screenshots.
#include <QDir>
#include <QJsonArray>
#include <QtTest>
#include <memory>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/console/operator_commands.h"
#include "app/web/demo_web.h"
#include "app/web/web_server.h"
#include "core/competition/competition_state.h"
#include "support/browser_page.h"

namespace {

constexpr int kWaitMs = 40'000;

// Pixels of a colour (within a small tolerance) in an image.
int CountColour(const QImage& image, const QColor& colour) {
    int count = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (std::abs(qRed(line[x]) - colour.red()) < 8 &&
                std::abs(qGreen(line[x]) - colour.green()) < 8 &&
                std::abs(qBlue(line[x]) - colour.blue()) < 8) {
                ++count;
            }
        }
    }
    return count;
}

// How far two pictures are apart when both are shrunk to 64 x 48: the mean difference of a
// colour channel (0-255).
double Distance(const QImage& a, const QImage& b) {
    const QImage x = a.scaled(64, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    const QImage y = b.scaled(64, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int j = 0; j < 48; ++j) {
        for (int i = 0; i < 64; ++i) {
            const QRgb p = x.pixel(i, j);
            const QRgb q = y.pixel(i, j);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (64 * 48 * 3);
}

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT

    AppWindows windows;
    std::unique_ptr<WebServer> web;
    HeadlessChromium chromium;
    QUrl devTools;
    QString shots = qEnvironmentVariable("TRQ_BROWSER_SHOTS");

    void Keep(const QImage& shot, const QString& name) {
        if (!shots.isEmpty()) shot.save(QDir(shots).filePath(name + QStringLiteral(".png")));
    }

    // Starts Chromium headless with its DevTools on the loopback address; skips the test when
    // the browser cannot run at all.
    void StartBrowser() {
        QString why;
        devTools = chromium.Start(&why);
        if (devTools.isEmpty()) QSKIP(qPrintable(why));
    }

  private slots:
    void initTestCase() {
        Hooks().showMessage = [](const QString&, const QString&) {};
        web = StartDemoWithWeb(windows);
        WebServerOptions o;
        o.address = QStringLiteral("127.0.0.1");
        QVERIFY(web->Start(o, nullptr));
        // The first round of the day on one floor, its second heat dancing.
        OperatorCommands& commands = windows.console->Commands();
        const Competition& s = *windows.state;
        for (int i = 0; i < 60 && (s.CurrentEventIndex < 0 || s.CurrentEvent().HasFloorB()); ++i) {
            commands.ProgrammeStep(true);
        }
        commands.Heat();
        commands.HeatStep(true);
        QVERIFY(s.HeatIndex == 1);
        StartBrowser();
    }

    void cleanupTestCase() {
        web.reset();
        windows = AppWindows();
    }

    void heatsMarkMyNumber_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<double>("scale");
        QTest::newRow("phone") << 390 << 844 << 3.0;
        QTest::newRow("desktop") << 1024 << 900 << 1.0;
    }
    void heatsMarkMyNumber() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(double, scale);
        const Competition& s = *windows.state;
        const int number = s.ShownNumber(s.HeatTable[s.HeatIndex][2]);
        BrowserPage page;
        QString error;
        QVERIFY2(page.Open(devTools, &error), qPrintable(error));
        page.Size(width, height, scale, width < 500);
        page.Go(web->MirrorUrl().resolved(QUrl(QStringLiteral("/heats?number=%1").arg(number))));
        // The current heat is marked and holds the number, marked too; so does nothing else.
        QCOMPARE(page.WaitFor(QStringLiteral("document.querySelector('article.now button.mine')"
                                             "?.textContent")),
                 QString::number(number));
        QCOMPARE(
            page.WaitFor(QStringLiteral("document.querySelector('article.now h2').textContent")),
            QStringLiteral("Heat-2Now"));
        QCOMPARE(page.WaitFor(QStringLiteral("document.querySelectorAll('button.mine').length")),
                 QStringLiteral("1"));
        const QImage shot = page.Screenshot();
        QCOMPARE(shot.width(), int(width * scale));
        // The marked number's yellow and the current heat's frame are on the screen.
        QVERIFY(CountColour(shot, QColor(255, 212, 0)) > 200 * scale * scale);
        QVERIFY(CountColour(shot, QColor(0, 255, 255)) > 100 * scale);
        Keep(shot, QStringLiteral("heats-%1").arg(QTest::currentDataTag()));
        // A tap on a number names the couple.
        page.WaitFor(QStringLiteral("(document.querySelector('button.mine').click(), true)"));
        QVERIFY(page.WaitFor(QStringLiteral("document.getElementById('couple').open && "
                                            "document.getElementById('coupleNames').textContent"))
                    .contains(u'/'));
        Keep(page.Screenshot(), QStringLiteral("heats-couple-%1").arg(QTest::currentDataTag()));
    }

    void mirrorShowsTheVenue_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<double>("scale");
        QTest::newRow("phone") << 390 << 3.0;
        QTest::newRow("desktop") << 1024 << 1.0;
    }
    void mirrorShowsTheVenue() {
        QFETCH(int, width);
        QFETCH(double, scale);
        BrowserPage page;
        QString error;
        QVERIFY2(page.Open(devTools, &error), qPrintable(error));
        page.Size(width, width * 3 / 4, scale, width < 500);
        page.Go(web->MirrorUrl().resolved(QUrl(QStringLiteral("/?bare"))));
        // The live feed's picture drawn on the page's canvas, scaled to the page's width
        // (looked at again until the first picture is decoded and drawn).
        QCOMPARE(page.WaitFor(QStringLiteral("document.getElementById('picture').dataset.frames && "
                                             "document.getElementById('picture').width")),
                 QStringLiteral("1024"));
        const QImage shot = page.Screenshot();
        Keep(shot, QStringLiteral("mirror-%1").arg(QTest::currentDataTag()));
        QCOMPARE(shot.width(), int(width * scale));
        QVERIFY2(Distance(shot, windows.audience->Picture()) < 6,
                 qPrintable(QString::number(Distance(shot, windows.audience->Picture()))));
        // A heat step comes as a patch of the parts that changed, painted over the canvas: it
        // then holds the venue's picture pixel for pixel (a checksum of every pixel's colour).
        OperatorCommands& commands = windows.console->Commands();
        commands.HeatStep(true);
        const auto sum = [](const QImage& picture) {
            quint32 h = 0;
            for (int y = 0; y < picture.height(); ++y) {
                for (int x = 0; x < picture.width(); ++x) h = h * 31 + (picture.pixel(x, y) & 0xffffff);
            }
            return QString::number(h);
        };
        const QString venue = sum(windows.audience->Picture());
        QCOMPARE(page.WaitFor(QStringLiteral(
                     "(() => { const c = document.getElementById('picture');"
                     " if (Number(c.dataset.frames) < 2) return null;"
                     " const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;"
                     " let h = 0; for (let i = 0; i < d.length; i += 4)"
                     " h = (h * 31 + d[i] * 65536 + d[i + 1] * 256 + d[i + 2]) >>> 0;"
                     " return String(h) === '%1' ? 'same' : null; })()")
                                  .arg(venue)),
                 QStringLiteral("same"));
        commands.HeatStep(false);
    }

    void remoteStepsTheHeat() {
        BrowserPage page;
        QString error;
        QVERIFY2(page.Open(devTools, &error), qPrintable(error));
        page.Size(390, 844, 3.0, true);
        QUrl remote = web->RemoteUrl();
        page.Go(remote);
        QCOMPARE(page.WaitFor(QStringLiteral("document.getElementById('view').textContent === "
                                             "'Heat' && 'ready'")),
                 QStringLiteral("ready"));
        const int heat = windows.state->HeatIndex;
        QSignalSpy drawn(windows.audience.get(), &ScrForm::pictureChanged);
        page.WaitFor(QStringLiteral("(document.getElementById('cmd-heat-next').click(), true)"));
        while (windows.state->HeatIndex == heat && drawn.wait(kWaitMs)) {
        }
        QCOMPARE(windows.state->HeatIndex, heat + 1);
        // The page shows the new heat once the answer is in.
        QCOMPARE(
            page.WaitFor(
                QStringLiteral(
                    "document.getElementById('where').textContent.includes('Heat-%1') && 'shown'")
                    .arg(heat + 2)),
            QStringLiteral("shown"));
        Keep(page.Screenshot(), QStringLiteral("remote-phone"));
    }
};

QTEST_MAIN(BrowserTest)
#include "browser_test.moc"
