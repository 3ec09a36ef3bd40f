#include "display/heat_view.h"

#include <QRegularExpression>
#include <QtTest>

#include "platform/cp932.h"
#include "support/test_files.h"

namespace {

const QColor kAqua(0, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kSilver(192, 192, 192);

Competition HeatState() {
    Competition s;
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.CategoryCount = 1;
    s.CategoryNames[0] = Sjis("ジュニア ラテン");
    s.EventCount = 1;
    s.EventNames[0] = "101";
    s.EventTable[0].Ints[1] = 1;
    s.EventTable[0].Ints[2] = 1;
    s.CurrentEventIndex = 0;
    for (int d = 0; d < kDances; ++d) s.RoundDances[d] = DanceNames()[d];
    s.DanceCount = 2;
    return s;
}

// Row r holds `count` numbers 100 * (r + 1) + k, so a drawn number tells its row.
void FillRow(Competition& s, int row, int count) {
    for (int k = 0; k < count; ++k) s.HeatTable[row][k] = 100 * (row + 1) + k;
}

std::vector<DrawRecord> DrawView(Competition& s, double scale, Canvas* keep = nullptr) {
    Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
    Canvas& c = keep != nullptr ? *keep : canvas;
    c.SetRecording(true);
    RenderTarget t{&c, scale};
    DrawHeatView(s, t);
    return c.TakeRecords();
}

bool IsNumber(const DrawRecord& r) {
    static const QRegularExpression number(QStringLiteral("^ *\\d+$"));
    return r.op == QLatin1String("text") && number.match(r.text).hasMatch();
}

// The numbers drawn with their top at design y.
QStringList NumbersAt(const std::vector<DrawRecord>& records, int y, double scale) {
    QStringList out;
    for (const DrawRecord& r : records) {
        if (IsNumber(r) && r.y == int(y * scale)) out << r.text.trimmed();
    }
    return out;
}

QStringList RowNumbers(int row, int count) {
    QStringList out;
    if (row < 0) return out;
    for (int k = 0; k < count; ++k) out << QString::number(100 * (row + 1) + k);
    return out;
}

const DrawRecord& Text(const std::vector<DrawRecord>& records, const QString& text) {
    const DrawRecord* r = FindText(records, text);
    if (r == nullptr) qFatal("text not drawn: %s", qPrintable(text));
    return *r;
}

}  // namespace

class HeatViewTest : public QObject {
    Q_OBJECT

  private slots:
    void heatTitle_data() {
        QTest::addColumn<int>("shuffled");
        QTest::addColumn<int>("perDance");
        QTest::addColumn<int>("heatCount");
        QTest::addColumn<int>("namesShown");
        QTest::addColumn<int>("danceIndex");
        QTest::addColumn<int>("danceCount");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << 0 << 3 << 3 << 0 << 0 << 2 << 1 << "Heat-2";
        QTest::newRow("dance name shown")
            << 0 << 3 << 3 << 1 << 1 << 2 << 1 << "Heat-2    [ Tango ]";
        QTest::newRow("one heat never named") << 0 << 1 << 1 << 1 << 1 << 2 << 0 << "Heat-1";
        QTest::newRow("shuffled, first dance")
            << 1 << 3 << 6 << 0 << 0 << 2 << 2 << "Heat-3    [ Waltz ]";
        QTest::newRow("shuffled, second dance's block")
            << 1 << 3 << 6 << 0 << 0 << 2 << 3 << "Heat-1    [ Tango ]";
        QTest::newRow("shuffled, single heat still named")
            << 1 << 1 << 1 << 0 << 0 << 2 << 1 << "Heat-1    [ Tango ]";
        QTest::newRow("shuffled row past the round's dances")
            << 1 << 3 << 7 << 0 << 0 << 2 << 6 << "Heat-1";
        QTest::newRow("dance index past the table")
            << 0 << 3 << 3 << 1 << 12 << 20 << 0 << "Heat-1";
        QTest::newRow("dance index past the round") << 0 << 3 << 3 << 1 << 2 << 2 << 0 << "Heat-1";
    }

    void heatTitle() {
        QFETCH(int, shuffled);
        QFETCH(int, perDance);
        QFETCH(int, heatCount);
        QFETCH(int, namesShown);
        QFETCH(int, danceIndex);
        QFETCH(int, danceCount);
        QFETCH(int, row);
        QFETCH(QString, expected);
        Competition s = HeatState();
        s.ShuffledHeats = shuffled;
        s.HeatsPerDance = perDance;
        s.HeatCount = heatCount;
        s.DanceNameShown = namesShown;
        s.DanceIndex = danceIndex;
        s.DanceCount = danceCount;
        QCOMPARE(HeatTitle(s, row), expected);
    }

