// The final result view: the file of the chosen result-list row as the command reads it, the
// console's result list, the standard headings and the alternate gradient and banner, at both
// scales.
#include "core/display/final_result_view.h"

#include <QtTest>

#include "core/competition/view_data.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

// Category 3's final: placing "i", couple "森 / 林", club "Ci", number i.
std::string FinalFile(int rows) {
    std::string out = Sjis("第１位～第１０位　ラテン\r\n");
    for (int i = 1; i <= rows; ++i) {
        out += QString("%1").arg(i, -8).toStdString() + Sjis("森") + std::string(16, ' ') +
               Sjis("林") + std::string(16, ' ') + QString("C%1").arg(i, -26).toStdString() +
               QString("%1 - 1 1\r\n").arg(i, 4).toStdString();
    }
    return out;
}

// Result-list row 1 stands for category 3 (row 2 of the category tables).
Competition ResultState(const TestFolder& folder) {
    Competition s;
    s.DataFolder = folder.Path();
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.CategoryNames[2] = Sjis("アマチュア Ｃ級ラテンアメリカン");
    s.ResultListCategories[1] = 2;
    s.ResultListRow = 1;
    s.AwardReady = 1;
    return s;
}

std::vector<DrawRecord> Draw(Competition& s, double scale) {
    Canvas canvas(1024, 600, QStringLiteral("ScrForm.Image9"));
    canvas.SetRecording(true);
    RenderTarget t{&canvas, scale};
    ReadFinalResult(s);  // as the command does before its passes
    DrawFinalResultView(s, t);
    return canvas.TakeRecords();
}

// A text as "text@x,y face": right-aligned ones by their right end.
QString Placed(const DrawRecord& r, bool right = false) {
    return u"%1@%2,%3 %4"_s.arg(r.text).arg(right ? r.x + r.w : r.x).arg(r.y).arg(r.font);
}

}  // namespace

class FinalResultViewTest : public QObject {
    Q_OBJECT
  private slots:
    void resultList_data() {
        QTest::addColumn<int>("listRow");
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<int>("rows");  // -1: nothing read, the table kept
        QTest::newRow("ten rows, row 9 at y 162") << 1 << true << 10;
        QTest::newRow("missing file: the teal field only") << 1 << false << -1;
        QTest::newRow("no row chosen: no file read") << -1 << true << -1;
    }

    void resultList() {
        QFETCH(int, listRow);
        QFETCH(bool, fileThere);
        QFETCH(int, rows);
        TestFolder folder;
        if (fileThere) folder.WriteBytes("F_03.dat", FinalFile(10));
        Competition s = ResultState(folder);
        s.ResultListRow = listRow;
        s.ResultRowCount = 4;
        Draw(s, 1.0);
        Draw(s, 0.5);
        QCOMPARE(s.ResultRowCount, rows < 0 ? 4 : rows);

        Canvas image5(400, 164, QStringLiteral("DspMain.Image5"));
        image5.SetRecording(true);
        DrawResultList(s, image5);
        const std::vector<DrawRecord> records = image5.TakeRecords();
        QCOMPARE(records[0].points, (std::vector<QPoint>{{-5, -5}, {410, 170}}));
        QCOMPARE(records[0].brush, QColor(0, 128, 128));
        const std::vector<DrawRecord> texts = RecordsOf(records, "text");
        QStringList placed;
        for (size_t k = 0; k < texts.size(); ++k) placed << Placed(texts[k], k > 0 && k % 3 == 0);
        QStringList expected;
        if (rows > 0) expected << u"第１位～第１０位　ラテン@5,2 ＭＳ ゴシック"_s;
        for (int i = 0; i < rows; ++i) {
            const int y = 18 + 16 * i;
            expected << u"%1@4,%2 ＭＳ ゴシック"_s.arg(i + 1).arg(y)
                     << u"森 / 林@60,%1 ＭＳ Ｐゴシック"_s.arg(y)
                     << u"C%1@396,%2 ＭＳ Ｐゴシック"_s.arg(i + 1).arg(y);
        }
        QCOMPARE(placed, expected);
        for (const DrawRecord& r : texts) QVERIFY(r.size == 10 && r.color == Qt::white);
    }

    void standardLayout_data() {
        QTest::addColumn<double>("scale");
        QTest::newRow("audience: y 70, 24 points") << 1.0;
        QTest::newRow("preview: x 25, 80, 175, 440, y 35, 12 points") << 0.5;
    }

