#include "core/display/header.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

const QColor kNowAccent(128, 255, 160);
const QColor kNextAccent(166, 202, 240);
const QColor kWhite(Qt::white);
constexpr int kRight = -1;  // x of a text right-aligned at 990

struct ExpectedText {
    QString text;
    int x;
    int y;
    QColor color;
};

// Events: 0 one floor (category 1, round 1); 1 two floors (category 2 semi-final, floor B 205 in
// category 3 final); 2 a floor-B label without a floor-B category; 3 two floors with floor B 105,
// whose own record 4 follows; 98 two floors with floor B 199, the last row 99 of the table.
Competition HeaderState() {
    Competition s;
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.CategoryCount = 3;
    const char* names[3] = {"ジュニア ラテン", "シニア スタンダード", "ライジングスター"};
    const char* shortNames[3] = {"Jr.ラテン", "Sr.スタンダード", "RS"};
    for (int c = 0; c < 3; ++c) {
        s.CategoryNames[c] = Sjis(names[c]);
        s.CategoryShortNames[c] = Sjis(shortNames[c]);
    }
    s.CategoryRedance[1] = 1;
    s.EventCount = 6;
    s.EventNames[0] = "101";
    s.EventTable[0] = EventRecord({.category = 1, .round = 1});
    s.EventNames[1] = "102";
    s.EventTable[1] = EventRecord({.category = 2,
                                   .round = 2,
                                   .floorBEvent = 205,
                                   .floorBCategory = 3,
                                   .floorBRound = 7});  // redance category: "リダンス"
    s.EventNames[2] = "103";
    s.EventTable[2] = EventRecord({.category = 3, .round = 6, .floorBEvent = 300});
    s.EventNames[3] = "104";
    s.EventTable[3] = EventRecord(
        {.category = 1, .round = 1, .floorBEvent = 105, .floorBCategory = 3, .floorBRound = 7});
    s.EventNames[4] = "105";
    s.EventTable[4] = EventRecord({.category = 3, .round = 7});
    s.EventNames[5] = "106";
    s.EventTable[5] = EventRecord({.category = 2, .round = 6});
    s.EventNames[98] = "198";
    s.EventTable[98] = EventRecord(
        {.category = 1, .round = 1, .floorBEvent = 199, .floorBCategory = 1, .floorBRound = 7});
    s.EventNames[99] = "199";
    s.EventTable[99] = EventRecord({.category = 1, .round = 7});
    return s;
}

std::vector<DrawRecord> Draw(Competition& s, HeaderMode mode, double scale) {
    Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    DrawHeader(s, t, mode);
    return canvas.TakeRecords();
}

}  // namespace

Q_DECLARE_METATYPE(HeaderMode)
Q_DECLARE_METATYPE(QList<ExpectedText>)

class HeaderTest : public QObject {
    Q_OBJECT