    void grid_data() {
        QTest::addColumn<QList<int>>("numbers");  // slot k = index
        QTest::addColumn<int>("mod");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("x0");
        QTest::addColumn<int>("dx");
        // Expected: text, design x, design y, per drawn number.
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QPoint>>("places");
        QList<int> twelve;
        for (int k = 1; k <= 12; ++k) twelve << k;
        QTest::newRow("two lines, one floor")
            << twelve << 1000 << 210 << 70 << 30 << 98
            << QStringList{"  1", "  2", " 10", " 11", " 12"}
            << QList<QPoint>{{30, 210}, {128, 210}, {912, 210}, {30, 280}, {128, 280}};
        QTest::newRow("one line moves down, one floor")
            << QList<int>{5, 0, 7} << 1000 << 210 << 70 << 30 << 98 << QStringList{"  5", "  7"}
            << QList<QPoint>{{30, 242}, {226, 242}};
        QTest::newRow("one line moves down, two floors")
            << QList<int>{5} << 1000 << 180 << 40 << 160 << 85 << QStringList{"  5"}
            << QList<QPoint>{{160, 197}};
        QTest::newRow("second line alone keeps two lines")
            << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 42} << 1000 << 435 << 40
            << 160 << 85 << QStringList{" 42"} << QList<QPoint>{{585, 475}};
        QTest::newRow("numbers shown modulo Mod")
            << QList<int>{1234, 999} << 1000 << 210 << 70 << 30 << 98 << QStringList{"234", "999"}
            << QList<QPoint>{{30, 242}, {128, 242}};
        QTest::newRow("Mod 100") << QList<int>{1234, 7} << 100 << 210 << 70 << 30 << 98
                                 << QStringList{" 34", "  7"}
                                 << QList<QPoint>{{30, 242}, {128, 242}};
    }

