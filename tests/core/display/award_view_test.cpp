// The award view: the rows each step reveals in the three orders, the plain rows under the
// headings, the stop at a number that is not an integer, and the decorated plates.
#include "core/display/award_view.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RevealOrder)

namespace {

// `rows` result rows: placing "Pi", number 10 + i, whose couple is in the couple tables.
Competition AwardState(int rows) {
    Competition s;
    s.ResultRowCount = rows;
    s.HeatIndex = 0;
    for (int i = 0; i < rows; ++i) {
        s.ResultTable[i] = {"P" + std::to_string(i), std::to_string(10 + i), Sjis("森 翔 / 林 葵"),
                            Sjis("全日本ダンススポーツ連盟東京都支部")};
        s.CoupleNames[10 + i] = Sjis("山田 太郎 / 鈴木 花子");
        s.CoupleAffiliations[10 + i] = Sjis("横浜ダンス");
    }
    return s;
}

std::vector<DrawRecord> Draw(const Competition& s, double scale, Canvas* onto = nullptr) {
    Canvas own(1024, 600, QStringLiteral("ScrForm.Image9"));
    Canvas& c = onto != nullptr ? *onto : own;
    c.SetRecording(true);
    RenderTarget t{&c, scale};
    DrawAwardView(s, t);
    return c.TakeRecords();
}

// The rows drawn as digits, by their placing texts "Pi".
QString RowsDrawn(const std::vector<DrawRecord>& records) {
    QString rows;
    for (const DrawRecord& r : RecordsOf(records, "text")) {
        if (r.text.startsWith('P')) rows += r.text.mid(1);
    }
    return rows;
}

}  // namespace

class AwardViewTest : public QObject {
    Q_OBJECT
  private slots:
    // One order per "Go !" press; the operator may change it between presses.
    void revealSteps_data() {
        QTest::addColumn<QList<RevealOrder>>("orders");
        QTest::addColumn<QStringList>("rows");  // drawn per press
        using R = RevealOrder;
        QTest::newRow("upward") << QList<R>(7, R::Upward)
                                << QStringList{"5",     "45",     "345",   "2345",
                                               "12345", "012345", "012345"};
        QTest::newRow("downward") << QList<R>(7, R::Downward)
                                  << QStringList{"0",     "01",     "012",   "0123",
                                                 "01234", "012345", "012345"};
        QTest::newRow("together") << QList<R>(2, R::Together) << QStringList{"012345", "012345"};
        QTest::newRow("order changed between presses")
            << QList<R>{R::Upward, R::Downward, R::Upward} << QStringList{"5", "01", "345"};
    }

    void revealSteps() {
        QFETCH(QList<RevealOrder>, orders);
        QFETCH(QStringList, rows);
        Competition s = AwardState(6);
        Canvas screen(1024, 600, QStringLiteral("ScrForm.Image9"));
        for (int press = 0; press < orders.size(); ++press, ++s.HeatIndex) {
            s.Reveal = orders[press];
            const std::vector<DrawRecord> records = Draw(s, 1.0, &screen);
            QCOMPARE(RowsDrawn(records), rows[press]);
            QVERIFY(RecordsOf(records, "rectangle").empty());  // earlier rows stay
        }
    }

