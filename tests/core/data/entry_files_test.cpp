// Mem.csv and seqdat.csv on real CP932 files: atol and "%d" conversions, missing and extra fields,
// blank lines, kept entries on reload, the last line without a line end, over-long lines and the
// table limits.
#include "core/data/entry_files.h"

#include <QRandomGenerator>
#include <QtTest>

#include "core/competition/competition_state.h"
#include "core/platform/cp932.h"
#include "support/test_files.h"

class EntryFilesTest : public QObject {
    Q_OBJECT
  private slots:
    void couples_data() {
        QTest::addColumn<QByteArray>("mem");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("name");  // "<kept>": the preset texts are still there
        QTest::addColumn<QString>("affiliation");
        auto row = [](const char* tag, const std::string& bytes, int number, QString name,
                      QString affiliation) {
            QTest::newRow(tag) << QByteArray::fromStdString(bytes) << number << name << affiliation;
        };
        row("six fields", Cp932Lines("12,リーダーＡ,パートナーＢ,x,y,クラブＣ\n"), 12,
            "リーダーＡ / パートナーＢ", "クラブＣ");
        row("fields after the sixth ignored", Cp932Lines("12,A,B,x,y,C,D,E\n"), 12, "A / B", "C");
        row("blanks and tabs trimmed, ideographic space kept",
            Cp932Lines("5,  髙橋 \t, 﨑山①　,,, 東京 \n"), 5, "髙橋 / 﨑山①　", "東京");
        row("two fields: solo entry", Cp932Lines("7,ソロ\n"), 7, "ソロ / ", "");
        row("blank line resets back number 0", Cp932Lines("\n"), 0, " / ", "");
        row("atol: blanks and sign", Cp932Lines("  +9,A,B\n"), 9, "A / B", "");
        row("atol: digits then text", Cp932Lines("10abc,A,B\n"), 10, "A / B", "");
        row("atol: no digits is 0", Cp932Lines("abc,A,B\n"), 0, "A / B", "");
        row("back number 999", Cp932Lines("999,A,B\n"), 999, "A / B", "");
        row("back number 1000 skipped", Cp932Lines("1000,A,B\n"), 999, "<kept>", "<kept>");
        row("negative back number skipped", Cp932Lines("-1,A,B\n"), 0, "<kept>", "<kept>");
        row("huge back number skipped", Cp932Lines("99999999999999999999999,A,B\n"), 0, "<kept>",
            "<kept>");
        row("last line without line end not read", Cp932Lines("3,A,B\n4,C,D"), 4, "<kept>",
            "<kept>");
        row("LF-only line ends", "3,A,B\n4,C,D\n", 4, "C / D", "");
        row("line end in the last field read", Cp932Lines("6,A\n"), 6, "A / ", "");
        row("quotes are text", Cp932Lines("8,\"A,B\",C\n"), 8, "\"A / B\"", "");
    }
    void couples() {
        QFETCH(QByteArray, mem);
        QFETCH(int, number);
        QFETCH(QString, name);
        QFETCH(QString, affiliation);
        TestFolder dir;
        dir.WriteBytes("Mem.csv", mem.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        for (int n = 0; n < kCoupleRows; ++n) {
            s.CoupleNames[n] = "kept";
            s.CoupleAffiliations[n] = "kept";
        }
        LoadEntries(s.DataFolder, s);
        QCOMPARE(FromCp932(s.CoupleNames[number]), name == "<kept>" ? "kept" : name);
        QCOMPARE(FromCp932(s.CoupleAffiliations[number]),
                 affiliation == "<kept>" ? "kept" : affiliation);
    }

    void reloadKeepsRemovedCouples() {
        TestFolder dir;
        dir.WriteCp932("Mem.csv", "1,A,B,,,X\n2,C,D,,,Y\n");
        Competition s;
        s.DataFolder = dir.Path();
        LoadEntries(s.DataFolder, s);
        dir.WriteCp932("Mem.csv", "2,E,F,,,Z\n");
        LoadEntries(s.DataFolder, s);
        QCOMPARE(s.CoupleNames[1], std::string("A / B"));
        QCOMPARE(s.CoupleNames[2], std::string("E / F"));
        QCOMPARE(s.CoupleAffiliations[2], std::string("Z"));
        dir.Remove("Mem.csv");
        LoadEntries(s.DataFolder, s);  // missing file: nothing changes
        QCOMPARE(s.CoupleNames[2], std::string("E / F"));
    }

    void overLongMemLineKeepsItsFirst255Bytes() {
        TestFolder dir;
        // 5,<300 bytes>,B: the first 255 bytes hold the number and the cut name; the rest of the
        // line is dropped, not read as a couple 0 named "B".
        dir.WriteBytes("Mem.csv", "5," + std::string(300, 'n') + ",B\r\n6,C\r\n");
        Competition s;
        s.DataFolder = dir.Path();
        LoadEntries(s.DataFolder, s);
        QCOMPARE(s.CoupleNames[5], std::string(253, 'n') + " / ");
        QCOMPARE(s.CoupleNames[0], std::string());
        QCOMPARE(s.CoupleNames[6], std::string("C / "));
    }

    void events_data() {
        QTest::addColumn<QByteArray>("seqdat");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("ints");  // ints 0-14 of event `index`
        auto row = [](const char* tag, const std::string& bytes, int count, int index, QString name,
                      QList<int> ints) {
            QTest::newRow(tag) << QByteArray::fromStdString(bytes) << count << index << name
                               << ints;
        };
        const QList<int> zero(15, 0);
        row("one-floor event", Cp932Lines("001 スタンダードＡ級,4,2,3,24,0,0\n"), 1, 0,
            "001 スタンダードＡ級", {0, 4, 2, 3, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("two floors, all twelve numbers", Cp932Lines("002,1,7,1,6,0,3,2,7,1,6,11,12\n"), 1, 0,
            "002", {0, 1, 7, 1, 6, 0, 3, 2, 7, 1, 6, 11, 12, 0, 0});
        row("fields after the twelfth ignored",
            Cp932Lines("003,1,2,3,4,5,6,7,8,9,10,11,12,13,14\n"), 1, 0, "003",
            {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0, 0});
        row("text in a number field", Cp932Lines("004,4,x,3\n"), 1, 0, "004",
            {0, 4, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("%d: blanks, sign, trailing text", Cp932Lines("005,  7, -3,12abc,+2\n"), 1, 0, "005",
            {0, 7, -3, 12, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("empty fields", Cp932Lines("006,,5,,\n"), 1, 0, "006",
            {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("name kept untrimmed", Cp932Lines(" 007 ラテン ,1\n"), 1, 0, " 007 ラテン ",
            {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("line without comma: empty event", Cp932Lines("008 名前だけ\n009,5\n"), 2, 0, "", zero);
        row("blank line counts as an event", Cp932Lines("\n009,5\n"), 2, 1, "009",
            {0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("last line without line end not read", Cp932Lines("001,1\n002,2"), 1, 1, "", zero);
        row("CP932-only characters in the name", Cp932Lines("010 髙﨑①杯,3,1\n"), 1, 0,
            "010 髙﨑①杯", {0, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        row("number overflow saturates", Cp932Lines("011,99999999999\n"), 1, 0, "011",
            {0, 2147483647, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        // 150 bytes: the first 127 are the event; the rest is no event of its own.
        row("over-long line: one event", "012,3," + std::string(144, '7') + ",5\r\n013,4\r\n", 2, 1,
            "013", {0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    }
    void events() {
        QFETCH(QByteArray, seqdat);
        QFETCH(int, count);
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QList<int>, ints);
        TestFolder dir;
        dir.WriteBytes("seqdat.csv", seqdat.toStdString());
        Competition s;
        s.DataFolder = dir.Path();
        s.EventNames[index] = "old";
        s.EventTable[index].Ints.fill(9);
        QVERIFY(LoadEvents(s.DataFolder, s));
        QCOMPARE(s.EventCount, count);
        QCOMPARE(FromCp932(s.EventNames[index]), name);
        QList<int> got;
        for (int v : s.EventTable[index].Ints) got << v;
        QCOMPARE(got, ints);
    }

    void eventTableLimit() {
        TestFolder dir;
        std::string bytes;
        for (int i = 1; i <= 105; ++i)
            bytes += QString("%1,%1\r\n").arg(i, 3, 10, QChar('0')).toStdString();
        dir.WriteBytes("seqdat.csv", bytes);
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(LoadEvents(s.DataFolder, s));
        QCOMPARE(s.EventCount, kEventRows);
        QCOMPARE(s.EventNames[99], std::string("100"));
        QCOMPARE(s.EventTable[99].Category(), 100);
    }

    void missingSeqdatChangesNothing() {
        TestFolder dir;
        Competition s;
        s.DataFolder = dir.Path();
        s.EventCount = 3;
        s.EventNames[0] = "001";
        s.EventTable[0] = EventRecord({.category = 4});
        QVERIFY(!LoadEvents(s.DataFolder, s));
        QCOMPARE(s.EventCount, 3);
        QCOMPARE(s.EventNames[0], std::string("001"));
        QCOMPARE(s.EventTable[0].Category(), 4);
    }

    void reloadClearsEveryEvent() {
        TestFolder dir;
        dir.WriteCp932("seqdat.csv", "001,1\n002,2\n");
        Competition s;
        s.DataFolder = dir.Path();
        QVERIFY(LoadEvents(s.DataFolder, s));
        dir.WriteCp932("SEQDAT.CSV.tmp", "");  // an unrelated file does not confuse the lookup
        dir.WriteCp932("seqdat.csv", "003,3\n");
        QVERIFY(LoadEvents(s.DataFolder, s));
        QCOMPARE(s.EventCount, 1);
        QCOMPARE(s.EventNames[1], std::string());
        QCOMPARE(s.EventTable[1].Category(), 0);
    }

    void garbageDoesNotCrash() {
        QRandomGenerator rng(999);
        const char alphabet[] = ",,,\r\n\n 0123456789-+x\x81\x40\x83\xff";
        TestFolder dir;
        for (int round = 0; round < 200; ++round) {
            std::string bytes(rng.bounded(3000), '\0');
            for (char& c : bytes) {
                c = rng.bounded(4) == 0 ? static_cast<char>(rng.bounded(256))
                                        : alphabet[rng.bounded(int(sizeof(alphabet) - 1))];
            }
            dir.WriteBytes("Mem.csv", bytes);
            dir.WriteBytes("seqdat.csv", bytes);
            Competition s;
            s.DataFolder = dir.Path();
            LoadEntries(s.DataFolder, s);
            QVERIFY(LoadEvents(s.DataFolder, s));
            QVERIFY(s.EventCount >= 0 && s.EventCount <= kEventRows);
        }
    }
};

QTEST_MAIN(EntryFilesTest)
#include "entry_files_test.moc"
