// pgm.txt on real CP932 files: item kinds, "+" lines for floor B, the lines that end the
// programme, over-long lines, the 100-item table and a missing file.
#include "core/data/programme_file.h"

#include <QRandomGenerator>
#include <QtTest>

#include "core/competition/competition_state.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

namespace {

// Item i as "kind|code|text|codeB|textB".
QString Item(const Competition& s, int i) {
    return QString("%1|%2|%3|%4|%5")
        .arg(s.ProgrammeNonCompetition[i])
        .arg(FromCp932(s.ProgrammeCodes[i]), FromCp932(s.ProgrammeTexts[i]),
             FromCp932(s.ProgrammeCodesB[i]), FromCp932(s.ProgrammeTextsB[i]));
}

}  // namespace

class ProgrammeFileTest : public QObject {
    Q_OBJECT
  private slots:
    void items_data() {
        QTest::addColumn<QByteArray>("pgm");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("items");  // the first items, as Item() writes them
        auto row = [](const char* tag, const std::string& bytes, int count, QStringList items) {
            QTest::newRow(tag) << QByteArray::fromStdString(bytes) << count << items;
        };
        row("kinds, codes and texts",
            Cp932Lines("1 開会  開会式\n0 001   スタンダード Ａ級 １次予選\nA 002 X ラテン\n"), 3,
            {"1|開会|開会式||", "0|001|スタンダード Ａ級 １次予選||", "0|002|ラテン||"});
        row("+ line gives the item before its floor B",
            Cp932Lines("0 001   A\n+ 101   B 面\n0 002   C\n"), 2,
            {"0|001|A|101|B 面", "0|002|C||"});
        row("+ line on a non-competition item keeps its kind",
            Cp932Lines("1 X     休憩\n+ 9     y\n"), 1, {"1|X|休憩|9|y"});
        row("+ line as the very first line ignored", Cp932Lines("+ 101   B\n0 001   A\n"), 1,
            {"0|001|A||"});
        row("empty line ends the programme", Cp932Lines("0 001   A\n\n0 002   B\n"), 1,
            {"0|001|A||", "0||||"});
        row("last line of one character is no item", Cp932Lines("0 001   A\n") + "1", 1,
            {"0|001|A||", "0||||"});
        row("line of kind only is an empty item", Cp932Lines("1 \n"), 1, {"1||||"});
        row("last line without line end is an item", Cp932Lines("0 001   A\n1 002   B"), 2,
            {"0|001|A||", "1|002|B||"});
        row("code cut at column 5, blanks trimmed", Cp932Lines("0  12345 text \n"), 1,
            {"0|123|text||"});
        row("double-byte code and CP932-only text", Cp932Lines("1 髙﨑  ①髙﨑杯\n"), 1,
            {"1|髙﨑|①髙﨑杯||"});
        row("lone CR first ends the programme", "0 001   A\r\n\r1 002   B\r\n", 1, {"0|001|A||"});
        row("LF-only line ends", "0 001   A\n0 002   B\n", 2, {"0|001|A||", "0|002|B||"});
        // A megabyte line: its first 127 bytes are one item, the rest is no items of its own.
        row("over-long line: one item",
            "0 001   " + std::string(1 << 20, 'x') + "\r\n1 002   B\r\n", 2,
            {"0|001|" + QString(119, 'x') + "||", "1|002|B||"});
        row("empty file", "", 0, {"0||||"});
    }
    void items() {
        QFETCH(QByteArray, pgm);
        QFETCH(int, count);
        QFETCH(QStringList, items);
        TestFolder dir;
        dir.WriteBytes("pgm.txt", pgm.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(ReadProgramme(s.DataFolder, s));
        QCOMPARE(s.ProgrammeCount, count);
        for (int i = 0; i < items.size(); ++i) QCOMPARE(Item(s, i), items[i]);
    }

    void hundredItemsAtMost() {
        TestFolder dir;
        std::string bytes;
        for (int i = 1; i <= 105; ++i) {
            bytes += QString("0 %1   item %1\r\n").arg(i, 3, 10, QChar('0')).toStdString();
            if (i == 101) bytes += "+ 999   B\r\n";  // belongs to the dropped item 101
        }
        dir.WriteBytes("pgm.txt", bytes);
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(ReadProgramme(s.DataFolder, s));
        QCOMPARE(s.ProgrammeCount, kProgrammeRows);
        QCOMPARE(Item(s, 99), QString("0|100|item 100||"));
    }

    void missingFileChangesNothing() {
        TestFolder dir;
        Competition s;
        s.DataFolder = dir.Path();
        s.ProgrammeCount = 7;
        s.ProgrammeCodes[3] = "x";
        s.ProgrammeTextsB[3] = "y";
        s.ProgrammeNonCompetition[3] = 1;
        QVERIFY(!ReadProgramme(s.DataFolder, s));
        QCOMPARE(s.ProgrammeCount, 7);
        QCOMPARE(Item(s, 3), QString("1|x|||y"));
    }

    void rereadClearsFloorB() {
        TestFolder dir;
        dir.WriteCp932("PGM.TXT", "0 001   A\n+ 101   B\n");
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(ReadProgramme(s.DataFolder, s));
        QCOMPARE(Item(s, 0), QString("0|001|A|101|B"));
        dir.WriteCp932("PGM.TXT", "0 001   A\n");
        QVERIFY(ReadProgramme(s.DataFolder, s));
        QCOMPARE(Item(s, 0), QString("0|001|A||"));
    }

    void garbageDoesNotCrash() {
        QRandomGenerator rng(4000);
        const char alphabet[] = "01+X \r\n\n\n\x81\x40\x83\xff";
        TestFolder dir;
        for (int round = 0; round < 200; ++round) {
            std::string bytes(rng.bounded(4000), '\0');
            for (char& c : bytes) {
                c = rng.bounded(4) == 0 ? static_cast<char>(rng.bounded(256))
                                        : alphabet[rng.bounded(int(sizeof(alphabet) - 1))];
            }
            dir.WriteBytes("pgm.txt", bytes);
            Competition s;
            s.DataFolder = dir.Path();
            QVERIFY(ReadProgramme(s.DataFolder, s));
            QVERIFY(s.ProgrammeCount >= 0 && s.ProgrammeCount <= kProgrammeRows);
        }
    }
};

QTEST_MAIN(ProgrammeFileTest)
#include "programme_file_test.moc"
