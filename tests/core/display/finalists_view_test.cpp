// The finalists view: the file of floor A's or floor B's final, the row pitch, the stop at an
// empty field, the per-row fit of names and affiliation, and numbers past 999.
#include "core/display/finalists_view.h"

#include <QtTest>

#include "core/competition/view_data.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

std::string HeatText(const QList<int>& numbers) {
    std::string line;
    for (int n : numbers) line += n == 0 ? "    " : QString("%1").arg(n, 4).toStdString();
    return line + "\r\n";
}

// Event 0: category 1's final; floor B is event 12, category 2's final. Couple n is "Cn" of "Tn".
Competition FinalistsState(const TestFolder& folder) {
    Competition s;
    s.DataFolder = folder.Path();
    s.CategoryNames[0] = Sjis("ジュニア ラテン");
    s.CategoryNames[1] = Sjis("シニア スタンダード");
    s.EventTable[0] = EventRecord({.category = 1,
                                   .round = 7,
                                   .heats = 1,
                                   .floorBEvent = 12,
                                   .floorBCategory = 2,
                                   .floorBRound = 7});
    s.CurrentEventIndex = 0;
    for (int n = 0; n < kCoupleRows; ++n) {
        s.CoupleNames[n] = "C" + std::to_string(n);
        s.CoupleAffiliations[n] = "T" + std::to_string(n);
    }
    return s;
}

// The texts below the header's rule.
std::vector<DrawRecord> ListTexts(Competition& s, double scale, QString* header = nullptr) {
    Canvas canvas(1024, 600, QStringLiteral("ScrForm.Image9"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    ReadFinalists(s);  // as the Final command does before its passes
    DrawHeatListView(s, t);
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : RecordsOf(canvas.TakeRecords(), "text")) {
        if (r.y > 60 * scale) out.push_back(r);
        if (r.y <= 60 * scale && header != nullptr && header->isEmpty()) *header = r.text;
    }
    return out;
}

}  // namespace

