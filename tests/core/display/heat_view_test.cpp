#include "core/display/heat_view.h"

#include <QRegularExpression>
#include <QtTest>

#include "core/competition/progress.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

const QColor kAqua(0, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kSilver(192, 192, 192);
constexpr int kTop = 0;     // y is the text's top
constexpr int kCentre = 1;  // y is the text's vertical centre

Competition HeatState() {
    Competition s;
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.CategoryNames[0] = Sjis("ジュニア ラテン");
    s.EventNames[0] = "101";
    s.EventTable[0] = EventRecord({.category = 1, .round = 1});
    s.CurrentEventIndex = 0;
    for (int d = 0; d < kDances; ++d) s.RoundDances[d] = DanceNames()[d];
    s.DanceCount = 2;
    return s;
}

// Row r holds `count` numbers 100 * (r + 1) + k, so a drawn number tells its row.
void FillRow(Competition& s, int row, int count) {
    for (int k = 0; k < count; ++k) s.HeatTable[row][k] = 100 * (row + 1) + k;
}

QStringList RowNumbers(int row, int count) {
    QStringList out;
    for (int k = 0; row >= 0 && k < count; ++k) out << QString::number(100 * (row + 1) + k);
    return out;
}

std::vector<DrawRecord> DrawView(Competition& s, double scale, Canvas* canvas = nullptr) {
    Canvas own(1024, 768, QStringLiteral("ScrForm.ImageW"));
    Canvas& c = canvas != nullptr ? *canvas : own;
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

// A bold text at design (x, y), its size in points and its colour.
void VerifyText(const std::vector<DrawRecord>& records, const QString& text, int x, int y,
                int yRule, int points, const QColor& color, double scale) {
    const DrawRecord* r = FindText(records, text);
    QVERIFY2(r != nullptr, qPrintable(text));
    QCOMPARE(r->x, int(x * scale));
    QCOMPARE(r->y, yRule == kTop ? int(y * scale) : int(y * scale - r->h / 2));
    QCOMPARE(r->size, int(points * scale));
    QCOMPARE(r->color, color);
    QVERIFY(r->bold);
}

}  // namespace

class HeatViewTest : public QObject {
    Q_OBJECT

  private slots:
    void heatTitle_data() {
        QTest::addColumn<int>("shuffled");
        QTest::addColumn<int>("heatCount");  // also HeatsPerDance
        QTest::addColumn<int>("namesShown");
        QTest::addColumn<int>("danceIndex");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << 0 << 3 << 0 << 0 << 1 << "Heat-2";
        QTest::newRow("name shown") << 0 << 3 << 1 << 1 << 1 << "Heat-2    [ Tango ]";
        QTest::newRow("one heat: never named") << 0 << 1 << 1 << 1 << 0 << "Heat-1";
        QTest::newRow("shuffled, first dance") << 1 << 3 << 0 << 0 << 2 << "Heat-3    [ Waltz ]";
        QTest::newRow("shuffled, second block") << 1 << 3 << 0 << 0 << 3 << "Heat-1    [ Tango ]";
        QTest::newRow("shuffled, one heat named") << 1 << 1 << 0 << 0 << 1 << "Heat-1    [ Tango ]";
        QTest::newRow("shuffled past the dances") << 1 << 3 << 0 << 0 << 6 << "Heat-1";
        QTest::newRow("dance past the table") << 0 << 3 << 1 << 12 << 0 << "Heat-1";
        QTest::newRow("dance past the round") << 0 << 3 << 1 << 2 << 0 << "Heat-1";
    }

    void heatTitle() {
        QFETCH(int, shuffled);
        QFETCH(int, heatCount);
        QFETCH(int, namesShown);
        QFETCH(int, danceIndex);
        QFETCH(int, row);
        Competition s = HeatState();
        s.ShuffledHeats = shuffled;
        s.HeatsPerDance = s.HeatCount = heatCount;
        s.DanceNameShown = namesShown;
        s.DanceIndex = danceIndex;
        QTEST(HeatTitle(s, row), "expected");
    }

    void grid_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("numbers");  // slot k = index
        QTest::addColumn<int>("mod");
        QTest::addColumn<QList<int>>("grid");  // y, pitch, x0, dx
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<QPoint>>("places");  // the columns' left edges, design units
        const QList<int> oneFloor{210, 70, 30, 98};
        const QList<int> twoFloors{180, 40, 160, 85};
        QList<int> twelve;
        for (int k = 1; k <= 12; ++k) twelve << k;
        QTest::newRow("two lines")
            << 7 << twelve << 1000 << oneFloor << QStringList{"1", "2", "10", "11", "12"}
            << QList<QPoint>{{30, 210}, {128, 210}, {912, 210}, {30, 280}, {128, 280}};
        QTest::newRow("one line moves down")
            << 7 << QList<int>{5, 0, 7} << 1000 << oneFloor << QStringList{"5", "7"}
            << QList<QPoint>{{30, 242}, {226, 242}};
        QTest::newRow("one line moves down, two floors")
            << 7 << QList<int>{5} << 1000 << twoFloors << QStringList{"5"}
            << QList<QPoint>{{160, 197}};
        QTest::newRow("second line alone keeps two lines")
            << 7 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 42} << 1000 << twoFloors
            << QStringList{"42"} << QList<QPoint>{{585, 220}};
        QTest::newRow("modulo Mod")
            << 7 << QList<int>{1234, 999} << 1000 << oneFloor << QStringList{"234", "999"}
            << QList<QPoint>{{30, 242}, {128, 242}};
        QTest::newRow("Mod 100") << 7 << QList<int>{1234, 7} << 100 << oneFloor
                                 << QStringList{"34", "7"} << QList<QPoint>{{30, 242}, {128, 242}};
        QTest::newRow("row before the table")
            << -1 << twelve << 1000 << oneFloor << QStringList{} << QList<QPoint>{};
        QTest::newRow("row after the table")
            << 50 << twelve << 1000 << oneFloor << QStringList{} << QList<QPoint>{};
    }

    void grid() {
        QFETCH(int, row);
        QFETCH(QList<int>, numbers);
        QFETCH(int, mod);
        QFETCH(QList<int>, grid);
        QFETCH(QStringList, texts);
        QFETCH(QList<QPoint>, places);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            s.Config.Mod = mod;
            for (int k = 0; k < numbers.size(); ++k) s.HeatTable[7][k] = numbers[k];
            Canvas canvas(1024, 768, QStringLiteral("ScrForm.ImageW"));
            canvas.SetRecording(true);
            RenderTarget t{&canvas, scale};
            DrawHeatGrid(s, t, row, grid[0], grid[1], grid[2], grid[3]);
            const auto records = canvas.TakeRecords();
            // Empty slots draw nothing.
            const int filled = row == 7 ? int(numbers.size() - numbers.count(0)) : 0;
            QCOMPARE(int(records.size()), filled);
            // "%3d": right-aligned in three positions as wide as digits.
            const int box = canvas.TextWidth(QStringLiteral("000"));
            for (int i = 0; i < texts.size(); ++i) {
                const DrawRecord* r = FindText(records, texts[i]);
                QVERIFY(r != nullptr);
                QCOMPARE(QPoint(r->x + r->w, r->y),
                         QPoint(int(places[i].x() * scale) + box, int(places[i].y() * scale)));
            }
        }
    }

    void oneFloor_data() {
        QTest::addColumn<int>("heatIndex");
        QTest::addColumn<int>("rowsA");
        QTest::addColumn<int>("danceIndex");
        QTest::addColumn<int>("namesShown");
        QTest::addColumn<int>("nextRow");  // -1: no Next block
        QTest::addColumn<QString>("nowTitle");
        QTest::addColumn<QString>("nextTitle");
        QTest::newRow("next heat") << 0 << 3 << 0 << 0 << 1 << "Heat-1"
                                   << "Heat-2";
        QTest::newRow("next heat, names") << 1 << 3 << 1 << 1 << 2 << "Heat-2    [ Tango ]"
                                          << "Heat-3    [ Tango ]";
        QTest::newRow("next dance") << 2 << 3 << 0 << 0 << 0 << "Heat-3"
                                    << "Heat-1";
        QTest::newRow("next dance, names") << 2 << 3 << 0 << 1 << 0 << "Heat-3    [ Waltz ]"
                                           << "Heat-1    [ Tango ]";
        QTest::newRow("last heat of the last dance")
            << 2 << 3 << 1 << 1 << -1 << "Heat-3    [ Tango ]" << QString();
        QTest::newRow("one heat: no Next") << 0 << 1 << 0 << 1 << -1 << "Heat-1" << QString();
    }

    void oneFloor() {
        QFETCH(int, heatIndex);
        QFETCH(int, rowsA);
        QFETCH(int, danceIndex);
        QFETCH(int, namesShown);
        QFETCH(int, nextRow);
        QFETCH(QString, nowTitle);
        QFETCH(QString, nextTitle);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            for (int r = 0; r < rowsA; ++r) FillRow(s, r, 12);
            s.HeatRowsA = s.HeatsPerDance = s.HeatCount = rowsA;
            s.HeatIndex = heatIndex;
            s.DanceIndex = danceIndex;
            s.DanceNameShown = namesShown;
            const auto records = DrawView(s, scale);

            VerifyText(records, "Now", 40, 160, kCentre, 24, kAqua, scale);
            VerifyText(records, nowTitle, 160, 160, kCentre, 24, kYellow, scale);
            const QString first = QString::number(100 * (heatIndex + 1));
            VerifyText(records, first, 30, 210, kTop, 29, Qt::white, scale);
            QCOMPARE(FindText(records, first)->font, QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB"));
            QCOMPARE(NumbersAt(records, 210, scale), RowNumbers(heatIndex, 10));
            QCOMPARE(NumbersAt(records, 280, scale), RowNumbers(heatIndex, 12).mid(10));
            QCOMPARE(FindText(records, "Next") != nullptr, nextRow >= 0);
            QCOMPARE(NumbersAt(records, 465, scale), RowNumbers(nextRow, 10));
            QCOMPARE(NumbersAt(records, 535, scale), RowNumbers(nextRow, 12).mid(10));
            if (nextRow < 0) continue;
            // Into the next dance the label stands with its top at 400.
            const bool nextDance = heatIndex + 1 == rowsA;
            VerifyText(records, "Next", 40, nextDance ? 400 : 415, nextDance ? kTop : kCentre, 24,
                       kAqua, scale);
            VerifyText(records, nextTitle, 160, 415, kCentre, 24, kYellow, scale);
        }
    }

    void twoFloors_data() {
        QTest::addColumn<int>("rowsA");
        QTest::addColumn<int>("rowsB");
        QTest::addColumn<int>("heatIndex");
        // HeatTable rows shown: now A, now B, next A, next B (-1 empty grid).
        QTest::addColumn<QList<int>>("rows");
        QTest::addColumn<bool>("next");
        QTest::newRow("same heats") << 2 << 2 << 0 << QList<int>{0, 2, 1, 3} << true;
        QTest::newRow("last heat: no Next") << 2 << 2 << 1 << QList<int>{1, 3, -1, -1} << false;
        QTest::newRow("floor B has more heats") << 1 << 2 << 0 << QList<int>{0, 1, -1, 2} << true;
        QTest::newRow("floor A has more heats") << 3 << 1 << 0 << QList<int>{0, 3, 1, -1} << true;
        // A floor whose file is missing stays empty: never the other floor's couples.
        QTest::newRow("floor B missing") << 2 << 0 << 0 << QList<int>{0, -1, 1, -1} << true;
        QTest::newRow("floor A missing") << 0 << 2 << 0 << QList<int>{-1, 0, -1, 1} << true;
    }

    void twoFloors() {
        QFETCH(int, rowsA);
        QFETCH(int, rowsB);
        QFETCH(int, heatIndex);
        QFETCH(QList<int>, rows);
        QFETCH(bool, next);
        for (double scale : {1.0, 0.5}) {
            Competition s = HeatState();
            s.EventTable[0] =
                EventRecord({.category = 1, .round = 1, .floorBEvent = 205, .floorBCategory = 1});
            // As the heat files are loaded: floor A from row 0, floor B after floor A's last row.
            for (int r = 0; r < rowsA + rowsB; ++r) FillRow(s, r, 4);
            s.FloorBFirstRow = s.FloorARowsLoaded = rowsA;
            s.FloorBRowsLoaded = rowsB;
            // The stepping raises a missing floor's counts to 1.
            s.HeatsPerDance = s.HeatRowsA = std::max(rowsA, 1);
            s.HeatRowsB = std::max(rowsB, 1);
            s.HeatCount = std::max(s.HeatRowsA, s.HeatRowsB);
            s.HeatIndex = heatIndex;
            s.DanceNameShown = 1;
            const auto records = DrawView(s, scale);

            // One-line grids: floor A at 180 + 17, floor B at 280 + 17, Next 255 lower.
            QCOMPARE(NumbersAt(records, 197, scale), RowNumbers(rows[0], 4));
            QCOMPARE(NumbersAt(records, 297, scale), RowNumbers(rows[1], 4));
            QCOMPARE(NumbersAt(records, 452, scale), RowNumbers(rows[2], 4));
            QCOMPARE(NumbersAt(records, 552, scale), RowNumbers(rows[3], 4));
            if (rows[0] >= 0) {
                VerifyText(records, RowNumbers(rows[0], 1)[0], 160, 197, kTop, 24, Qt::white,
                           scale);
            }
            VerifyText(records, "Now", 40, 135, kTop, 24, kAqua, scale);
            VerifyText(records, QStringLiteral("Heat-%1").arg(heatIndex + 1), 160, 135, kTop, 22,
                       kYellow, scale);
            VerifyText(records, QStringLiteral(u"Ａ ﾌﾛｱ"), 40, 200, kTop, 22, kYellow, scale);
            VerifyText(records, QStringLiteral(u"Ｂ ﾌﾛｱ"), 40, 300, kTop, 22, kYellow, scale);
            QCOMPARE(FindText(records, "Next") != nullptr, next);
            if (next) {
                VerifyText(records, "Next", 40, 390, kTop, 24, kAqua, scale);
                VerifyText(records, QStringLiteral("Heat-%1").arg(heatIndex + 2), 160, 390, kTop,
                           22, kYellow, scale);
            }
            std::vector<DrawRecord> silver;
            for (const DrawRecord& l : RecordsOf(records, "line")) {
                if (l.pen == kSilver) silver.push_back(l);
            }
            QCOMPARE(int(silver.size()), next ? 2 : 1);
            for (size_t i = 0; i < silver.size(); ++i) {
                const int y = int((i == 0 ? 265 : 520) * scale);
                QCOMPARE(silver[i].points,
                         (std::vector<QPoint>{{int(160 * scale), y}, {int(999 * scale), y}}));
            }
        }
    }

    // A shuffled floor A beside floor B, loaded from their files and stepped through every heat
    // of every dance: each floor shows its own file's heat, never the other floor's.
    void shuffledFloorAWithFloorB_data() {
        QTest::addColumn<int>("dances");
        QTest::addColumn<int>("heatsA");  // per dance block of the SH_ file
        QTest::addColumn<int>("heatsB");
        QTest::newRow("5 dances x 2 heats, floor B 2 heats") << 5 << 2 << 2;
        QTest::newRow("floor B has more heats") << 2 << 2 << 3;
        QTest::newRow("floor A has more heats") << 2 << 3 << 1;
    }

    void shuffledFloorAWithFloorB() {
        QFETCH(int, dances);
        QFETCH(int, heatsA);
        QFETCH(int, heatsB);
        // Four couples a heat: floor A's row r holds 100 + 10r.., floor B's heat h 600 + 10h...
        const auto lines = [](int rows, int base) {
            std::string text;
            for (int r = 0; r < rows; ++r) {
                for (int k = 0; k < 4; ++k)
                    text += QString("%1").arg(base + 10 * r + k, 4).toStdString();
                text += "\r\n";
            }
            return text;
        };
        const auto numbers = [](int base) {
            return QStringList{QString::number(base), QString::number(base + 1),
                               QString::number(base + 2), QString::number(base + 3)};
        };
        TestFolder dir;
        dir.WriteBytes("SH_01_1.dat", lines(dances * heatsA, 100));
        dir.WriteBytes("Assist/H_02_1.dat", lines(heatsB, 600));
        Competition s = HeatState();
        s.DataFolder = dir.Path();
        s.CategoryDanceRounds[0].fill(8);
        for (int d = 0; d < dances; ++d) s.CategoryDanceRounds[0][d] = 1;
        s.EventTable[0] = EventRecord(
            {.category = 1, .round = 1, .floorBEvent = 205, .floorBCategory = 2, .floorBRound = 1});
        QVERIFY(LoadRound(s).loaded);
        const int perDance = std::max(heatsA, heatsB);
        const int steps = dances * perDance;
        for (int step = 0; step < steps; ++step) {
            if (step > 0) QVERIFY(NextHeat(s).redraw);
            QCOMPARE(s.DanceIndex, step / perDance);
            for (double scale : {1.0, 0.5}) {
                const auto records = DrawView(s, scale);
                // Design y of the one-line grids: floor A, floor B, each 255 lower for Next.
                for (int shown = step; shown <= std::min(step + 1, steps - 1); ++shown) {
                    const int dance = shown / perDance;
                    const int heat = shown % perDance;
                    const int y = shown == step ? 197 : 452;
                    const QString title = QStringLiteral("Heat-%1").arg(heat + 1);
                    VerifyText(records, title, 160, y - 62, kTop, 22, kYellow, scale);
                    QCOMPARE(NumbersAt(records, y, scale),
                             heat < heatsA ? numbers(100 + 10 * (dance * heatsA + heat))
                                           : QStringList{});
                    QCOMPARE(NumbersAt(records, y + 100, scale),
                             heat < heatsB ? numbers(600 + 10 * heat) : QStringList{});
                }
                QCOMPARE(FindText(records, "Next") != nullptr, step + 1 < steps);
            }
        }
        QVERIFY(!NextHeat(s).redraw);
    }

    void framedByBothHeadersAndEndsRegular() {
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
    }
};

QTEST_MAIN(HeatViewTest)
#include "heat_view_test.moc"
