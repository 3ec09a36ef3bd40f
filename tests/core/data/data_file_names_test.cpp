// The names of the heat and final files a record leads to.
#include "core/data/data_file_names.h"

#include <QtTest>

class DataFileNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void names() {
        QCOMPARE(HeatFileName(3, 2), std::string("H_03_2.dat"));
        QCOMPARE(ShuffledHeatFileName(12, 7), std::string("SH_12_7.dat"));
        QCOMPARE(AssistHeatFileName(5, 6), std::string("Assist/H_05_6.dat"));
        // Numbers past two digits are written whole, as the scoring system writes them.
        QCOMPARE(FinalFileName(123), std::string("F_123.dat"));
    }

    void roundFiles() {
        const RoundFileNames one = RoundFilesOf(EventRecord({.category = 3, .round = 2}));
        QCOMPARE(one.shuffledA + " " + one.plainA, std::string("SH_03_2.dat H_03_2.dat"));
        QVERIFY(one.assistB.empty() && one.plainB.empty());
        const RoundFileNames two = RoundFilesOf(EventRecord(
            {.category = 3, .round = 2, .floorBEvent = 12, .floorBCategory = 5, .floorBRound = 6}));
        QCOMPARE(two.assistB + " " + two.plainB, std::string("Assist/H_05_6.dat H_05_6.dat"));
    }

    // Floor B's finalists come from its category's final, whatever round the record names.
    void finalists() {
        const EventRecord r(
            {.category = 1, .round = 7, .floorBEvent = 12, .floorBCategory = 2, .floorBRound = 8});
        QCOMPARE(FinalistsFileName(r, false), std::string("H_01_7.dat"));
        QCOMPARE(FinalistsFileName(r, true), std::string("H_02_7.dat"));
        QCOMPARE(FinalistsFileName(EventRecord({.category = 1, .round = 7}), true), std::string());
    }
};

QTEST_MAIN(DataFileNamesTest)
#include "data_file_names_test.moc"
