// The renderer frame: scaling and fitting rules, the welcome screen, and the two passes with the
// hold that freezes the audience screen.
#include "core/display/renderer.h"

#include <QtTest>

#include "core/competition/view_types.h"
#include "core/display/clean_view.h"
#include "core/display/title_banner.h"
#include "core/display/welcome_view.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

struct FakeHost : RendererHost {
    QStringList calls;
    void ShowAudienceSurface(bool wide) override {
        calls << (wide ? "audience wide" : "audience normal");
    }
    void ShowPreviewSurface(bool wide) override {
        calls << (wide ? "preview wide" : "preview normal");
    }
};

struct Frame {
    Competition state;
    Canvas audienceNormal{1024, 600, "ScrForm.Image9"};
    Canvas previewNormal{512, 300, "DspMain.Image1"};
    Canvas audienceWide{1024, 768, "ScrForm.ImageW"};
    Canvas previewWide{512, 384, "DspMain.ImageW"};
    FakeHost host;
    Renderer renderer{state};
    Frame() {
        renderer.Bind({&audienceNormal, &previewNormal, &audienceWide, &previewWide}, &host);
        for (Canvas* c : {&audienceNormal, &previewNormal, &audienceWide, &previewWide}) {
            c->SetRecording(true);
        }
    }
    void Clear() {
        for (Canvas* c : {&audienceNormal, &previewNormal, &audienceWide, &previewWide}) {
            c->TakeRecords();
        }
        host.calls.clear();
    }
};

}  // namespace