    void grid() {
        QFETCH(QList<int>, numbers);
        QFETCH(int, mod);
        QFETCH(int, y);
        QFETCH(int, pitch);
        QFETCH(int, x0);
        QFETCH(int, dx);
        QFETCH(QStringList, texts);
        QFETCH(QList<QPoint>, places);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            s.Config.Mod = mod;
            for (int k = 0; k < numbers.size(); ++k) s.HeatTable[7][k] = numbers[k];
            Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
            canvas.SetRecording(true);
            RenderTarget t{&canvas, scale};
            DrawHeatGrid(s, t, 7, y, pitch, x0, dx);
            const auto records = canvas.TakeRecords();
            // Empty slots draw nothing.
            QCOMPARE(int(records.size()), int(std::count_if(numbers.begin(), numbers.end(),
                                                            [](int n) { return n != 0; })));
            for (int i = 0; i < texts.size(); ++i) {
                const DrawRecord* r = FindText(records, texts[i]);
                QVERIFY(r != nullptr);
                QCOMPARE(QPoint(r->x, r->y),
                         QPoint(int(places[i].x() * scale), int(places[i].y() * scale)));
            }
        }
    }

    void gridOutsideTheTableIsEmpty() {
        Competition s = HeatState();
        FillRow(s, 49, 3);
        Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
        canvas.SetRecording(true);
        RenderTarget t{&canvas, 1.0};
        for (int row : {-1, 50, 1000}) DrawHeatGrid(s, t, row, 210, 70, 30, 98);
        QVERIFY(canvas.TakeRecords().empty());
        DrawHeatGrid(s, t, 49, 210, 70, 30, 98);
        QCOMPARE(canvas.TakeRecords().size(), size_t(3));
    }

    void oneFloor_data() {
        QTest::addColumn<int>("heatIndex");
        QTest::addColumn<int>("rowsA");
        QTest::addColumn<int>("danceIndex");
        QTest::addColumn<int>("namesShown");
        QTest::addColumn<int>("nextRow");  // -1: no Next block
        QTest::addColumn<bool>("nextDance");
        QTest::addColumn<QString>("nowTitle");
        QTest::addColumn<QString>("nextTitle");
        QTest::newRow("another heat follows") << 0 << 3 << 0 << 0 << 1 << false << "Heat-1"
                                              << "Heat-2";
        QTest::newRow("another heat follows, names")
            << 1 << 3 << 1 << 1 << 2 << false << "Heat-2    [ Tango ]"
            << "Heat-3    [ Tango ]";
        QTest::newRow("last heat, next dance") << 2 << 3 << 0 << 0 << 0 << true << "Heat-3"
                                               << "Heat-1";
        QTest::newRow("last heat, next dance, names")
            << 2 << 3 << 0 << 1 << 0 << true << "Heat-3    [ Waltz ]"
            << "Heat-1    [ Tango ]";
        QTest::newRow("last heat of the last dance")
            << 2 << 3 << 1 << 1 << -1 << false << "Heat-3    [ Tango ]" << QString();
        QTest::newRow("a single heat has no Next")
            << 0 << 1 << 0 << 1 << -1 << false << "Heat-1" << QString();
    }

    void oneFloor() {
        QFETCH(int, heatIndex);
        QFETCH(int, rowsA);
        QFETCH(int, danceIndex);
        QFETCH(int, namesShown);
        QFETCH(int, nextRow);
        QFETCH(bool, nextDance);
        QFETCH(QString, nowTitle);
        QFETCH(QString, nextTitle);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            for (int r = 0; r < rowsA; ++r) FillRow(s, r, 12);
            s.HeatRowsA = rowsA;
            s.HeatsPerDance = rowsA;
            s.HeatCount = rowsA;
            s.HeatIndex = heatIndex;
            s.DanceIndex = danceIndex;
            s.DanceNameShown = namesShown;
            const auto records = DrawView(s, scale);

            const DrawRecord& now = Text(records, QStringLiteral("Now"));
            QCOMPARE(now.x, int(40 * scale));
            QCOMPARE(now.y, int(160 * scale - now.h / 2));
            QCOMPARE(now.color, kAqua);
            QCOMPARE(now.size, int(24 * scale));
            QVERIFY(now.bold);
            const DrawRecord& title = Text(records, nowTitle);
            QCOMPARE(title.x, int(160 * scale));
            QCOMPARE(title.y, int(160 * scale - title.h / 2));
            QCOMPARE(title.color, kYellow);
            QCOMPARE(NumbersAt(records, 210, scale), RowNumbers(heatIndex, 10));
            QCOMPARE(NumbersAt(records, 280, scale), RowNumbers(heatIndex, 12).mid(10));
            const DrawRecord& number = Text(records, QString::number(100 * (heatIndex + 1)));
            QCOMPARE(number.x, int(30 * scale));
            QCOMPARE(number.size, int(29 * scale));
            QCOMPARE(number.color, QColor(Qt::white));
            QVERIFY(number.bold);
            QCOMPARE(number.font, QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB"));

            const DrawRecord* next = FindText(records, QStringLiteral("Next"));
            if (nextRow < 0) {
                QVERIFY(next == nullptr);
                QCOMPARE(NumbersAt(records, 465, scale), QStringList());
                continue;
            }
            QVERIFY(next != nullptr);
            QCOMPARE(next->x, int(40 * scale));
            QCOMPARE(next->y, nextDance ? int(400 * scale) : int(415 * scale - next->h / 2));
            QCOMPARE(next->color, kAqua);
            const DrawRecord& second = Text(records, nextTitle);
            QCOMPARE(second.x, int(160 * scale));
            QCOMPARE(second.y, int(415 * scale - second.h / 2));
            QCOMPARE(second.color, kYellow);
            QCOMPARE(second.size, int(24 * scale));
            QCOMPARE(NumbersAt(records, 465, scale), RowNumbers(nextRow, 10));
            QCOMPARE(NumbersAt(records, 535, scale), RowNumbers(nextRow, 12).mid(10));
        }
    }

    void twoFloors_data() {
        QTest::addColumn<int>("perDance");
        QTest::addColumn<int>("rowsA");
        QTest::addColumn<int>("rowsB");
        QTest::addColumn<int>("heatIndex");
        // HeatTable rows shown: now A, now B, next A, next B (-1 empty, -2 no Next block).
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("same heats on both floors") << 2 << 2 << 2 << 0 << QList<int>{0, 2, 1, 3};
        QTest::newRow("last heat: no Next block") << 2 << 2 << 2 << 1 << QList<int>{1, 3, -2, -2};
        // Floor B's heat h sits at HeatsPerDance + h, not at h + HeatCount.
        QTest::newRow("floor B has more heats") << 1 << 1 << 2 << 0 << QList<int>{0, 1, -1, 2};
        QTest::newRow("floor A has more heats") << 3 << 3 << 1 << 0 << QList<int>{0, 3, 1, -1};
        // A shuffled floor-A file: floor B's rows lie inside floor A's later dance blocks.
        QTest::newRow("shuffled floor A") << 2 << 4 << 2 << 1 << QList<int>{1, 3, -1, -1};
    }

    void twoFloors() {
        QFETCH(int, perDance);
        QFETCH(int, rowsA);
        QFETCH(int, rowsB);
        QFETCH(int, heatIndex);
        QFETCH(QList<int>, rows);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            s.EventTable[0].Ints[6] = 205;
            s.EventTable[0].Ints[7] = 1;
            s.EventTable[0].Ints[8] = 1;
            // Loaded as the heat files are: floor A from row 0, floor B from HeatsPerDance on.
            for (int r = 0; r < rowsA; ++r) FillRow(s, r, 4);
            for (int h = 0; h < rowsB; ++h) FillRow(s, perDance + h, 4);
            s.HeatsPerDance = perDance;
            s.HeatRowsA = rowsA;
            s.HeatRowsB = rowsB;
            s.HeatCount = std::max(rowsA, rowsB);
            s.HeatIndex = heatIndex;
            s.DanceNameShown = 1;
            const auto records = DrawView(s, scale);

            // One-line grids: floor A at 180 + 17, floor B at 280 + 17; Next 255 lower.
            QCOMPARE(NumbersAt(records, 197, scale), RowNumbers(rows[0], 4));
            QCOMPARE(NumbersAt(records, 297, scale), RowNumbers(rows[1], 4));
            QCOMPARE(NumbersAt(records, 452, scale), RowNumbers(std::max(rows[2], -1), 4));
            QCOMPARE(NumbersAt(records, 552, scale), RowNumbers(std::max(rows[3], -1), 4));

            const auto labelsA = [&] {
                int n = 0;
                for (const DrawRecord& r : records) n += r.text == QStringLiteral(u"Ａ ﾌﾛｱ");
                return n;
            }();
            const bool hasNext = rows[2] != -2;
            QCOMPARE(labelsA, hasNext ? 2 : 1);
            QCOMPARE(FindText(records, QStringLiteral("Next")) != nullptr, hasNext);

            const DrawRecord& now = Text(records, QStringLiteral("Now"));
            QCOMPARE(QPoint(now.x, now.y), QPoint(int(40 * scale), int(135 * scale)));
            QCOMPARE(now.size, int(24 * scale));
            const DrawRecord& title = Text(records, QStringLiteral("Heat-%1").arg(heatIndex + 1));
            QCOMPARE(QPoint(title.x, title.y), QPoint(int(160 * scale), int(135 * scale)));
            QCOMPARE(title.size, int(22 * scale));
            QCOMPARE(title.color, kYellow);
            const DrawRecord& floorB = Text(records, QStringLiteral(u"Ｂ ﾌﾛｱ"));
            QCOMPARE(QPoint(floorB.x, floorB.y), QPoint(int(40 * scale), int(300 * scale)));
            QCOMPARE(floorB.size, int(22 * scale));
            QCOMPARE(Text(records, QStringLiteral(u"Ａ ﾌﾛｱ")).y, int(200 * scale));
            const DrawRecord* number = nullptr;
            for (const DrawRecord& r : records) {
                if (IsNumber(r) && number == nullptr) number = &r;
            }
            QVERIFY(number != nullptr);
            QCOMPARE(number->x, int(160 * scale));
            QCOMPARE(number->size, int(24 * scale));
            if (hasNext) {
                const DrawRecord& nextTitle =
                    Text(records, QStringLiteral("Heat-%1").arg(heatIndex + 2));
                QCOMPARE(nextTitle.y, int(390 * scale));
            }

            std::vector<DrawRecord> silver;
            for (const DrawRecord& l : RecordsOf(records, "line")) {
                if (l.pen == kSilver) silver.push_back(l);
            }
            QCOMPARE(int(silver.size()), hasNext ? 2 : 1);
            for (size_t i = 0; i < silver.size(); ++i) {
                const int y = int((i == 0 ? 265 : 520) * scale);
                QCOMPARE(silver[i].points[0], QPoint(int(160 * scale), y));
                QCOMPARE(silver[i].points[1], QPoint(int(999 * scale), y));
            }
        }
    }

    void framesWithBothHeadersAndEndsRegular() {
        Competition s = HeatState();
        FillRow(s, 0, 3);
        s.HeatRowsA = s.HeatsPerDance = s.HeatCount = 1;
        s.HeatIndex = 0;
        Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
        const auto records = DrawView(s, 1.0, &canvas);
        QVERIFY(!canvas.Bold());
        QCOMPARE(records.front().op, QStringLiteral("rectangle"));
        QVERIFY(FindText(records, QStringLiteral(u" 現 在  :   ジュニア ラテン")) != nullptr);
        QVERIFY(FindText(records, QStringLiteral(u" 次競技 :   ")) != nullptr);
        // The header's rules: Next's at 120 and the dashes at 375, Now's at 630.
        int dashes = 0;
        for (const DrawRecord& l : RecordsOf(records, "line")) dashes += l.points[0].y() == 375;
        QCOMPARE(dashes, 49);
    }

    void noRoundLoadedDrawsWithoutNumbers() {
        Competition s = HeatState();
        const auto records = DrawView(s, 0.5);
        for (const DrawRecord& r : records) QVERIFY(!IsNumber(r));
    }
};

QTEST_MAIN(HeatViewTest)
#include "heat_view_test.moc"
