// What a command reads for the finalists and the final result before its passes (each file once,
// nothing changed when it cannot be read), and what showing a view changes.
#include "core/competition/view_data.h"

#include <QtTest>

#include "core/competition/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/file_read_recorder.h"
#include "core/platform/stable_file.h"
#include "support/test_files.h"

namespace {

std::string HeatLineText(std::initializer_list<int> numbers) {
    std::string line;
    for (int n : numbers) line += QString("%1").arg(n, 4).toStdString();
    return line + "\r\n";
}

// A final file of category 3 with `rows` result lines (number i, club Ci).
std::string FinalFile(int rows) {
    std::string out = Sjis("第１位～第３位\r\n");
    for (int i = 1; i <= rows; ++i) {
        out += QString("%1").arg(i, -8).toStdString() + std::string(36, 'x') +
               QString("C%1").arg(i, -26).toStdString() +
               QString("%1 - 1\r\n").arg(i, 4).toStdString();
    }
    return out;
}

}  // namespace

class ViewDataTest : public QObject {
    Q_OBJECT
  private slots:
    void effects_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("altLayout");
        QTest::addColumn<int>("awardReady");
        // The views with the common header end a running award sequence; the result in the
        // alternate layout draws no header and leaves it.
        const int expected[8] = {1, 1, 0, 0, 0, 0, 1, 1};
        for (int type = 0; type < 8; ++type) {
            QTest::addRow("view %d", type) << type << 0 << expected[type];
        }
        QTest::newRow("result, alternate layout") << kViewFinalResult << 1 << 1;
        QTest::newRow("judges, alternate layout") << kViewJudges << 1 << 0;
    }
    void effects() {
        QFETCH(int, type);
        QFETCH(int, altLayout);
        QFETCH(int, awardReady);
        Competition s;
        s.AwardReady = 1;
        s.AltResultLayout = altLayout;
        ApplyViewEffects(s, type);
        QCOMPARE(s.CurrentView, type);
        QCOMPARE(s.AwardReady, awardReady);
    }

    void finalists_data() {
        QTest::addColumn<int>("floorBEvent");
        QTest::addColumn<int>("secondFloor");
        QTest::addColumn<QList<int>>("numbers");
        QTest::addColumn<int>("reads");
        QTest::newRow("floor A: the round's own file") << 12 << 0 << QList<int>{11, 12} << 1;
        QTest::newRow("floor B: its category's final") << 12 << 1 << QList<int>{21, 22, 23} << 1;
        QTest::newRow("floor B without one: nothing read") << 0 << 1 << QList<int>{} << 0;
        QTest::newRow("missing file: empty") << 12 << 0 << QList<int>{} << 1;
    }
    void finalists() {
        QFETCH(int, floorBEvent);
        QFETCH(int, secondFloor);
        QFETCH(QList<int>, numbers);
        QFETCH(int, reads);
        TestFolder folder;
        if (!numbers.isEmpty() || secondFloor == 1) {
            folder.WriteBytes("H_01_7.dat", HeatLineText({11, 12}));
            folder.WriteBytes("H_02_7.dat", HeatLineText({21, 22, 23}));
        }
        Competition s;
        s.DataFolder = folder.Path();
        s.EventTable[0] = EventRecord(
            {.category = 1, .round = 7, .floorBEvent = floorBEvent, .floorBCategory = 2});
        s.CurrentEventIndex = 0;
        s.SecondFloorFinal = secondFloor;
        s.FinalistsLine.count = 5;  // a list read before is replaced
        const FileReadRecorder recorder;
        ReadFinalists(s);
        QCOMPARE(int(recorder.Reads().size()), reads);
        QCOMPARE(s.FinalistsLine.count, numbers.size());
        for (int k = 0; k < numbers.size(); ++k) QCOMPARE(s.FinalistsLine.numbers[k], numbers[k]);
    }

    // A finalists' file written a moment ago is not read: the list read before stays, and the
    // view is not to be drawn.
    void finalistsBeingWritten() {
        TestFolder folder;
        folder.WriteBytes("H_01_7.dat", HeatLineText({11, 12}));
        Competition s;
        s.DataFolder = folder.Path();
        s.EventTable[0] = EventRecord({.category = 1, .round = 7});
        s.CurrentEventIndex = 0;
        s.FinalistsLine.count = 5;
        SetFileSettleTime(std::chrono::hours(1));
        const bool ready = ReadViewInputs(s, kViewFinalists);
        SetFileSettleTime({});
        QVERIFY(!ready);
        QCOMPARE(s.FinalistsLine.count, 5);
        QVERIFY(ReadViewInputs(s, kViewFinalists));
        QCOMPARE(s.FinalistsLine.count, 2);
    }

    void finalResult_data() {
        QTest::addColumn<int>("listRow");
        QTest::addColumn<bool>("fileThere");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("rows");  // ResultRowCount after; 4 was there before
        QTest::addColumn<bool>("lastOpened");
        QTest::newRow("read: three rows") << 0 << true << true << 3 << true;
        QTest::newRow("unreadable: nothing changes") << 0 << false << false << 4 << true;
        QTest::newRow("no row chosen: nothing read, no last read")
            << -1 << true << true << 4 << false;
    }
    void finalResult() {
        QFETCH(int, listRow);
        QFETCH(bool, fileThere);
        QFETCH(bool, read);
        QFETCH(int, rows);
        QFETCH(bool, lastOpened);
        TestFolder folder;
        if (fileThere) folder.WriteBytes("F_03.dat", FinalFile(3));
        Competition s;
        s.DataFolder = folder.Path();
        s.ResultListCategories[0] = 2;
        s.ResultListRow = listRow;
        s.ResultRowCount = 4;
        s.ResultTable[0].AffiliationText = "before";
        s.LastFinalRead = {true, "before", 4};
        const FileReadRecorder recorder;
        QCOMPARE(ReadFinalResult(s), read);
        QCOMPARE(int(recorder.Reads().size()), listRow < 0 ? 0 : 1);
        QCOMPARE(s.ResultRowCount, rows);
        QCOMPARE(s.LastFinalRead.opened, lastOpened);
        QCOMPARE(s.ResultTable[0].AffiliationText,
                 std::string(fileThere && listRow >= 0 ? "C1" : "before"));
    }
};

QTEST_MAIN(ViewDataTest)
#include "view_data_test.moc"
