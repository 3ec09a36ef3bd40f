// The canvas behaves like the Windows drawing canvas the screens are designed on: state kept
// between drawings, opaque text, exclusive right and bottom edges, and faithful records.
#include "core/platform/canvas.h"
#include "core/platform/changed_tiles.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QJsonArray>
#include <QPainter>
#include <QtTest>
#include <functional>
#include <utility>
#include <vector>

#include "core/platform/font_substitution.h"

class CanvasTest : public QObject {
    Q_OBJECT
  private slots:
    void pointsToPixels_data() {
        QTest::addColumn<int>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("30") << 30 << 40;
        QTest::newRow("15") << 15 << 20;
        QTest::newRow("11") << 11 << 15;  // 14.67 rounds up
        QTest::newRow("13") << 13 << 17;  // 17.33 rounds down
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("-3") << -3 << -4;
    }
    void pointsToPixels() {
        QFETCH(int, points);
        QFETCH(int, pixels);
        QCOMPARE(Canvas::PointsToPixels(points), pixels);
    }

    void stateIsKeptBetweenDrawings() {
        Canvas c(200, 100, "T.Image");
        c.SetRecording(true);
        c.SetFontName(QString::fromUtf8("ＭＳ ゴシック"));
        c.SetFontSize(20);
        c.SetFontColor(QColor(255, 255, 0));
        c.SetBold(true);
        c.SetPenColor(Qt::red);
        c.SetPenWidth(3);
        c.SetBrushColor(QColor(0, 64, 0));
        c.TextOut(1, 2, "A");
        c.Line(0, 50, 100, 50);
        // A second drawing that sets only the size inherits everything else.
        c.SetFontSize(10);
        c.TextOut(5, 6, "B");
        c.Rectangle(0, 0, 10, 10);
        const auto r = c.TakeRecords();
        QCOMPARE(r.size(), size_t(4));
        QCOMPARE(r[2].font, QString::fromUtf8("ＭＳ ゴシック"));
        QCOMPARE(r[2].size, 10);
        QCOMPARE(r[2].bold, true);
        QCOMPARE(r[2].color, QColor(255, 255, 0));
        QCOMPARE(r[2].brush, QColor(0, 64, 0));
        QCOMPARE(r[3].pen, QColor(Qt::red));
        QCOMPARE(r[3].penWidth, 3);
        QCOMPARE(r[3].brush, QColor(0, 64, 0));
        QVERIFY(c.Records().empty());
    }

    void textIsOpaqueAndMeasured() {
        Canvas c(300, 100, "T.Image");
        c.Image().fill(Qt::white);
        c.SetRecording(true);
        c.SetFontName(QString::fromUtf8("HGP創英角ｺﾞｼｯｸUB"));
        c.SetFontSize(24);
        c.SetFontColor(Qt::white);
        c.SetBrushColor(QColor(0, 0, 255));
        const QString text = QString::fromUtf8("現在 No.");
        c.TextOut(10, 20, text);
        const DrawRecord r = c.TakeRecords().at(0);
        QCOMPARE(r.w, c.TextWidth(text));
        QCOMPARE(r.h, c.TextHeight(text));
        QVERIFY(r.w > 0);
        QVERIFY(r.h >= Canvas::PointsToPixels(24));
        // The cell's corners carry the brush; just outside stays untouched.
        QCOMPARE(c.Image().pixelColor(10, 20), QColor(0, 0, 255));
        QCOMPARE(c.Image().pixelColor(10 + r.w - 1, 20 + r.h - 1), QColor(0, 0, 255));
        QCOMPARE(c.Image().pixelColor(10 + r.w, 20), QColor(Qt::white));
        QCOMPARE(c.Image().pixelColor(9, 20), QColor(Qt::white));
    }

