// Heat files on real files: the 4-character fields, the 5-character end rule, the SH_ preference
// with its per-dance blocks, floor B from Assist or the plain file, Mod, and the 50-row table.
#include "core/data/heat_files.h"

#include <QRandomGenerator>
#include <QtTest>

#include "core/competition/competition_state.h"
#include "support/test_files.h"

namespace {

// One heat line: each number right-aligned in 4 characters, 0 as an empty slot, CR LF.
std::string HeatText(std::initializer_list<int> numbers) {
    std::string line;
    for (int n : numbers)
        line += n == 0 ? std::string("    ") : QString("%1").arg(n, 4).toStdString();
    return line + "\r\n";
}

// A heat file of `rows` lines whose first slots hold base, base + 1, ... and second slot 1.
std::string HeatFile(int rows, int base) {
    std::string out;
    for (int i = 0; i < rows; ++i) out += HeatText({base + i, 1});
    return out;
}

QList<int> Slots(const HeatRow& row) {
    QList<int> out;
    for (int n : row) out << n;
    return out;
}

QList<int> Padded(QList<int> numbers, int size = kHeatSlots) {
    while (numbers.size() < size) numbers << 0;
    return numbers;
}

}  // namespace

class HeatFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("5, 12, 104 right-aligned")
            << QByteArray("   5  12 104\n") << QList<int>{5, 12, 104};
        QTest::newRow("left-aligned with blanks") << QByteArray(" 7  12  ") << QList<int>{7, 12};
        QTest::newRow("blank field is empty") << QByteArray("       3") << QList<int>{0, 3};
        QTest::newRow("four digits") << QByteArray("1234") << QList<int>{1234};
        QTest::newRow("digits then text") << QByteArray("12ab  34") << QList<int>{12, 34};
        QTest::newRow("text first") << QByteArray("ab12   5") << QList<int>{0, 5};
        QTest::newRow("no sign taken") << QByteArray("  -5  +6") << QList<int>{0, 0};
        QTest::newRow("blank inside the field") << QByteArray(" 1 2") << QList<int>{1};
        QTest::newRow("tab and line break are blanks")
            << QByteArray("\t  3   4\n") << QList<int>{3, 4};
        QTest::newRow("field of only the line break") << QByteArray("   9\n") << QList<int>{9, 0};
        QTest::newRow("full-width digits")
            << QByteArray("\x82\x50\x82\x51   8") << QList<int>{0, 8};
        QTest::newRow("empty line") << QByteArray() << QList<int>{};
        QTest::newRow("fields beyond the twentieth ignored")
            << QByteArray::fromStdString(HeatText(
                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}))
            << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    }
    void parse() {
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, numbers);
        QCOMPARE(Slots(ParseHeatLine(line.toStdString())), Padded(numbers));
    }

    void fileLines_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("firstSlots");  // slot 0 of rows 0, 1, ...
        QTest::newRow("last line without line break, 5 characters or more")
            << QByteArray("   5  12\r\n  99   1") << 2 << QList<int>{5, 99};
        QTest::newRow("last line of one field without line break not read")
            << QByteArray("   5\r\n  99") << 1 << QList<int>{5, 0};
        QTest::newRow("one field and its line break is a line")
            << QByteArray("  99\n   7\n") << 2 << QList<int>{99, 7};
        QTest::newRow("empty line in the middle ends the file")
            << QByteArray("   1\r\n\r\n   2\r\n") << 1 << QList<int>{1, 0};
        QTest::newRow("short line in the middle ends the file")
            << QByteArray("   1\r\n 2\r\n   3\r\n") << 1 << QList<int>{1, 0};
        QTest::newRow("NUL makes the line short")
            << QByteArray("   1\r\n\0   2   3\r\n   4\r\n", 23) << 1 << QList<int>{1, 0};
        QTest::newRow("megabyte line: one row, the rest is no phantom heats")
            << QByteArray(" 111").repeated(1 << 18).append("\r\n   5\r\n") << 2
            << QList<int>{111, 5};
        QTest::newRow("empty file") << QByteArray() << 0 << QList<int>{0};
    }
    void fileLines() {
        QFETCH(QByteArray, content);
        QFETCH(int, rows);
        QFETCH(QList<int>, firstSlots);
        TestFolder dir;
        dir.WriteBytes("H_01_1.dat", content.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        const EventRecord r({.category = 1, .round = 1});
        LoadHeatFiles(s.DataFolder, s.Config.Mod, r, 1, s);
        QCOMPARE(s.HeatRowsA, rows);
        for (int i = 0; i < firstSlots.size(); ++i) QCOMPARE(s.HeatTable[i][0], firstSlots[i]);
    }

    void load_data() {
        QTest::addColumn<QStringList>("files");  // "name:rows:base" (HeatFile)
        QTest::addColumn<QList<int>>("event");   // ints 1, 2, 6, 7, 8
        QTest::addColumn<int>("danceCount");
        QTest::addColumn<int>("mod");
        QTest::addColumn<QList<int>>("result");  // rowsA, rowsB, perDance, shuffled, cat, round,
                                                 // lines dropped
        QTest::addColumn<QList<int>>("firstSlots");

        QTest::newRow("plain H_ file")
            << QStringList{"H_03_2.dat:4:100"} << QList<int>{3, 2, 0, 0, 0} << 2 << 1000
            << QList<int>{4, 0, 4, 0, 3, 2, 0} << QList<int>{100, 101, 102, 103, 0};
        QTest::newRow("SH_ wins over H_, blocks by integer division")
            << QStringList{"H_03_2.dat:4:100", "SH_03_2.dat:12:200"} << QList<int>{3, 2, 0, 0, 0}
            << 4 << 1000 << QList<int>{12, 0, 3, 1, 3, 2, 0} << QList<int>{200, 201, 202, 203};
        QTest::newRow("SH_ with 13 lines and 4 dances")
            << QStringList{"SH_03_2.dat:13:200"} << QList<int>{3, 2, 0, 0, 0} << 4 << 1000
            << QList<int>{13, 0, 3, 1, 3, 2, 0} << QList<int>{200};
        QTest::newRow("dance count 0 counts as 1")
            << QStringList{"SH_03_2.dat:6:200"} << QList<int>{3, 2, 0, 0, 0} << 0 << 1000
            << QList<int>{6, 0, 6, 1, 3, 2, 0} << QList<int>{200};
        QTest::newRow("floor B from Assist, after floor A's heats")
            << QStringList{"H_03_2.dat:4:100", "Assist/H_05_6.dat:3:500", "H_05_6.dat:3:600"}
            << QList<int>{3, 2, 12, 5, 6} << 2 << 1000 << QList<int>{4, 3, 4, 0, 5, 6, 0}
            << QList<int>{100, 101, 102, 103, 500, 501, 502, 0};
        QTest::newRow("floor B falls back to the plain file")
            << QStringList{"H_03_2.dat:2:100", "H_05_6.dat:3:600"} << QList<int>{3, 2, 12, 5, 6}
            << 2 << 1000 << QList<int>{2, 3, 2, 0, 5, 6, 0}
            << QList<int>{100, 101, 600, 601, 602, 0};
        QTest::newRow("floor B without floor A starts at row 0")
            << QStringList{"Assist/H_05_6.dat:3:500"} << QList<int>{3, 2, 12, 5, 6} << 2 << 1000
            << QList<int>{0, 3, 0, 0, 5, 6, 0} << QList<int>{500, 501, 502, 0};
        QTest::newRow("floor B after all dance blocks of shuffled heats")
            << QStringList{"SH_03_2.dat:8:200", "Assist/H_05_6.dat:2:500"}
            << QList<int>{3, 2, 12, 5, 6} << 4 << 1000 << QList<int>{8, 2, 2, 1, 5, 6, 0}
            << QList<int>{200, 201, 202, 203, 204, 205, 206, 207, 500, 501, 0};
        QTest::newRow("no second floor when int 6 is 0")
            << QStringList{"H_03_2.dat:1:100", "Assist/H_05_6.dat:3:500"}
            << QList<int>{3, 2, 0, 5, 6} << 1 << 1000 << QList<int>{1, 0, 1, 0, 3, 2, 0}
            << QList<int>{100, 0};
        QTest::newRow("letter case of the names")
            << QStringList{"h_03_2.DAT:2:100", "assist/h_05_6.dat:1:500"}
            << QList<int>{3, 2, 12, 5, 6} << 1 << 1000 << QList<int>{2, 1, 2, 0, 5, 6, 0}
            << QList<int>{100, 101, 500};
        QTest::newRow("no files at all") << QStringList{} << QList<int>{3, 2, 12, 5, 6} << 1 << 1000
                                         << QList<int>{0, 0, 0, 0, 5, 6, 0} << QList<int>{0};
        QTest::newRow("default Mod keeps three digits")
            << QStringList{"H_12_7.dat:2:1234"} << QList<int>{12, 7, 0, 0, 0} << 1 << 1000
            << QList<int>{2, 0, 2, 0, 12, 7, 0} << QList<int>{234, 235};
        QTest::newRow("Mod 100") << QStringList{"H_12_7.dat:2:1234"} << QList<int>{12, 7, 0, 0, 0}
                                 << 1 << 100 << QList<int>{2, 0, 2, 0, 12, 7, 0}
                                 << QList<int>{34, 35};
        QTest::newRow("more than 50 lines: 50 rows")
            << QStringList{"H_03_2.dat:60:100"} << QList<int>{3, 2, 0, 0, 0} << 1 << 1000
            << QList<int>{50, 0, 50, 0, 3, 2, 10} << QList<int>{100};
        QTest::newRow("floor B keeps only the rows that fit")
            << QStringList{"H_03_2.dat:40:100", "Assist/H_05_6.dat:20:500"}
            << QList<int>{3, 2, 12, 5, 6} << 1 << 1000 << QList<int>{40, 10, 40, 0, 5, 6, 10}
            << QList<int>{100};
        // The dance blocks keep the file's length: 55 lines of 5 dances are 11 heats each.
        QTest::newRow("shuffled floor A past the table leaves floor B no room")
            << QStringList{"SH_03_2.dat:55:200", "Assist/H_05_6.dat:3:500"}
            << QList<int>{3, 2, 12, 5, 6} << 5 << 1000 << QList<int>{50, 0, 11, 1, 5, 6, 8}
            << QList<int>{200};
    }
    void load() {
        QFETCH(QStringList, files);
        QFETCH(QList<int>, event);
        QFETCH(int, danceCount);
        QFETCH(int, mod);
        QFETCH(QList<int>, result);
        QFETCH(QList<int>, firstSlots);
        TestFolder dir;
        for (const QString& f : files) {
            const QStringList parts = f.split(':');
            dir.WriteBytes(parts[0].toStdString(), HeatFile(parts[1].toInt(), parts[2].toInt()));
        }
        Competition s;
        s.DataFolder = dir.Path();
        s.Config.Mod = mod;
        s.HeatTable[49][19] = 7;  // a load starts from a cleared table
        s.ShuffledHeats = 1;
        // category, round, floor-B event, its category and round
        const EventRecord r({.category = event[0],
                             .round = event[1],
                             .floorBEvent = event[2],
                             .floorBCategory = event[3],
                             .floorBRound = event[4]});
        LoadHeatFiles(s.DataFolder, s.Config.Mod, r, danceCount, s);
        QCOMPARE((QList<int>{s.HeatRowsA, s.HeatRowsB, s.HeatsPerDance, s.ShuffledHeats,
                             s.HeatFileCategory, s.HeatFileRound, s.HeatRowsDropped}),
                 result);
        // What the load found stays apart from the counts the stepping later raises; floor B
        // starts after floor A's last row.
        QCOMPARE((QList<int>{s.FloorARowsLoaded, s.FloorBRowsLoaded, s.FloorBFirstRow}),
                 (QList<int>{s.HeatRowsA, s.HeatRowsB, s.HeatRowsA}));
        for (int i = 0; i < firstSlots.size(); ++i) QCOMPARE(s.HeatTable[i][0], firstSlots[i]);
        if (s.HeatRowsA + s.HeatRowsB < kHeatRows) QCOMPARE(s.HeatTable[49][19], 0);
    }

    void readHeatLine_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("count");
        QTest::newRow("first line only")
            << QByteArray("   5  12 104\r\n   7\r\n") << QList<int>{5, 12, 104} << 3;
        QTest::newRow("one field without line break") << QByteArray("  12") << QList<int>{12} << 1;
        QTest::newRow("no modulo") << QByteArray("1234\r\n") << QList<int>{1234} << 1;
        QTest::newRow("empty slots not counted")
            << QByteArray("       5       9\r\n") << QList<int>{0, 5, 0, 9} << 2;
        QTest::newRow("empty first line") << QByteArray("\r\n   5\r\n") << QList<int>{} << 0;
        QTest::newRow("missing file") << QByteArray() << QList<int>{} << 0;
    }
    void readHeatLine() {
        QFETCH(QByteArray, content);
        QFETCH(QList<int>, numbers);
        QFETCH(int, count);
        TestFolder dir;
        if (!content.isEmpty()) dir.WriteBytes("H_01_7.dat", content.toStdString());
        const HeatLine line = ReadHeatLine(dir.Path() + "/H_01_7.dat");
        QCOMPARE(Slots(line.numbers), Padded(numbers));
        QCOMPARE(line.count, count);
    }

    void garbageDoesNotCrash() {
        QRandomGenerator rng(5012);
        const char alphabet[] = "0123456789    \r\n\n-+\t\x81";
        TestFolder dir;
        for (int round = 0; round < 150; ++round) {
            for (const char* name : {"SH_01_1.dat", "H_02_1.dat", "Assist/H_02_1.dat"}) {
                std::string bytes(rng.bounded(6000), '\0');
                for (char& c : bytes) {
                    c = rng.bounded(5) == 0 ? static_cast<char>(rng.bounded(256))
                                            : alphabet[rng.bounded(int(sizeof(alphabet) - 1))];
                }
                dir.WriteBytes(name, bytes);
            }
            Competition s;
            s.DataFolder = dir.Path();
            s.Config.Mod = 1 + rng.bounded(1200);
            const EventRecord r({.category = 1,
                                 .round = 1,
                                 .floorBEvent = 9,
                                 .floorBCategory = 2,
                                 .floorBRound = 1});
            LoadHeatFiles(s.DataFolder, s.Config.Mod, r, rng.bounded(12), s);
            QVERIFY(s.HeatRowsA >= 0 && s.HeatRowsB >= 0);
            QVERIFY(s.HeatRowsA + s.HeatRowsB <= kHeatRows);
            for (const auto& row : s.HeatTable) {
                for (int n : row) QVERIFY(n >= 0 && n < s.Config.Mod);
            }
            QVERIFY(ReadHeatLine(dir.Path() + "/H_02_1.dat").count <= kHeatSlots);
        }
    }
};

QTEST_MAIN(HeatFilesTest)
#include "heat_files_test.moc"