class RendererTest : public QObject {
    Q_OBJECT
  private slots:
    void scaledTruncatesTowardZero_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("v");
        QTest::addColumn<int>("expected");
        QTest::newRow("999 at half") << 0.5 << 999 << 499;
        QTest::newRow("1 at half") << 0.5 << 1 << 0;
        QTest::newRow("-3 at half") << 0.5 << -3 << -1;
        QTest::newRow("28 at half") << 0.5 << 28 << 14;
        QTest::newRow("1024 full") << 1.0 << 1024 << 1024;
    }
    void scaledTruncatesTowardZero() {
        QFETCH(double, scale);
        QFETCH(int, v);
        QFETCH(int, expected);
        RenderTarget t{nullptr, scale};
        QCOMPARE(t.Scaled(v), expected);
    }

    void alignmentTruncatesOnce() {
        RenderTarget t{nullptr, 0.5};
        // 500 * 0.5 - 101 / 2 = 250 - 50
        QCOMPARE(t.CenteredX(500, 101), 200);
        // 45 * 0.5 - 25 / 2 = 22.5 - 12 = 10.5 -> 10
        QCOMPARE(t.CenteredY(45, 25), 10);
        // 990 * 0.5 - 37 = 458
        QCOMPARE(t.RightX(990, 37), 458);
        RenderTarget small{nullptr, 0.5};
        // negative results truncate toward zero: 1 * 0.5 - 3 = -2.5 -> -2
        QCOMPARE(small.RightX(1, 3), -2);
    }

    void fitFontToWidthStepsAndStopsAtZero() {
        Canvas c(100, 100, "T");
        RenderTarget t{&c, 1.0};
        c.SetFontName(QString::fromUtf8("HG丸ｺﾞｼｯｸM-PRO"));
        const QString text = QString::fromUtf8("全日本ダンススポーツ選手権大会");
        c.SetFontSize(40);
        const int widthAt40 = c.TextWidth(text);
        FitFontToWidth(t, text, 2000);
        QCOMPARE(c.FontSize(), 40);  // fits: unchanged
        const int limit = widthAt40 * 3 / 4;
        FitFontToWidth(t, text, limit);
        QVERIFY(c.FontSize() < 40);
        QVERIFY(c.TextWidth(text) < limit);
        c.SetFontSize(c.FontSize() + 1);
        QVERIFY(c.TextWidth(text) >= limit);  // one point more would not fit: stepped by one
        FitFontToWidth(t, text, 0);
        QCOMPARE(c.FontSize(), 0);  // never fits: stops at 0 instead of looping
        c.SetFontSize(-3);
        FitFontToWidth(t, text, 0);
        QCOMPARE(c.FontSize(), -3);  // nothing smaller to go to: left as it is, no endless loop
    }

    // Texts that share a line are left alone when they fit, else condensed (to 60 % at most),
    // then smaller, until they fit together; the scope gives the font back.
    void condenseToWidth_data() {
        QTest::addColumn<int>("room");  // in widths of the texts at 100 %, percent
        QTest::addColumn<bool>("condensed");
        QTest::addColumn<bool>("smaller");
        QTest::newRow("fits") << 100 << false << false;
        QTest::newRow("condensed") << 75 << true << false;
        QTest::newRow("condensed and smaller") << 40 << true << true;
    }
    void condenseToWidth() {
        QFETCH(int, room);
        QFETCH(bool, condensed);
        QFETCH(bool, smaller);
        for (double scale : {1.0, 0.5}) {
            Canvas c(100, 100, "T");
            c.SetFontName(QString::fromUtf8("HGP創英角ｺﾞｼｯｸUB"));
            c.SetFontSize(int(30 * scale));
            RenderTarget t{&c, scale};
            const QString a = QString::fromUtf8("勅使河原 翔 / 長谷部 彩花");
            const QString b = QString::fromUtf8("宇都宮ダンススポーツ連盟");
            const int natural = c.TextWidth(a) + c.TextWidth(b);
            const int roomUnits = int(natural * room / 100 / scale);
            {
                FontFitScope fit(t);
                CondenseToWidth(t, {a, b}, roomUnits);
                QVERIFY(c.TextWidth(a) + c.TextWidth(b) <= t.Scaled(roomUnits));
                QCOMPARE(c.FontStretch() < 100, condensed);
                QCOMPARE(c.FontSize() < int(30 * scale), smaller);
                if (smaller) QCOMPARE(c.FontStretch(), kMinStretch);
            }
            QCOMPARE(QPair(c.FontSize(), c.FontStretch()), QPair(int(30 * scale), 100));
        }
    }

    // The fit ends where stepping down one point at a time ends, whatever the face, the text,
    // the scale and the room.
    void fitFontToWidthEndsWhereSteppingEnds() {
        const char* const faces[] = {"HG丸ｺﾞｼｯｸM-PRO", "AR P隷書体M", "HGP創英角ｺﾞｼｯｸUB",
                                     "ＭＳ ゴシック", "Microsoft Sans Serif"};
        const QString texts[] = {QString::fromUtf8("第５０回 全日本ダンス選手権大会 髙﨑"),
                                 QStringLiteral("Jr. Latin 105"), QString::fromUtf8("ワ")};
        Canvas c(100, 100, "T");
        for (const char* face : faces) {
            c.SetFontName(QString::fromUtf8(face));
            for (const QString& text : texts) {
                for (double scale : {1.0, 0.5}) {
                    RenderTarget t{&c, scale};
                    for (int start : {40, 17}) {
                        for (int limit : {900, 560, 160, 30, 1}) {
                            int stepped = start;
                            c.SetFontSize(stepped);
                            while (stepped != 0 && c.TextWidth(text) >= t.Scaled(limit)) {
                                c.SetFontSize(--stepped);
                            }
                            c.SetFontSize(start);
                            FitFontToWidth(t, text, limit);
                            QVERIFY2(c.FontSize() == stepped,
                                     qPrintable(QStringLiteral("%1 %2 x%3 %4pt in %5: %6, not %7")
                                                    .arg(QString::fromUtf8(face), text)
                                                    .arg(scale)
                                                    .arg(start)
                                                    .arg(limit)
                                                    .arg(c.FontSize())
                                                    .arg(stepped)));
                        }
                    }
                }
            }
        }
    }

    void welcomeLines_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("audience") << 1.0;
        QTest::newRow("preview") << 0.5;
    }
    void welcomeLines() {
        QFETCH(double, scale);
        Competition s;
        s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        s.Config.WelcomeTitleLines = {Sjis("ようこそ"), Sjis("第１０回 テスト競技会"),
                                      Sjis("主催 テスト連盟")};
        Canvas c(1024, 600, "T");
        c.SetRecording(true);
        RenderTarget t{&c, scale};
        DrawWelcomeView(s, t);
        const auto records = c.TakeRecords();
        const auto fills = RecordsOf(records, "rectangle");
        QCOMPARE(fills.size(), size_t(1));
        QCOMPARE(fills[0].points[1], QPoint(t.Scaled(1024), t.Scaled(768)));
        QCOMPARE(fills[0].brush, QColor(0, 64, 0));
        const auto texts = RecordsOf(records, "text");
        QCOMPARE(texts.size(), size_t(3));
        const int sizes[3] = {40, 36, 34};
        const int ys[3] = {140, 260, 380};
        const QColor colors[3] = {QColor(0, 255, 255), QColor(255, 255, 0), QColor(Qt::white)};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(texts[i].size, t.Scaled(sizes[i]));
            QCOMPARE(texts[i].y, t.Scaled(ys[i]));
            QCOMPARE(texts[i].color, colors[i]);
            QCOMPARE(texts[i].brush, QColor(0, 64, 0));
            QCOMPARE(texts[i].x, static_cast<int>(500 * scale - texts[i].w / 2));
            QCOMPARE(texts[i].font, QString::fromUtf8("HG丸ｺﾞｼｯｸM-PRO"));
        }
    }

    void welcomeLineWiderThan900Shrinks() {
        Competition s;
        s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        s.Config.WelcomeTitleLines[0] =
            Sjis("とても長いようこそのタイトルが画面の幅を超えてしまう場合のテスト行です");
        Canvas c(1024, 600, "T");
        c.SetRecording(true);
        RenderTarget t{&c, 1.0};
        DrawWelcomeView(s, t);
        const auto texts = RecordsOf(c.TakeRecords(), "text");
        QVERIFY(texts[0].size < 40);
        QVERIFY(texts[0].w < 900);
        QCOMPARE(texts[1].size, 36);  // each line starts from its own size
    }

    void twoPassesAndSurfaces() {
        Frame f;
        f.renderer.RenderView(kViewWelcome);
        QVERIFY(!f.audienceNormal.Records().empty());
        QVERIFY(!f.previewNormal.Records().empty());
        // The surfaces are chosen once per drawing, before its passes.
        QCOMPARE(f.host.calls, (QStringList{"audience normal", "preview normal"}));
        f.Clear();
        f.renderer.RenderView(kViewHeat);
        QVERIFY(f.audienceNormal.Records().empty());
        QVERIFY(!f.audienceWide.Records().empty() || f.host.calls.contains("audience wide"));
        QVERIFY(f.host.calls.contains("audience wide"));
        QVERIFY(f.host.calls.contains("preview wide"));
        f.Clear();
        f.renderer.RenderView(42);  // unknown type: nothing drawn
        QVERIFY(f.audienceNormal.Records().empty());
    }

    void holdDrawsThePreviewOnly() {
        Frame f;
        f.renderer.RenderView(kViewClean);
        f.Clear();
        f.state.HoldScreen = 1;
        // A switch from the normal to the wide surface and back leaves the audience untouched.
        for (int type : {kViewHeat, kViewWelcome, kViewClean}) {
            f.renderer.RenderView(type);
            QVERIFY(f.audienceNormal.Records().empty());
            QVERIFY(f.audienceWide.Records().empty());
            QVERIFY(!f.host.calls.contains("audience wide"));
            QVERIFY(!f.host.calls.contains("audience normal"));
        }
        QVERIFY(f.host.calls.contains("preview wide"));
        QVERIFY(!f.previewNormal.Records().empty());
        f.Clear();
        f.state.HoldScreen = 0;
        f.renderer.RenderView(kViewWelcome);
        QVERIFY(!f.audienceNormal.Records().empty());
        QVERIFY(f.host.calls.contains("audience normal"));
    }

    // The hall's picture is told drawn once, between the passes, before the preview is drawn;
    // while held, after the preview (the hall's picture stays).
    void hallDrawnOnceBeforeThePreview() {
        for (const int hold : {0, 1}) {
            Frame f;
            f.state.HoldScreen = hold;
            int told = 0;
            f.renderer.RenderView(kViewWelcome, [&] {
                ++told;
                QCOMPARE(f.audienceNormal.Records().empty(), hold == 1);
                QCOMPARE(f.previewNormal.Records().empty(), hold == 0);
            });
            QCOMPARE(told, 1);
        }
    }

    // The canvas keeps what the last drawing left: these pictures set font name, size and colour
    // and the pen and brush colours, but never the font style or the pen width.
    void inheritStyleAndPenWidth_data() {
        QTest::addColumn<int>("picture");  // a view type on the normal surface; -1 the banner
        QTest::addColumn<double>("scale");
        for (double scale : {1.0, 0.5}) {
            const QByteArray at = scale == 1.0 ? " 1.0" : " 0.5";
            QTest::newRow("clean" + at) << kViewClean << scale;
            QTest::newRow("welcome" + at) << kViewWelcome << scale;
            QTest::newRow("progress message" + at) << kViewProgressMessage << scale;
            QTest::newRow("title banner" + at) << -1 << scale;
        }
    }
    void inheritStyleAndPenWidth() {
        QFETCH(int, picture);
        QFETCH(double, scale);
        Competition s;
        s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        s.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
        s.Config.TopFont = Sjis("AR P隷書体M");
        s.Config.WelcomeTitleLines = {Sjis("ようこそ"), Sjis("競技会"), Sjis("会場")};
        s.Config.TopTitleLines = {Sjis("競技会"), Sjis("会場"), Sjis("主催")};
        s.ProgrammeCount = 2;
        s.ProgrammeCodes = {"101", "102"};
        s.ProgrammeTexts = {Sjis("ジュニア 決勝"), Sjis("シニア 決勝")};
        Canvas c(1024, 600, "T");
        c.SetFontName(QStringLiteral("Microsoft Sans Serif"));
        c.SetFontSize(17);
        c.SetFontColor(Qt::red);
        c.SetBold(true);
        c.SetPenWidth(3);
        c.SetRecording(true);
        RenderTarget t{&c, scale};
        if (picture < 0) {
            DrawTitleBannerPass(s, t);
        } else {
            DrawViewType(picture, s, t);
        }
        QCOMPARE(c.PenWidth(), 3);
        QVERIFY(c.Bold());
        const auto records = c.TakeRecords();
        for (const DrawRecord& r : RecordsOf(records, "text")) QVERIFY(r.bold);
        for (const DrawRecord& r : RecordsOf(records, "line")) QCOMPARE(r.penWidth, 3);
        if (picture == kViewClean) {
            // The clean screen touches only the pen and brush colours.
            QCOMPARE(c.FontName(), QStringLiteral("Microsoft Sans Serif"));
            QCOMPARE(c.FontSize(), 17);
            QCOMPARE(c.FontColor(), QColor(Qt::red));
        } else {
            QVERIFY(!RecordsOf(records, "text").empty());
        }
    }

    void baseColorIsBgr() {
        QCOMPARE(BgrColor(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(BgrColor(0xFF0000), QColor(0, 0, 255));
        QCOMPARE(BgrColor(0x004000), QColor(0, 64, 0));
    }
};

QTEST_MAIN(RendererTest)
#include "renderer_test.moc"