    // Texts are drawn from kept layouts and rendered cells; every drawing must still show what
    // the painter's own text drawing shows, over a striped background so that glyphs reaching
    // outside their cell and see-through brushes are seen too.
    void textDrawsAsThePainterDrawsIt_data() {
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("brushAlpha");
        const QString gothic = QString::fromUtf8("HGP創英角ｺﾞｼｯｸUB");
        const QString sans = QStringLiteral("Microsoft Sans Serif");
        const QString pop = QString::fromUtf8("HGS創英角ﾎﾟｯﾌﾟ体");
        QTest::newRow("kanji") << gothic << QString::fromUtf8("決勝 髙﨑 No.12") << 1.0 << 255;
        QTest::newRow("twice the size")
            << gothic << QString::fromUtf8("Heat-1 ワルツ") << 2.0 << 255;
        QTest::newRow("venue scale")
            << gothic << QString::fromUtf8("ジャイブ 105") << 1.40625 << 255;
        // The picture on 1280 x 1024, 1600 x 900 and 3840 x 2160 screens.
        QTest::newRow("venue scale 1.25")
            << gothic << QString::fromUtf8("髙﨑 ワルツ") << 1.25 << 255;
        QTest::newRow("venue scale 1.171875")
            << gothic << QString::fromUtf8("決勝 No.7") << 1.171875 << 255;
        QTest::newRow("venue scale 2.8125")
            << gothic << QString::fromUtf8("Heat-3 タンゴ") << 2.8125 << 255;
        QTest::newRow("reaching out at the venue scale")
            << pop << QString::fromUtf8("fjyA ようこそ") << 1.40625 << 255;
        QTest::newRow("reaching out") << sans << QStringLiteral("jfAVW") << 1.0 << 255;
        QTest::newRow("reaching out, twice the size")
            << pop << QString::fromUtf8("fjyA ようこそ") << 2.0 << 255;
        QTest::newRow("tab") << gothic << QString::fromUtf8("A\tB") << 1.0 << 255;
        QTest::newRow("see-through brush") << gothic << QString::fromUtf8("休憩") << 1.0 << 128;
    }
    void textDrawsAsThePainterDrawsIt() {
        QFETCH(QString, face);
        QFETCH(QString, text);
        QFETCH(double, scale);
        QFETCH(int, brushAlpha);
        const auto stripes = [](QImage& image) {
            QPainter p(&image);
            for (int x = 0; x < 300; x += 6) p.fillRect(QRect(x, 0, 3, 200), QColor(90, 40, 10));
        };
        Canvas c(300, 200, "T");
        c.Resize(300, 200, scale);
        stripes(c.Image());
        QImage expected = c.Image().copy();
        expected.setDevicePixelRatio(scale);

        const QFont font = ResolveFont(face, Canvas::PointsToPixels(22), false);
        const QFontMetrics m(font);
        // The cell of the design fonts: 1.08 em, the baseline 0.88 em below its top.
        const int pixels = Canvas::PointsToPixels(22);
        const int ascent = qRound(pixels * 0.88);
        const int height = qRound(pixels * 1.08);
        c.SetFontName(face);
        c.SetFontSize(22);
        QPainter p(&expected);
        p.setFont(font);
        // The second drawing of a colour comes from what the first one kept.
        struct Drawing {
            QPoint at;
            QColor color;
        };
        std::vector<Drawing> drawings = {
            {{12, 10}, Qt::white}, {{31, 70}, Qt::white}, {{7, 130}, Qt::yellow}};
        // Every start within a device pixel, and again, at the scales that are not whole.
        for (int k = 0; k < 64; ++k) drawings.push_back({{40 + k % 32, 96 + k}, Qt::white});
        for (const auto& d : drawings) {
            const QColor brushColor(0, 0, 160, brushAlpha);
            c.SetFontColor(d.color);
            c.SetBrushColor(brushColor);
            c.TextOut(d.at.x(), d.at.y(), text);
            p.fillRect(QRect(d.at, QSize(m.horizontalAdvance(text), height)), brushColor);
            p.setPen(d.color);
            p.drawText(d.at + QPoint(0, ascent), text);
        }
        p.end();
        QCOMPARE(c.Image(), expected);
    }