class FinalistsViewTest : public QObject {
    Q_OBJECT
  private slots:
    void rows_data() {
        QTest::addColumn<QList<int>>("line");
        QTest::addColumn<int>("secondFloor");
        QTest::addColumn<int>("mod");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QStringList>("rows");  // "number name" per row drawn
        QTest::addColumn<QList<int>>("ys");     // design units
        QTest::newRow("3 couples: pitch 80")
            << QList<int>{5, 7, 9} << 0 << 1000 << 1.0 << QStringList{"5 C5", "7 C7", "9 C9"}
            << QList<int>{90, 170, 250};
        QTest::newRow("6 couples: pitch 73")
            << QList<int>{1, 2, 3, 4, 5, 6} << 0 << 1000 << 1.0
            << QStringList{"1 C1", "2 C2", "3 C3", "4 C4", "5 C5", "6 C6"}
            << QList<int>{86, 159, 232, 305, 378, 451};
        QTest::newRow("8 couples: pitch 55, preview")
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8} << 0 << 1000 << 0.5
            << QStringList{"1 C1", "2 C2", "3 C3", "4 C4", "5 C5", "6 C6", "7 C7", "8 C8"}
            << QList<int>{77, 132, 187, 242, 297, 352, 407, 462};
        QTest::newRow("an empty field ends the list, spaced for all seven")
            << QList<int>{11, 12, 0, 14, 15, 16, 17, 18} << 0 << 1000 << 1.0
            << QStringList{"11 C11", "12 C12"} << QList<int>{81, 143};
        QTest::newRow("floor B's final") << QList<int>{21, 22} << 1 << 1000 << 1.0
                                         << QStringList{"21 C21", "22 C22"} << QList<int>{90, 170};
        QTest::newRow("past 999: the couple of the reduced number")
            << QList<int>{1012} << 0 << 1000 << 1.0 << QStringList{"12 C12"} << QList<int>{90};
        QTest::newRow("reduced number past the tables: no names")
            << QList<int>{1500} << 0 << 2000 << 1.0 << QStringList{"1500 "} << QList<int>{90};
    }

    void rows() {
        QFETCH(QList<int>, line);
        QFETCH(int, secondFloor);
        QFETCH(int, mod);
        QFETCH(double, scale);
        QFETCH(QStringList, rows);
        QFETCH(QList<int>, ys);
        TestFolder folder;
        // Both files are there; the command's button decides which one is shown.
        folder.WriteBytes(secondFloor ? "H_02_7.dat" : "H_01_7.dat", HeatText(line));
        folder.WriteBytes(secondFloor ? "H_01_7.dat" : "H_02_7.dat", HeatText({901, 902}));
        // Named with the floor-B event's number (12): another category's file, never read.
        folder.WriteBytes("H_12_7.dat", HeatText({903}));
        Competition s = FinalistsState(folder);
        s.SecondFloorFinal = secondFloor;
        s.Config.Mod = mod;
        QString header;
        const std::vector<DrawRecord> texts = ListTexts(s, scale, &header);
        QCOMPARE(header, secondFloor ? u" シニア スタンダード"_s : u" ジュニア ラテン"_s);
        QCOMPARE(int(texts.size()), 3 * rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const DrawRecord* r = &texts[3 * i];
            QCOMPARE(r[0].text + ' ' + r[1].text, rows[i]);
            QCOMPARE(r[0].x + r[0].w / 2, int(70 * scale));
            QCOMPARE(r[1].x, int(150 * scale));
            QCOMPARE(r[2].x + r[2].w, int(990 * scale));
            for (int k = 0; k < 3; ++k) {
                QVERIFY(r[k].y == int(ys[i] * scale) && r[k].size == int(30 * scale) && !r[k].bold);
                QCOMPARE(r[k].color, i % 2 == 0 ? QColor(128, 255, 128) : QColor(141, 243, 241));
            }
        }
    }

    // Names and affiliation wider than 820 units together: that row alone is drawn smaller.
    // Names and affiliation wider than 820 units together: that row alone is narrowed, condensed
    // first (down to 60 %), then smaller, on the row's baseline; the others stay as they are.
    void rowNarrowedAlone_data() {
        QTest::addColumn<QString>("names");
        QTest::addColumn<bool>("smaller");
        QTest::newRow("condensed") << u"長谷川 優斗之助 / 清水 葵"_s << false;
        QTest::newRow("condensed and smaller")
            << u"長谷川 優斗之助左衛門 / 清水 葵之上様御前"_s << true;
    }
    void rowNarrowedAlone() {
        QFETCH(QString, names);
        QFETCH(bool, smaller);
        TestFolder folder;
        folder.WriteBytes("H_01_7.dat", HeatText({1, 2, 3}));
        Competition s = FinalistsState(folder);
        s.CoupleNames[2] = ToCp932(names);
        s.CoupleAffiliations[2] = Sjis("全日本ダンススポーツ連盟東京都支部");
        const std::vector<DrawRecord> texts = ListTexts(s, 1.0);
        QList<QPair<int, int>> fonts;  // size, stretch
        for (const DrawRecord& r : texts) fonts << QPair(r.size, r.stretch);
        const QPair<int, int> fitted(texts[4].size, texts[4].stretch);
        const QPair<int, int> plain(30, 100);
        QCOMPARE(fonts, (QList<QPair<int, int>>{plain, plain, plain, plain, fitted, fitted, plain,
                                                plain, plain}));
        QCOMPARE(fitted.first < 30, smaller);
        QVERIFY(fitted.second < 100 && (fitted.second == 60 || !smaller));
        QVERIFY(texts[4].w + texts[5].w <= 820);
        // The smaller text keeps the row's baseline: it starts lower by the difference.
        const int lowered = qRound(Canvas::PointsToPixels(30) * 0.88) -
                            qRound(Canvas::PointsToPixels(fitted.first) * 0.88);
        QCOMPARE(texts[4].y, texts[3].y + lowered);
    }

    // Floor B without a second-floor event (never H_00_7.dat), and a missing file: header only.
    void headerOnly_data() {
        QTest::addColumn<int>("secondFloor");
        QTest::addColumn<QString>("longName");
        QTest::newRow("no floor B event") << 1 << " ";
        QTest::newRow("missing file") << 0 << u" ジュニア ラテン"_s;
    }

    void headerOnly() {
        QFETCH(int, secondFloor);
        QFETCH(QString, longName);
        TestFolder folder;
        folder.WriteBytes("H_00_7.dat", HeatText({1, 2}));
        Competition s = FinalistsState(folder);
        s.EventTable[0] = EventRecord({.category = 1, .round = 7});
        s.SecondFloorFinal = secondFloor;
        QString header;
        QVERIFY(ListTexts(s, 1.0, &header).empty());
        QCOMPARE(header, longName);
    }
};

QTEST_MAIN(FinalistsViewTest)
#include "finalists_view_test.moc"
