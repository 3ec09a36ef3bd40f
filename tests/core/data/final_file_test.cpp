// Final files on real bytes: the 50-byte rule with the line end counted as one, ten rows at most,
// a last line without a line end, the number before " - " modulo Mod, a table never cleared.
#include "core/data/final_file.h"

#include <QtTest>

#include "core/platform/cp932.h"
#include "support/test_files.h"

using namespace Qt::StringLiterals;

namespace {

std::string Pad(const char* utf8, size_t width) {
    std::string bytes = Sjis(utf8);
    bytes.resize(std::max(bytes.size(), width), ' ');
    return bytes;
}

// A result line in the scoring system's byte columns, then the number and the marks.
std::string ResultLine(const char* placing, const char* leader, const char* partner,
                       const char* club, int number) {
    return Pad(placing, 8) + Pad(leader, 18) + Pad(partner, 18) + Pad(club, 26) +
           QString("%1 - 1 1 1\r\n").arg(number, 4).toStdString();
}

std::string NumberedFile(int rows) {
    std::string out = Sjis("決勝結果\r\n");
    for (int i = 1; i <= rows; ++i) out += ResultLine(std::to_string(i).c_str(), "森", "林", "", i);
    return out;
}

QString RowText(const ResultRow& r) {
    return QStringList{FromCp932(r.PlacingText), FromCp932(r.NumberText), FromCp932(r.CoupleText),
                       FromCp932(r.AffiliationText)}
        .join('|');
}

}  // namespace

class FinalFileTest : public QObject {
    Q_OBJECT
  private slots:
    void load_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("mod");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("lastRow");  // row rows - 1
        const std::string title = Sjis("第１位～第６位　ラテン\r\n");
        const std::string line = ResultLine("１位", "長谷川 優斗", "清水 葵", "甲府ＤＳＣ", 38);
        const QString row = u"１位|38|長谷川 優斗 / 清水 葵|甲府ＤＳＣ"_s;
        const auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
        QTest::newRow("twelve lines give ten rows")
            << bytes(NumberedFile(12)) << 1000 << 10 << u"10|10|森 / 林|"_s;
        QTest::newRow("48 characters and the line end end the list")
            << bytes(title + line + std::string(48, 'x') + "\r\n" + line) << 1000 << 1 << row;
        QTest::newRow("49 characters and the line end are read")
            << bytes(title + "9" + std::string(44, ' ') + "7 - \r\n") << 1000 << 1
            << u"9|7| / |7 -"_s;
        QTest::newRow("last line without a line end")
            << bytes(title + line.substr(0, line.size() - 2)) << 1000 << 1 << row;
        QTest::newRow("blank partner, ideographic spaces kept")
            << bytes(title + ResultLine("　１位", "田中 翔", "", "横浜　", 5)) << 1000 << 1
            << u"　１位|5|田中 翔 / |横浜　"_s;
        QTest::newRow("Mod 200 turns 215 into 15")
            << bytes(title + ResultLine("1", "森", "林", "", 215)) << 200 << 1
            << u"1|15|森 / 林|"_s;
        QTest::newRow("no marker keeps the number")
            << bytes(title + Pad("1", 70) + "\r\n") << 1000 << 1 << u"1|old| / |"_s;
        QTest::newRow("minus sign")
            << bytes(title + Pad("1", 70) + " -5 - 1\r\n") << 1000 << 1 << u"1|-5| / |"_s;
        // Nearer the start than three bytes: the bytes that are there, never before the line.
        QTest::newRow("marker at byte 1") << bytes(title + "8 - " + std::string(50, ' ') + "\r\n")
                                          << 1000 << 1 << u"8 -|8| / |"_s;
    }

    void load() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, mod);
        QFETCH(int, rows);
        QFETCH(QString, lastRow);
        TestFolder folder;
        folder.WriteBytes("F_03.dat", bytes.toStdString());
        ResultTables t;
        for (ResultRow& r : t.ResultTable) r = {"x", "old", "x", "x"};
        QVERIFY(LoadFinalFile(folder.Path(), 3, mod, t));
        QCOMPARE(t.ResultRowCount, rows);
        QCOMPARE(t.LastFinalRead.rows, rows);
        QCOMPARE(RowText(t.ResultTable[rows - 1]), lastRow);
        if (rows < kResultRows) QCOMPARE(RowText(t.ResultTable[rows]), u"x|old|x|x"_s);
    }

    // A shorter file overwrites its rows only; a missing file and a file without result lines
    // keep the table and the count.
    void keptBetweenReads() {
        TestFolder folder;
        folder.WriteBytes("F_01.dat", NumberedFile(8));
        folder.WriteBytes("F_02.dat", NumberedFile(6));
        folder.WriteBytes("F_04.dat", "title\r\n");
        ResultTables t;
        QVERIFY(LoadFinalFile(folder.Path(), 1, 1000, t));
        t.ResultTable[6].NumberText = "kept";
        QVERIFY(LoadFinalFile(folder.Path(), 2, 1000, t));
        QCOMPARE(t.ResultRowCount, 6);
        QCOMPARE(t.ResultTable[6].NumberText, std::string("kept"));
        QCOMPARE(t.LastFinalRead.titleLine, Sjis("決勝結果"));
        QVERIFY(!LoadFinalFile(folder.Path(), 3, 1000, t));
        QCOMPARE(t.ResultRowCount, 6);
        QVERIFY(!t.LastFinalRead.opened);
        QVERIFY(LoadFinalFile(folder.Path(), 4, 1000, t));
        QCOMPARE(t.ResultRowCount, 6);
        QCOMPARE(t.LastFinalRead.rows, 0);
    }
};

QTEST_MAIN(FinalFileTest)
#include "final_file_test.moc"