    // A pass is compared with the operations the bitmap holds: the parts it names as changed
    // hold every pixel that changed and lie within the drawings that differ (a text drawn for the
    // first time with room for the ink of any glyph), and the bitmap is what drawing the whole
    // frame gives, at the design size and at a venue screen's scale.
    void passesDrawOnlyWhatChanged_data() {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QRect>("within");  // drawing units; null: nothing changed
        const QStringList frame = {"clear #002000", "fill 10 10 50 20 #ff0000",
                                   "text 100 50 12 #ffffff", "ellipse 200 20 40 30 #ffff00"};
        QTest::newRow("the same again") << frame << frame << QRect();
        QStringList text = frame;
        text[2] = "text 100 50 13 #ffffff";
        QTest::newRow("a text changes") << frame << text << QRect(60, 30, 120, 70);
        QStringList moved = frame;
        moved[1] = "fill 10 100 50 20 #ff0000";
        QTest::newRow("a rectangle moves") << frame << moved << QRect(0, 0, 75, 135);
        QStringList added = frame;
        added.insert(2, "fill 150 150 30 30 #0000ff");
        QTest::newRow("one added between") << frame << added << QRect(140, 140, 50, 50);
        const QStringList pair = {"clear #000000", "fill 10 10 40 40 #ff0000",
                                  "fill 30 30 40 40 #0000ff"};
        QTest::newRow("an overlapping pair swaps")
            << pair << QStringList{pair[0], pair[2], pair[1]} << QRect(0, 0, 85, 85);
        QTest::newRow("drawn over without a clear")
            << frame << QStringList{"fill 200 100 20 20 #00ff00"} << QRect(190, 90, 40, 40);
        QStringList cleared = frame;
        cleared[0] = "clear #200000";
        QTest::newRow("another background") << frame << cleared << QRect(0, 0, 300, 200);
    }
    void passesDrawOnlyWhatChanged() {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QRect, within);
        const auto draw = [](Canvas& c, const QStringList& ops) {
            CanvasPass pass(c);
            for (const QString& line : ops) {
                const QStringList w = line.split(' ');
                const QColor color(w.last());
                c.SetBrushColor(color);
                c.SetPenColor(color);
                if (w[0] == "clear") c.FillRect(0, 0, 300, 200);
                const int x = w.value(1).toInt();
                const int y = w.value(2).toInt();
                if (w[0] == "fill") c.FillRect(x, y, x + w[3].toInt(), y + w[4].toInt());
                if (w[0] == "ellipse") c.Ellipse(x, y, x + w[3].toInt(), y + w[4].toInt());
                if (w[0] == "text") {
                    c.SetFontColor(color);
                    c.SetBrushColor(Qt::darkBlue);
                    c.TextOut(x, y, w[3]);
                }
            }
        };
        for (const double scale : {1.0, 1.40625}) {
            // Drawn, and drawn ahead on a copy that the pass then takes: the same pixels either
            // way, and the damage of the copy's pass no more than the drawing's.
            QImage drawnImage;
            QRegion drawnDamage;
            for (const bool ahead : {false, true}) {
                Canvas::ForgetKeptTexts();
                Canvas c(300, 200, "T");
                c.Resize(300, 200, scale);
                c.SetFontSize(22);
                // A text is drawn from its glyphs from its second drawing and copied from its
                // third: the first picture three times, as a screen that has shown it a while.
                for (int i = 0; i < 3; ++i) draw(c, first);
                c.TakeDamage();
                const QImage before = std::as_const(c).Image().copy();
                if (ahead) {
                    Canvas copy = c.AheadCopy();
                    draw(copy, second);
                    c.KeepAhead(std::move(copy));
                    QCOMPARE(std::as_const(c).Image(), before);
                }
                draw(c, second);
                // (A copy that drew nothing new is not kept.)
                QCOMPARE(c.TookAhead(), ahead && first != second);
                const QRegion damage = c.TakeDamage();
                const QImage& after = std::as_const(c).Image();
                if (ahead) {
                    QCOMPARE(after, drawnImage);
                    QVERIFY((damage - drawnDamage).isEmpty());
                } else {
                    drawnImage = after.copy();
                    drawnDamage = damage;
                }
                if (within.isNull()) {
                    QVERIFY(damage.isEmpty());
                } else {
                    const QRect device(qFloor(within.x() * scale), qFloor(within.y() * scale),
                                       qCeil(within.width() * scale),
                                       qCeil(within.height() * scale));
                    QVERIFY2(
                        (damage - device).isEmpty(),
                        qPrintable(
                            QStringLiteral("%1 at %2").arg(QDebug::toString(damage)).arg(scale)));
                }
                for (int y = 0; y < after.height(); ++y) {
                    for (int x = 0; x < after.width(); ++x) {
                        if (after.pixel(x, y) != before.pixel(x, y) &&
                            !damage.contains(QPoint(x, y))) {
                            QFAIL(qPrintable(QStringLiteral("changed outside: %1, %2 at %3")
                                                 .arg(x)
                                                 .arg(y)
                                                 .arg(scale)));
                        }
                    }
                }
                QCOMPARE(after, c.FullRepaint());
            }
        }
    }

    // A canvas not on show keeps its passes undrawn until its bitmap is asked for; whatever
    // comes between, the bitmap is the one drawing at once gives, and the damage holds every
    // pixel that changed.
    void deferredPassesDrawTheSame() {
        using Step = std::function<void(Canvas&)>;
        const auto pass = [](QColor whole, QRect part) {
            return Step([whole, part](Canvas& c) {
                CanvasPass p(c);
                if (whole.isValid()) {
                    c.SetBrushColor(whole);
                    c.FillRect(0, 0, 120, 80);
                }
                c.SetBrushColor(Qt::blue);
                c.FillRect(part.left(), part.top(), part.right(), part.bottom());
            });
        };
        const Step single = [](Canvas& c) {
            c.SetBrushColor(Qt::yellow);
            c.FillRect(5, 5, 30, 30);
        };
        const Step ahead = [&](Canvas& c) {
            Canvas copy = c.AheadCopy();
            pass(Qt::green, {40, 40, 20, 20})(copy);
            c.KeepAhead(std::move(copy));
        };
        const std::pair<const char*, std::vector<Step>> rows[] = {
            {"covered", {pass(Qt::red, {10, 10, 30, 30}), pass(Qt::green, {50, 20, 20, 20})}},
            {"added on", {pass(Qt::red, {10, 10, 30, 30}), pass({}, {50, 20, 20, 20})}},
            {"a drawing outside a pass", {pass(Qt::red, {10, 10, 30, 30}), single}},
            {"drawn ahead meanwhile",
             {pass(Qt::red, {10, 10, 30, 30}), ahead, pass(Qt::green, {40, 40, 20, 20})}},
        };
        for (const auto& [name, steps] : rows) {
            Canvas now(120, 80, "N");
            Canvas later(120, 80, "L");
            later.SetDeferred(true);
            for (const Step& step : steps) {
                step(now);
                step(later);
            }
            const QRegion damage = later.TakeDamage();
            const QImage& image = std::as_const(later).Image();
            QVERIFY2(image == std::as_const(now).Image(), name);
            QVERIFY2(image == later.FullRepaint(), name);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                        QVERIFY2(damage.contains(QPoint(x, y)), name);
                    }
                }
            }
        }
    }

    // A picture drawn ahead is taken only by the pass that draws what it drew, on the canvas as
    // it was copied or, for a pass that starts by filling the whole bitmap, whenever that pass
    // comes; otherwise the pass draws as always.
    void aheadIsTakenOnlyForTheSamePicture_data() {
        QTest::addColumn<QString>("between");
        QTest::addColumn<QString>("pass");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<bool>("takenLater");  // by the same pass after this one
        for (const bool whole : {false, true}) {
            const auto row = [&](const char* name) {
                return &QTest::newRow(qPrintable(QString::fromLatin1(name) +
                                                 (whole ? " (whole)" : " (partial)")));
            };
            *row("the same pass") << "" << "13" << whole << true << false;
            *row("another text") << "" << "14" << whole << false << whole;
            *row("a drawing in between") << "fill" << "13" << whole << whole << false;
            *row("another pass in between") << "pass" << "13" << whole << whole << false;
            *row("a write into the bitmap") << "write" << "13" << whole << whole << false;
            *row("a new size") << "resize" << "13" << whole << false << false;
            // Brought up to the bitmap as it is (RebaseAhead) after the change or before it.
            *row("a drawing in between, brought up") << "fill+rebase"
                                                     << "13" << whole << whole << false;
            *row("brought up, then a drawing") << "rebase+fill"
                                               << "13" << whole << whole << false;
        }
    }
    void aheadIsTakenOnlyForTheSamePicture() {
        QFETCH(QString, between);
        QFETCH(QString, pass);
        QFETCH(bool, whole);
        QFETCH(bool, taken);
        QFETCH(bool, takenLater);
        const auto draw = [whole](Canvas& c, const QString& text) {
            CanvasPass painting(c);
            c.SetBrushColor(Qt::darkGreen);
            c.FillRect(0, 0, 200, whole ? 100 : 90);
            c.SetFontColor(Qt::white);
            c.TextOut(20, 20, text);
        };
        Canvas c(200, 100, "T");
        c.Resize(200, 100, 1.40625);
        c.SetFontSize(22);
        draw(c, "12");
        Canvas copy = c.AheadCopy();
        draw(copy, "13");
        c.KeepAhead(std::move(copy), 1);
        c.SetBrushColor(Qt::red);
        for (const QString& step : between.split('+', Qt::SkipEmptyParts)) {
            if (step == "fill") c.FillRect(150, 60, 190, 99);
            if (step == "pass") draw(c, "12");
            if (step == "write") c.Image().fill(Qt::blue);
            if (step == "resize") c.Resize(200, 100, 1.40625);
            if (step == "rebase") c.RebaseAhead(1);
        }
        c.TakeDamage();
        const QImage before = std::as_const(c).Image().copy();
        draw(c, pass);
        QCOMPARE(c.TookAhead(), taken);
        // Every pixel the pass changed is repainted.
        const QRegion damage = c.TakeDamage();
        const QImage& after = std::as_const(c).Image();
        for (int y = 0; y < after.height(); ++y) {
            for (int x = 0; x < after.width(); ++x) {
                if (after.pixel(x, y) != before.pixel(x, y)) QVERIFY(damage.contains(QPoint(x, y)));
            }
        }
        // (A bitmap written into, then drawn over in part, has no operations that make it.)
        if (whole || between != "write") QCOMPARE(std::as_const(c).Image(), c.FullRepaint());
        // Taken once.
        draw(c, "13");
        QCOMPARE(c.TookAhead(), takenLater);
        if (whole || between != "write") QCOMPARE(std::as_const(c).Image(), c.FullRepaint());
    }

    // A picture drawn ahead taken without drawing its pass (its caller knows the pass is the
    // same): only over the bitmap it was drawn on, and never while recording. Taken, the canvas
    // is the one that drawing the pass gives: bitmap, frame and drawing state.
    void aheadTakenWithoutItsPass() {
        const auto draw = [](Canvas& c, const QString& text, const QColor& font) {
            CanvasPass painting(c);
            c.SetBrushColor(Qt::darkGreen);
            c.FillRect(0, 0, 200, 90);
            c.SetFontColor(font);
            c.TextOut(20, 20, text);
        };
        for (const QString between : {"", "fill", "pass", "write", "resize", "recording"}) {
            Canvas c(200, 100, "T");
            c.Resize(200, 100, 1.40625);
            c.SetFontSize(22);
            draw(c, "12", Qt::white);
            Canvas copy = c.AheadCopy();
            draw(copy, "13", Qt::yellow);
            c.KeepAhead(std::move(copy), 1);
            if (between == "fill") c.FillRect(150, 60, 190, 99);
            if (between == "pass") draw(c, "12", Qt::white);
            if (between == "write") c.Image().fill(Qt::blue);
            if (between == "resize") c.Resize(200, 100, 1.40625);
            c.SetRecording(between == "recording");
            c.TakeDamage();
            const QImage before = std::as_const(c).Image().copy();
            const bool taken = c.TakeAhead(1);
            QCOMPARE(taken, between.isEmpty());
            if (!taken) {
                QCOMPARE(std::as_const(c).Image(), before);
                continue;
            }
            Canvas drawn(200, 100, "D");
            drawn.Resize(200, 100, 1.40625);
            drawn.SetFontSize(22);
            draw(drawn, "12", Qt::white);
            draw(drawn, "13", Qt::yellow);
            QCOMPARE(std::as_const(c).Image(), std::as_const(drawn).Image());
            const QRegion damage = c.TakeDamage();
            const QImage& after = std::as_const(c).Image();
            for (int y = 0; y < after.height(); ++y) {
                for (int x = 0; x < after.width(); ++x) {
                    if (after.pixel(x, y) != before.pixel(x, y)) {
                        QVERIFY(damage.contains(QPoint(x, y)));
                    }
                }
            }
            QCOMPARE(after, c.FullRepaint());
            QVERIFY(!c.TakeAhead(1));  // taken once
            // In the copy's font colour, and drawn over the copy's frame.
            for (Canvas* canvas : {&c, &drawn}) {
                CanvasPass painting(*canvas);
                canvas->FillRect(0, 0, 200, 90);
                canvas->TextOut(20, 50, QStringLiteral("14"));
            }
            QCOMPARE(std::as_const(c).Image(), std::as_const(drawn).Image());
            QCOMPARE(std::as_const(c).Image(), c.FullRepaint());
        }
    }

    // A copy that drew nothing new is not kept: it would share the bitmap, and the next drawing
    // would copy all of it first.
    void aheadOfThePictureShownIsNotKept() {
        Canvas c(200, 100, "T");
        c.Resize(200, 100, 1.40625);
        const auto draw = [](Canvas& canvas) {
            CanvasPass painting(canvas);
            canvas.SetBrushColor(Qt::darkGreen);
            canvas.FillRect(0, 0, 200, 100);
        };
        draw(c);
        {
            Canvas copy = c.AheadCopy();
            draw(copy);
            c.KeepAhead(std::move(copy), 1);
        }
        QVERIFY(std::as_const(c).Image().isDetached());
        draw(c);
        QVERIFY(!c.TookAhead());
    }

    // Gaps in a band are filled up to the area given; other bands and larger gaps stay.
    void bridgedGaps_data() {
        QTest::addColumn<QList<QRect>>("rects");
        QTest::addColumn<QList<QRect>>("bridged");
        QTest::newRow("a small gap") << QList<QRect>{{0, 0, 64, 16}, {128, 0, 64, 16}}
                                     << QList<QRect>{{0, 0, 192, 16}};
        QTest::newRow("a gap too wide") << QList<QRect>{{0, 0, 64, 16}, {400, 0, 64, 16}}
                                        << QList<QRect>{{0, 0, 64, 16}, {400, 0, 64, 16}};
        QTest::newRow("two bands") << QList<QRect>{{0, 0, 64, 16}, {128, 16, 64, 16}}
                                   << QList<QRect>{{0, 0, 64, 16}, {128, 16, 64, 16}};
        QTest::newRow("three in a band, one gap too wide")
            << QList<QRect>{{0, 0, 64, 16}, {128, 0, 64, 16}, {600, 0, 64, 16}}
            << QList<QRect>{{0, 0, 192, 16}, {600, 0, 64, 16}};
    }
    void bridgedGaps() {
        QFETCH(QList<QRect>, rects);
        QFETCH(QList<QRect>, bridged);
        QRegion region;
        for (const QRect& r : rects) region += r;
        const QRegion out = BridgedGaps(region, 64 * 16 * 2);
        QCOMPARE(QList<QRect>(out.begin(), out.end()), bridged);
    }

    void edgesAreExclusive() {
        Canvas c(40, 40, "T.Image");
        c.Image().fill(Qt::white);
        c.SetBrushColor(Qt::black);
        c.FillRect(5, 5, 10, 10);
        QCOMPARE(c.Image().pixelColor(5, 5), QColor(Qt::black));
        QCOMPARE(c.Image().pixelColor(9, 9), QColor(Qt::black));
        QCOMPARE(c.Image().pixelColor(10, 9), QColor(Qt::white));
        QCOMPARE(c.Image().pixelColor(9, 10), QColor(Qt::white));

        c.SetPenColor(Qt::red);
        c.SetPenWidth(1);
        c.Line(0, 20, 10, 20);
        QCOMPARE(c.Image().pixelColor(0, 20), QColor(Qt::red));
        QCOMPARE(c.Image().pixelColor(9, 20), QColor(Qt::red));
        QCOMPARE(c.Image().pixelColor(10, 20), QColor(Qt::white));
        c.Line(30, 10, 30, 0);  // upwards: the end pixel (30, 0) stays out
        QCOMPARE(c.Image().pixelColor(30, 10), QColor(Qt::red));
        QCOMPARE(c.Image().pixelColor(30, 1), QColor(Qt::red));
        QCOMPARE(c.Image().pixelColor(30, 0), QColor(Qt::white));

        c.SetBrushColor(Qt::green);
        c.Rectangle(20, 25, 30, 35);
        QCOMPARE(c.Image().pixelColor(20, 25), QColor(Qt::red));    // outline
        QCOMPARE(c.Image().pixelColor(29, 34), QColor(Qt::red));    // outline, last pixel
        QCOMPARE(c.Image().pixelColor(25, 30), QColor(Qt::green));  // inside
        QCOMPARE(c.Image().pixelColor(30, 30), QColor(Qt::white));  // right edge excluded
    }

    void recordsAsJson() {
        Canvas c(50, 50, "ScrForm.Image9");
        c.SetRecording(true);
        c.SetPenColor(QColor(192, 192, 192));
        c.SetBrushColor(QColor(0, 128, 128));
        c.Polygon({QPoint(1, 2), QPoint(3, 4), QPoint(5, 0)});
        c.SetFontName("Microsoft Sans Serif");
        c.SetFontSize(22);
        c.TextOut(3, 4, QString::fromUtf8("[ 審判員 ] "));
        const auto r = c.TakeRecords();
        const QJsonObject poly = r[0].ToJson();
        QCOMPARE(poly["canvas"].toString(), QStringLiteral("ScrForm.Image9"));
        QCOMPARE(poly["op"].toString(), QStringLiteral("polygon"));
        QCOMPARE(poly["points"].toArray().size(), 3);
        QCOMPARE(poly["points"].toArray()[1].toArray()[0].toInt(), 3);
        QCOMPARE(poly["pen"].toString(), QStringLiteral("#c0c0c0"));
        QCOMPARE(poly["brush"].toString(), QStringLiteral("#008080"));
        const QJsonObject text = r[1].ToJson();
        QCOMPARE(text["text"].toString(), QString::fromUtf8("[ 審判員 ] "));
        QCOMPARE(text["size"].toInt(), 22);
        QCOMPARE(text["font"].toString(), QStringLiteral("Microsoft Sans Serif"));
        for (const char* key : {"x", "y", "bold", "color", "brush", "w", "h"}) {
            QVERIFY2(text.contains(key), key);
        }
    }

    void designFontsResolveToInstalledJapaneseFaces() {
        // Japanese text must never measure as missing glyphs: every design face maps to a face
        // that has kana and kanji.
        for (const char* name :
             {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "HGP創英角ｺﾞｼｯｸUB", "HG丸ｺﾞｼｯｸM-PRO",
              "AR P隷書体M", "HGS創英角ﾎﾟｯﾌﾟ体", "Microsoft Sans Serif"}) {
            const QFont f = ResolveFont(QString::fromUtf8(name), 32, false);
            QFontMetrics m(f);
            QVERIFY2(m.inFontUcs4(QChar(u'現').unicode()) || QFontInfo(f).family().size() > 0,
                     name);
            QVERIFY2(m.horizontalAdvance(QString::fromUtf8("現在")) > 32, name);
        }
        QVERIFY(ResolveFont(QString::fromUtf8("HGP創英角ｺﾞｼｯｸUB"), 20, false).bold());
        QVERIFY(!ResolveFont(QString::fromUtf8("ＭＳ ゴシック"), 20, false).bold());
    }

    // Every face draws in the design fonts' cell, 1.08 em with the baseline 0.88 em down, whatever
    // its own line box; its kana and kanji stay inside it; texts of two faces in a row share the
    // baseline. A condensed font measures and records its width.
    void designCellAndCondensing() {
        const QString text = QString::fromUtf8("現在の審判員ワルツ");
        int baseline = -1;
        for (const char* name : {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "HGP創英角ｺﾞｼｯｸUB",
                                 "HG丸ｺﾞｼｯｸM-PRO", "AR P隷書体M", "Microsoft Sans Serif"}) {
            Canvas c(400, 60, "T");
            c.SetRecording(true);
            c.SetFontName(QString::fromUtf8(name));
            c.SetFontSize(24);
            c.SetBrushColor(Qt::black);
            c.SetFontColor(Qt::white);
            const int pixels = Canvas::PointsToPixels(24);
            QCOMPARE(c.TextHeight(text), qRound(pixels * 1.08));
            QCOMPARE(c.TextAscent(), qRound(pixels * 0.88));
            c.TextOut(0, 10, text);
            // The ink: white pixels, all within the cell's rows.
            int top = 60, bottom = -1;
            for (int y = 0; y < 60; ++y) {
                for (int x = 0; x < 400; ++x) {
                    if (qGray(c.Image().pixel(x, y)) > 128) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
                }
            }
            QVERIFY2(top >= 10 && bottom < 10 + c.TextHeight(text), name);
            if (baseline < 0) baseline = c.TextAscent();
            QCOMPARE(c.TextAscent(), baseline);

            const int natural = c.TextWidth(text);
            c.SetFontStretch(60);
            QVERIFY2(std::abs(c.TextWidth(text) - natural * 60 / 100) <= 2, name);
            c.TextOut(0, 10, text);
            QCOMPARE(c.TakeRecords().back().stretch, 60);
        }
    }

    void zeroFontSizeStillDraws() {
        Canvas c(50, 50, "T");
        c.SetFontSize(0);
        c.TextOut(0, 0, "x");
        QVERIFY(c.TextHeight("x") > 0);
    }
};

QTEST_MAIN(CanvasTest)
#include "canvas_test.moc"