    void standardLayout() {
        QFETCH(double, scale);
        TestFolder folder;
        folder.WriteBytes("F_03.dat", FinalFile(6));
        Competition s = ResultState(folder);
        const std::vector<DrawRecord> texts = RecordsOf(Draw(s, scale), "text");
        QCOMPARE(s.ResultRowCount, 6);
        QVERIFY(FindText(texts, u"結果発表"_s) != nullptr);
        const QStringList headings{u"順 位"_s, u"背番号"_s, u"カップル"_s, u"所  属"_s};
        const int xs[4] = {50, 160, 350, 880};
        for (int k = 0; k < 4; ++k) {
            const DrawRecord& r = texts[texts.size() - 4 + k];
            QCOMPARE(r.text, headings[k]);
            QCOMPARE(QPoint(r.x, r.y), QPoint(int(xs[k] * scale), int(70 * scale)));
            QVERIFY(r.size == int(24 * scale) && !r.bold && r.color == QColor(255, 255, 0));
            QCOMPARE(r.font, u"HGP創英角ｺﾞｼｯｸUB"_s);
        }
    }

    void alternateLayout_data() {
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("listRow");
        QTest::newRow("audience") << 1.0 << 1;
        QTest::newRow("preview") << 0.5 << 1;
        QTest::newRow("no row chosen: empty name") << 1.0 << -1;
    }

    void alternateLayout() {
        QFETCH(double, scale);
        QFETCH(int, listRow);
        TestFolder folder;
        folder.WriteBytes("F_03.dat", FinalFile(3));
        Competition s = ResultState(folder);
        s.AltResultLayout = 1;
        s.ResultListRow = listRow;
        const std::vector<DrawRecord> records = Draw(s, scale);
        QCOMPARE(s.ResultRowCount, listRow < 0 ? 0 : 3);

        // 192 bands of target pixels at both scales, g = 121 - i / 2.
        for (int i : {0, 1, 2, 149, 190, 191}) {
            QCOMPARE(records[i].points, (std::vector<QPoint>{{0, 4 * i}, {1024, 4 * i + 4}}));
            QCOMPARE(records[i].brush, QColor(3, 121 - i / 2, 0));
            QCOMPARE(records[i].pen, records[i].brush);
        }
        const struct {
            const char* op;
            QColor color;
            std::vector<QPoint> points;  // design units
        } banner[] = {
            {"polygon", QColor(255, 168, 0), {{85, 10}, {800, 10}, {800, 25}, {70, 25}}},
            {"ellipse", QColor(255, 168, 0), {{790, 10}, {810, 40}}},
            {"polygon", QColor(255, 170, 0), {{70, 25}, {810, 25}, {810, 45}, {50, 45}}},
            {"polygon", QColor(255, 172, 0), {{50, 45}, {810, 45}, {810, 65}, {30, 65}}},
            {"ellipse", QColor(255, 176, 0), {{30, 65}, {45, 80}}},
            {"rectangle", QColor(255, 176, 0), {{30, 65}, {801, 70}}},
            {"rectangle", QColor(255, 176, 0), {{38, 70}, {801, 80}}},
            {"ellipse", QColor(255, 176, 0), {{790, 50}, {810, 80}}},
            {"text", QColor(255, 171, 0), {}},
            {"ellipse", QColor(57, 12, 255), {{25, 6}, {45, 26}}},
            {"polygon",
             QColor(57, 12, 255),
             {{78, 6}, {55, 30}, {25, 30}, {25, 16}, {35, 16}, {35, 6}}},
            {"polygon", QColor(49, 232, 2), {{55, 30}, {25, 60}, {25, 30}}},
            {"polyline", QColor(244, 246, 248), {{26, 16}, {26, 60}, {78, 8}}},
        };
        QCOMPARE(records.size(), size_t(192 + std::size(banner)));
        for (size_t k = 0; k < std::size(banner); ++k) {
            const DrawRecord& r = records[192 + k];
            QCOMPARE(r.op, QString::fromLatin1(banner[k].op));
            QCOMPARE(r.brush, banner[k].color);
            std::vector<QPoint> scaled;
            for (const QPoint& p : banner[k].points)
                scaled.emplace_back(int(p.x() * scale), int(p.y() * scale));
            if (r.op != u"text"_s) QCOMPARE(r.points, scaled);
        }
        QCOMPARE(records.back().penWidth, int(2 * scale));
        const DrawRecord& name = records[192 + 8];
        QCOMPARE(name.text, listRow < 0 ? QString() : u"アマチュア Ｃ級ラテンアメリカン"_s);
        QCOMPARE(name.font, u"AR P隷書体M"_s);
        QCOMPARE(name.color, QColor(Qt::black));
        QCOMPARE(QPoint(name.x, name.y), QPoint(int(85 * scale), int(45 * scale - name.h / 2)));
        QVERIFY(name.size <= int(36 * scale) && name.w < int(700 * scale));
    }
};

QTEST_MAIN(FinalResultViewTest)
#include "final_result_view_test.moc"