    // Row 9 at y 470 with a Mod that changes its number; row 1 of the preview at y 75.
    void plainRow_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("number");
        QTest::newRow("row 9") << 1.0 << 9 << 470 << "4";
        QTest::newRow("row 1, preview") << 0.5 << 1 << 75 << "1";
    }

    void plainRow() {
        QFETCH(double, scale);
        QFETCH(int, row);
        QFETCH(int, y);
        QFETCH(QString, number);
        Competition s = AwardState(10);
        s.Config.Mod = 5;
        const std::vector<DrawRecord> all = RecordsOf(Draw(s, scale), "text");
        QCOMPARE(int(all.size()), 4 * 10);
        const DrawRecord* r = &all[4 * row];
        const QStringList texts{r[0].text, r[1].text, r[2].text, r[3].text};
        QCOMPARE(texts, (QStringList{u"P%1"_s.arg(row), number, u"山田 太郎 / 鈴木 花子"_s,
                                     u"横浜ダンス"_s}));
        // Placing at 30, the number right-aligned in a box of three digits centred on 200, names
        // at 280, affiliation ending at 990.
        Canvas probe(10, 10, u"probe"_s);
        probe.SetFontName(r[1].font);
        probe.SetFontSize(r[1].size);
        const int box = probe.TextWidth(u"000"_s);
        const QList<int> anchors{r[0].x, r[1].x + r[1].w, r[2].x, r[3].x + r[3].w};
        QCOMPARE(anchors, (QList<int>{int(30 * scale), int(200 * scale - box / 2) + box,
                                      int(280 * scale), int(990 * scale)}));
        for (int k = 0; k < 4; ++k) {
            QVERIFY(r[k].y == y && r[k].size == int(26 * scale) && r[k].bold == (k == 0));
            QCOMPARE(r[k].color, row % 2 == 0 ? QColor(Qt::white) : QColor(141, 243, 241));
            QCOMPARE(r[k].font, k == 0 ? u"ＭＳ ゴシック"_s : u"HGP創英角ｺﾞｼｯｸUB"_s);
        }
    }

    // A number that is not an integer stops the plain rows after its placing, and the console
    // reports it without advancing; a negative number shows no names; decorated rows draw text.
    void numberText_data() {
        QTest::addColumn<QString>("numberText");
        QTest::addColumn<int>("alternate");
        QTest::addColumn<int>("texts");
        QTest::addColumn<bool>("reported");
        QTest::newRow("empty") << "" << 0 << 9 << true;
        QTest::newRow("text") << "1a" << 0 << 9 << true;
        QTest::newRow("negative: no names") << "-5" << 0 << 16 << false;
        QTest::newRow("decorated rows never convert") << "" << 1 << 16 << false;
    }

    void numberText() {
        QFETCH(QString, numberText);
        QFETCH(int, alternate);
        QFETCH(int, texts);
        QFETCH(bool, reported);
        Competition s = AwardState(4);
        s.AltResultLayout = alternate;
        s.ResultTable[2].NumberText = numberText.toStdString();
        s.HeatIndex = 3;
        const std::vector<DrawRecord> drawn = RecordsOf(Draw(s, 1.0), "text");
        QCOMPARE(int(drawn.size()), texts);
        if (!alternate && !reported) QVERIFY(drawn[10].text.isEmpty() && drawn[11].text.isEmpty());
        const std::optional<std::string> bad = InvalidAwardNumber(s);
        QCOMPARE(bad.has_value(), reported);
        if (reported) {
            QCOMPARE(AwardNumberMessage(*bad), u"'%1' は整数ではありません"_s.arg(numberText));
        }
    }

    void decoratedPitch_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("pitch");
        QTest::newRow("5 rows") << 5 << 108 << 70;
        QTest::newRow("7 rows") << 7 << 108 << 60;
        QTest::newRow("8 rows") << 8 << 108 << 55;
        QTest::newRow("9 rows: row 8 at 538") << 9 << 98 << 55;
        QTest::newRow("10 rows: the last plate on the screen") << 10 << 98 << 50;
        QTest::newRow("no rows") << 0 << 0 << 0;
    }

    void decoratedPitch() {
        QFETCH(int, rows);
        QFETCH(int, first);
        QFETCH(int, pitch);
        Competition s = AwardState(rows);
        s.AltResultLayout = 1;
        const std::vector<DrawRecord> records = Draw(s, 1.0);
        QList<int> plates, expected;
        for (const DrawRecord& r : RecordsOf(records, "rectangle")) {
            if (r.brush == QColor(0, 96, 144)) plates << r.points[0].y();
        }
        for (int b = 0; b < rows; ++b) expected << first + b * pitch;
        QCOMPARE(plates, expected);
        QCOMPARE(records.empty(), rows == 0);
    }

    // One plate in the preview: number, couple, placing and club on their tags, fitted.
    void decoratedRow() {
        const Competition s = AwardState(5);
        Canvas canvas(512, 300, QStringLiteral("DspMain.Image1"));
        canvas.SetRecording(true);
        RenderTarget t{&canvas, 0.5};
        DrawDecoratedAwardRow(s, t, 1);  // top 178
        const std::vector<DrawRecord> r = RecordsOf(canvas.TakeRecords(), "text");
        QCOMPARE(int(r.size()), 4);
        QCOMPARE(r[0].text, u"11"_s);
        const QList<QPoint> anchors{{r[0].x + r[0].w / 2, r[0].y + r[0].h / 2},
                                    {r[1].x, r[1].y + r[1].h / 2},
                                    {r[2].x + r[2].w / 2, r[2].y},
                                    {r[3].x + r[3].w, r[3].y + r[3].h / 2}};
        QCOMPARE(anchors, (QList<QPoint>{{95, 99}, {120, 99}, {37, 92}, {490, 99}}));
        QVERIFY(r[0].color == QColor(0, 255, 255) && r[0].size == 13);
        QVERIFY(r[1].size <= 12 && r[1].w < 280);
        QVERIFY(r[2].brush == QColor(232, 232, 232) && r[2].size == 11);
        QVERIFY(r[3].brush == QColor(43, 43, 43) && r[3].size < 10 && r[3].w < 80);
    }
};

QTEST_MAIN(AwardViewTest)
#include "award_view_test.moc"