  private slots:
    void texts_data() {
        QTest::addColumn<HeaderMode>("mode");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("secondFloorFinal");
        QTest::addColumn<QList<ExpectedText>>("expected");
        const QString jr = QStringLiteral(u"ジュニア ラテン");
        const QString rs = QStringLiteral(u"ライジングスター");
        QTest::newRow("now, one floor")
            << HeaderMode::Now << 0 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. 101"), 20, 64, kWhite},
                                   {QStringLiteral(u" 現 在  :   ") + jr, 20, 14, kNowAccent},
                                   {QStringLiteral(u"１次予選"), kRight, 64, kNowAccent}};
        QTest::newRow("next, one floor")
            << HeaderMode::Next << -1 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. 101"), 20, 700, kWhite},
                                   {QStringLiteral(u" 次競技 :   ") + jr, 20, 650, kNextAccent},
                                   {QStringLiteral(u"１次予選"), kRight, 700, kNextAccent}};
        const QList<ExpectedText> twoFloors{
            {QStringLiteral(u" 現 在 : "), 20, 14, kNowAccent},
            {QStringLiteral("[A] No. 102"), 180, 14, kNowAccent},
            {QStringLiteral(u"Sr.スタンダード"), 420, 14, kNowAccent},
            {QStringLiteral(u"リダンス"), kRight, 14, kNowAccent},
            {QStringLiteral("[B] No. 205"), 180, 64, kNowAccent},
            {QStringLiteral("RS"), 420, 64, kNowAccent},
            {QStringLiteral(u"決　勝"), kRight, 64, kNowAccent}};
        QTest::newRow("now, two floors") << HeaderMode::Now << 1 << 0 << twoFloors;
        QList<ExpectedText> nextTwoFloors = twoFloors;
        nextTwoFloors[0].text = QStringLiteral(u" 次競技 : ");
        for (ExpectedText& e : nextTwoFloors) {
            e.color = kNextAccent;
            e.y += 636;
        }
        QTest::newRow("next, two floors") << HeaderMode::Next << 0 << 0 << nextTwoFloors;
        QTest::newRow("floor-B label without category: one floor")
            << HeaderMode::Now << 2 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. 103"), 20, 64, kWhite},
                                   {QStringLiteral(u" 現 在  :   ") + rs, 20, 14, kNowAccent},
                                   {QStringLiteral(u"準決勝"), kRight, 64, kNowAccent}};
        QTest::newRow("heat list")
            << HeaderMode::HeatList << 0 << 0
            << QList<ExpectedText>{{QLatin1Char(' ') + jr, 20, 14, kNowAccent},
                                   {QStringLiteral(u"１次予選"), kRight, 14, kNowAccent}};
        QTest::newRow("result of floor B's final")
            << HeaderMode::Result << 1 << 1
            << QList<ExpectedText>{{QLatin1Char(' ') + rs, 20, 14, kNowAccent},
                                   {QStringLiteral(u"結果発表"), kRight, 14, kNowAccent}};
        QTest::newRow("result without a current event")
            << HeaderMode::Result << -1 << 0
            << QList<ExpectedText>{{QStringLiteral(" "), 20, 14, kNowAccent},
                                   {QStringLiteral(u"結果発表"), kRight, 14, kNowAccent}};
        QTest::newRow("next after the last row is empty")
            << HeaderMode::Next << 99 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. "), 20, 700, kWhite},
                                   {QStringLiteral(u" 次競技 :   "), 20, 650, kNextAccent},
                                   {QStringLiteral("---"), kRight, 700, kNextAccent}};
        // The record of the event running on floor B is not announced as the next one.
        QTest::newRow("next passes over floor B's own record")
            << HeaderMode::Next << 3 << 0
            << QList<ExpectedText>{
                   {QStringLiteral(" No. 106"), 20, 700, kWhite},
                   {QStringLiteral(u" 次競技 :   シニア スタンダード"), 20, 650, kNextAccent},
                   {QStringLiteral(u"準決勝"), kRight, 700, kNextAccent}};
        QTest::newRow("next without a record of floor B")
            << HeaderMode::Next << 1 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. 103"), 20, 700, kWhite},
                                   {QStringLiteral(u" 次競技 :   ") + rs, 20, 650, kNextAccent},
                                   {QStringLiteral(u"準決勝"), kRight, 700, kNextAccent}};
        QTest::newRow("next passes over floor B's record in the last row")
            << HeaderMode::Next << 98 << 0
            << QList<ExpectedText>{{QStringLiteral(" No. "), 20, 700, kWhite},
                                   {QStringLiteral(u" 次競技 :   "), 20, 650, kNextAccent},
                                   {QStringLiteral("---"), kRight, 700, kNextAccent}};
        QTest::newRow("judges draw no text")
            << HeaderMode::Judges << 0 << 0 << QList<ExpectedText>{};
    }

    void texts() {
        QFETCH(HeaderMode, mode);
        QFETCH(int, current);
        QFETCH(int, secondFloorFinal);
        QFETCH(QList<ExpectedText>, expected);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeaderState();
            s.CurrentEventIndex = current;
            s.SecondFloorFinal = secondFloorFinal;
            // No row of the result list chosen: a result names the current event's category
            // (the chosen row's category: long_names_test).
            s.ResultListRow = -1;
            const auto texts = RecordsOf(Draw(s, mode, scale), "text");
            QCOMPARE(int(texts.size()), expected.size());
            for (int i = 0; i < expected.size(); ++i) {
                const DrawRecord& r = texts[i];
                const ExpectedText& e = expected[i];
                QCOMPARE(r.text, e.text);
                QCOMPARE(r.color, e.color);
                QCOMPARE(r.font, QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB"));
                QCOMPARE(r.size, int(28 * scale));
                QCOMPARE(r.y, int(e.y * scale));
                QCOMPARE(r.x, e.x == kRight ? int(990 * scale - r.w) : int(e.x * scale));
                // Drawn on the Base Color of the clear; Next inherits the Now header's brush.
                if (mode != HeaderMode::Next) QCOMPARE(r.brush, QColor(0, 64, 0));
            }
        }
    }

    void rules_data() {
        QTest::addColumn<HeaderMode>("mode");
        QTest::addColumn<bool>("clears");
        QTest::addColumn<int>("solidY");
        QTest::addColumn<int>("dashes");
        QTest::newRow("now") << HeaderMode::Now << true << 630 << 0;
        QTest::newRow("next") << HeaderMode::Next << false << 120 << 49;
        QTest::newRow("judges") << HeaderMode::Judges << true << 60 << 0;
        QTest::newRow("heat list") << HeaderMode::HeatList << true << 60 << 0;
        QTest::newRow("result") << HeaderMode::Result << true << 60 << 0;
    }

    void rules() {
        QFETCH(HeaderMode, mode);
        QFETCH(bool, clears);
        QFETCH(int, solidY);
        QFETCH(int, dashes);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeaderState();
            s.CurrentEventIndex = 0;
            const auto records = Draw(s, mode, scale);
            const auto rects = RecordsOf(records, "rectangle");
            QCOMPARE(rects.size(), size_t(clears ? 1 : 0));
            if (clears) QCOMPARE(records.front().op, QStringLiteral("rectangle"));

            const auto lines = RecordsOf(records, "line");
            QCOMPARE(int(lines.size()), 1 + dashes);
            const int s20 = int(20 * scale);
            QCOMPARE(lines[0].points[0], QPoint(s20, int(solidY * scale)));
            QCOMPARE(lines[0].points[1], QPoint(int(999 * scale), int(solidY * scale)));
            for (const DrawRecord& l : lines) QCOMPARE(l.pen, QColor(Qt::white));
            for (int i = 0; i < dashes; ++i) {
                const int x0 = 20 + 20 * i;
                QCOMPARE(lines[1 + i].points[0], QPoint(int(x0 * scale), int(375 * scale)));
                QCOMPARE(lines[1 + i].points[1], QPoint(int((x0 + 10) * scale), int(375 * scale)));
            }
            if (dashes > 0) QCOMPARE(lines.back().points[0].x(), int(980 * scale));
        }
    }

    void keepsStyleAndPenWidth() {
        Competition s = HeaderState();
        s.CurrentEventIndex = 0;
        Canvas canvas(512, 384, QStringLiteral("DspMain.ImageW"));
        canvas.SetBold(true);
        canvas.SetPenWidth(3);
        RenderTarget t{&canvas, 0.5};
        DrawHeader(s, t, HeaderMode::Now);
        QVERIFY(canvas.Bold());
        QCOMPARE(canvas.PenWidth(), 3);
        QCOMPARE(canvas.FontSize(), 14);
    }
};

QTEST_MAIN(HeaderTest)
#include "header_test.moc"
