#include "core/display/title_banner.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

Competition BannerState(const QStringList& lines) {
    Competition s;
    s.Config.TopFont = Sjis("AR P隷書体M");
    for (int i = 0; i < 3; ++i) s.Config.TopTitleLines[i] = ToCp932(lines.value(i));
    return s;
}

std::vector<DrawRecord> DrawPass(const Competition& s, double scale) {
    Canvas canvas(860, 170, QStringLiteral("ScrForm.Image3"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    DrawTitleBannerPass(s, t);
    return canvas.TakeRecords();
}

// Every drawn (non-empty) text, in order.
std::vector<DrawRecord> Texts(const std::vector<DrawRecord>& all) {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : RecordsOf(all, "text")) {
        if (!r.text.isEmpty()) out.push_back(r);
    }
    return out;
}

}  // namespace

class TitleBannerTest : public QObject {
    Q_OBJECT

  private slots:
    void placesLines_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("drawn");
        QTest::addColumn<QList<int>>("centres");
        const QString l1 = QStringLiteral(u"第１回 ダンス選手権");
        const QString l2 = QStringLiteral(u"主催 ダンス連盟");
        const QString l3 = QStringLiteral(u"市民体育館");
        const QString hidden2 = QStringLiteral(u"#1 後援");
        const QString hidden3 = QStringLiteral(u"協賛 #2");
        for (double scale : {1.0, 0.5}) {
            const QByteArray s = scale == 1.0 ? "1.0" : "0.5";
            QTest::newRow("three lines " + s) << scale << QStringList{l1, l2, l3}
                                              << QStringList{l1, l2, l3} << QList<int>{35, 85, 130};
            QTest::newRow("two lines sit lower " + s) << scale << QStringList{l1, l2, QString()}
                                                      << QStringList{l1, l2} << QList<int>{55, 105};
            QTest::newRow("#1 leaves the middle place empty " + s)
                << scale << QStringList{l1, hidden2, l3} << QStringList{l1, l3}
                << QList<int>{35, 130};
            QTest::newRow("#2 hides the third line, places stay " + s)
                << scale << QStringList{l1, l2, hidden3} << QStringList{l1, l2}
                << QList<int>{35, 85};
        }
    }

    void placesLines() {
        QFETCH(double, scale);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, drawn);
        QFETCH(QList<int>, centres);
        const auto records = DrawPass(BannerState(lines), scale);

        const auto rects = RecordsOf(records, "rectangle");
        QCOMPARE(rects.size(), size_t(1));
        QCOMPARE(rects[0].points[1], QPoint(int(860 * scale), int(170 * scale)));
        QCOMPARE(rects[0].brush, QColor(Qt::black));
        QCOMPARE(rects[0].pen, QColor(Qt::black));

        const auto texts = Texts(records);
        QCOMPARE(int(texts.size()), drawn.size());
        for (int i = 0; i < drawn.size(); ++i) {
            const DrawRecord& r = texts[i];
            QCOMPARE(r.text, drawn[i]);
            QCOMPARE(r.font, QStringLiteral(u"AR P隷書体M"));
            QCOMPARE(r.size, int(40 * scale));
            QCOMPARE(r.color, QColor(Qt::white));
            QCOMPARE(r.brush, QColor(Qt::black));
            QCOMPARE(r.x, int(430 * scale - r.w / 2));
            QCOMPARE(r.y, int(centres[i] * scale - r.h / 2));
        }
    }

    void shrinkingCarriesToLaterLines_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("1.0") << 1.0;
        QTest::newRow("0.5") << 0.5;
    }

    void shrinkingCarriesToLaterLines() {
        QFETCH(double, scale);
        const QString longLine =
            QStringLiteral(u"全日本ダンススポーツ選手権大会 兼 東日本ブロック選抜競技会");
        const QString shortLine = QStringLiteral(u"会場");
        const auto texts = Texts(DrawPass(BannerState({longLine, shortLine, shortLine}), scale));
        QCOMPARE(texts.size(), size_t(3));
        QVERIFY(texts[0].size < int(40 * scale));
        QVERIFY(texts[0].w < int(820 * scale));
        // The short lines would fit at 40 points, yet keep the shrunken size.
        QCOMPARE(texts[1].size, texts[0].size);
        QCOMPARE(texts[2].size, texts[0].size);

        // A long line after a short one shrinks only from there on.
        const auto later = Texts(DrawPass(BannerState({shortLine, longLine, shortLine}), scale));
        QCOMPARE(later[0].size, int(40 * scale));
        QCOMPARE(later[1].size, texts[0].size);
        QCOMPARE(later[2].size, texts[0].size);
    }

    void drawsAudienceThenPreview() {
        const Competition s = BannerState({QStringLiteral("A"), QStringLiteral("B"), QString()});
        Canvas audience(860, 170, QStringLiteral("ScrForm.Image3"));
        Canvas preview(430, 84, QStringLiteral("DspMain.Image2"));
        audience.SetRecording(true);
        preview.SetRecording(true);
        DrawTitleBanner(s, audience, preview);
        const auto a = audience.TakeRecords();
        const auto p = preview.TakeRecords();
        QCOMPARE(RecordsOf(a, "rectangle")[0].points[1], QPoint(860, 170));
        QCOMPARE(RecordsOf(p, "rectangle")[0].points[1], QPoint(430, 85));
        QCOMPARE(FindText(a, QStringLiteral("A"))->size, 40);
        QCOMPARE(FindText(p, QStringLiteral("A"))->size, 20);
        QCOMPARE(preview.Image().pixelColor(10, 10), QColor(Qt::black));
    }
};

QTEST_MAIN(TitleBannerTest)
#include "title_banner_test.moc"
