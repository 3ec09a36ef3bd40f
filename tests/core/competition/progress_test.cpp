// Progress control of a round: dance marking, the round load from real heat files, and the heat
// state machine stepped forward and back.
#include "core/competition/progress.h"

#include <QtTest>
#include <cstdio>
#include <memory>

#include "support/test_files.h"

namespace {

const std::array<const char*, kDances> kNames{
    "Waltz", "Tango",     "Viennese Waltz", "Slow Foxtrot", "Quickstep",
    "Samba", "ChaChaCha", "Rumba",          "Paso Doble",   "Jive"};

// Heat lines of 4-byte right-aligned fields: row i holds back numbers 10i + 1 and 10i + 2.
std::string HeatLines(int rows) {
    std::string text;
    for (int i = 0; i < rows; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%4d%4d\n", 10 * i + 1, 10 * i + 2);
        text += line;
    }
    return text;
}

// The state as stepping leaves it: "dance,heat", "Y" while LastDance is set, "!" when Label29
// must be shown again, "-" when the step asked for no redraw.
QString Trace(const Competition& s, HeatStepResult step) {
    return QString("%1,%2%3%4%5")
        .arg(s.DanceIndex)
        .arg(s.HeatIndex)
        .arg(s.LastDance ? "Y" : "")
        .arg(step.lastDanceChanged ? "!" : "")
        .arg(step.redraw ? "" : "-");
}

}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT
  private slots:
    void planRoundDances_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("round");
        QTest::addColumn<QList<int>>("firstRounds");  // W T V F Q S C R P J
        QTest::addColumn<int>("danceCount");
        QTest::addColumn<QStringList>("roundDances");  // slots 0-4
        QTest::addColumn<QList<int>>("letters");       // positions with their own label marked
        QTest::addColumn<QList<int>>("counts");        // standard, latin, team
        QTest::addColumn<int>("teamSlots");            // slots 0..n-1 of the team panel marked

        QTest::newRow("standard 1,1,3,3,1 in round 2")
            << 1 << 2 << QList<int>{1, 1, 3, 3, 1, 8, 8, 8, 8, 8} << 3
            << QStringList{"Waltz", "Tango", "Quickstep", "", ""} << QList<int>{0, 1, 4}
            << QList<int>{3, 0, 0} << 0;
        QTest::newRow("same row in round 3")
            << 1 << 3 << QList<int>{1, 1, 3, 3, 1, 8, 8, 8, 8, 8} << 5
            << QStringList{"Waltz", "Tango", "Viennese Waltz", "Slow Foxtrot", "Quickstep"}
            << QList<int>{0, 1, 2, 3, 4} << QList<int>{5, 0, 0} << 0;
        QTest::newRow("both groups end with latin in front")
            << 2 << 1 << QList<int>{1, 1, 8, 8, 8, 1, 1, 1, 8, 8} << 3
            << QStringList{"Samba", "ChaChaCha", "Rumba", "", ""} << QList<int>{0, 1, 5, 6, 7}
            << QList<int>{2, 3, 0} << 0;
        QTest::newRow("team match C R W T")
            << 5 << 2 << QList<int>{1, 2, 8, 8, 8, 8, 1, 1, 8, 8} << 4
            << QStringList{"ChaChaCha", "Rumba", "Waltz", "Tango", ""} << QList<int>{}
            << QList<int>{0, 0, 4} << 4;
        QTest::newRow("team match of all ten dances")
            << 5 << 1 << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << 10
            << QStringList{"Samba", "ChaChaCha", "Rumba", "Paso Doble", "Jive"} << QList<int>{}
            << QList<int>{0, 0, 10} << 5;
        QTest::newRow("nothing danced yet")
            << 1 << 2 << QList<int>{3, 3, 8, 8, 8, 8, 8, 8, 8, 8} << 1
            << QStringList{"", "", "", "", ""} << QList<int>{} << QList<int>{0, 0, 0} << 0;
        QTest::newRow("no category")
            << 0 << 2 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0} << 1
            << QStringList{"", "", "", "", ""} << QList<int>{} << QList<int>{0, 0, 0} << 0;
        QTest::newRow("category past the table")
            << 41 << 2 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0} << 1
            << QStringList{"", "", "", "", ""} << QList<int>{} << QList<int>{0, 0, 0} << 0;
    }
    void planRoundDances() {
        QFETCH(int, category);
        QFETCH(int, round);
        QFETCH(QList<int>, firstRounds);
        QFETCH(int, danceCount);
        QFETCH(QStringList, roundDances);
        QFETCH(QList<int>, letters);
        QFETCH(QList<int>, counts);
        QFETCH(int, teamSlots);
        auto s = std::make_unique<Competition>();
        for (auto& row : s->CategoryDanceRounds) row.fill(0);  // every dance, had it been read
        if (category >= 1 && category <= kCategoryRows) {
            for (int d = 0; d < kDances; ++d) {
                s->CategoryDanceRounds[category - 1][d] = static_cast<int8_t>(firstRounds[d]);
            }
        }
        s->RoundDances.fill("stale");
        const DanceMarks m = PlanRoundDances(*s, category, round);
        QCOMPARE(m.danceCount, danceCount);
        QStringList firstSlots;
        for (int k = 0; k < 5; ++k) firstSlots << QString::fromStdString(s->RoundDances[k]);
        QCOMPARE(firstSlots, roundDances);
        for (int d = 0; d < kDances; ++d) QCOMPARE(m.letterMarked[d], letters.contains(d));
        for (int k = 0; k < 5; ++k) QCOMPARE(m.teamSlotMarked[k], k < teamSlots);
        QCOMPARE((QList<int>{m.standardCount, m.latinCount, m.teamCount}), counts);
        QCOMPARE(m.standardShown, counts[0] > 0);
        QCOMPARE(m.latinShown, counts[1] > 0);
        QCOMPARE(m.teamShown, counts[2] > 0);
        // Slots past five hold the rest of a long team match.
        if (danceCount > 5) QCOMPARE(QString::fromStdString(s->RoundDances[9]), kNames[4]);
    }

    void stepping_data() {
        QTest::addColumn<int>("rowsA");
        QTest::addColumn<bool>("shuffled");
        QTest::addColumn<int>("rowsB");  // 0: one floor
        QTest::addColumn<int>("dances");
        QTest::addColumn<QString>("steps");  // N next, P previous
        QTest::addColumn<QString>("trace");  // after the load, then after each step

        QTest::newRow("3 heats x 2 dances") << 3 << false << 0 << 2 << "NNNNNN"
                                            << "0,0 0,1 0,2 1,0Y! 1,1Y 1,2Y 1,2Y!-";
        QTest::newRow("back from the first heat of dance 1") << 3 << false << 0 << 2 << "NNNP"
                                                             << "0,0 0,1 0,2 1,0Y! 0,2!";
        QTest::newRow("back from the first heat") << 3 << false << 0 << 2 << "PN"
                                                  << "0,0 0,0- 0,1";
        QTest::newRow("shuffled 6 rows x 2 dances") << 6 << true << 0 << 2 << "NNNNNN"
                                                    << "0,0 0,1 0,2 1,3 1,4 1,5 1,5Y!-";
        QTest::newRow("shuffled back across the block") << 6 << true << 0 << 2 << "NNNPPP"
                                                        << "0,0 0,1 0,2 1,3 0,2 0,1 0,0";
        QTest::newRow("shuffled rows past the blocks") << 7 << true << 0 << 2 << "NNNNNNN"
                                                       << "0,0 0,1 0,2 1,3 1,4 1,5 1,6 1,6Y!-";
        QTest::newRow("missing heat file, 2 dances") << 0 << false << 0 << 2 << "NNP"
                                                     << "0,0 1,0Y! 1,0Y!- 0,0!";
        QTest::newRow("floor B longer than floor A") << 2 << false << 3 << 1 << "NNN"
                                                     << "0,0 0,1 0,2 0,2Y!-";
        // Beside a shuffled floor A every dance takes the heats of the floor with more.
        QTest::newRow("shuffled 2 x 2 beside floor B of 2") << 4 << true << 2 << 2 << "NNNN"
                                                            << "0,0 0,1 1,2 1,3 1,3Y!-";
        QTest::newRow("shuffled 2 x 2 beside floor B of 3")
            << 4 << true << 3 << 2 << "NNNNNNPPP"
            << "0,0 0,1 0,2 1,3 1,4 1,5 1,5Y!- 1,4Y 1,3Y 0,2Y";
    }
    void stepping() {
        QFETCH(int, rowsA);
        QFETCH(bool, shuffled);
        QFETCH(int, rowsB);
        QFETCH(int, dances);
        QFETCH(QString, steps);
        QFETCH(QString, trace);
        TestFolder folder;
        if (rowsA > 0) folder.WriteCp932(shuffled ? "SH_01_2.dat" : "H_01_2.dat", HeatLines(rowsA));
        if (rowsB > 0) folder.WriteCp932("Assist/H_03_2.dat", HeatLines(rowsB));
        auto s = std::make_unique<Competition>();
        s->DataFolder = folder.Path();
        s->CategoryCount = 3;
        s->CategoryDanceRounds[0].fill(8);
        for (int d = 0; d < dances; ++d) s->CategoryDanceRounds[0][d] = 1;
        s->EventTable[0] = rowsB > 0 ? EventRecord({.category = 1,
                                                    .round = 2,
                                                    .floorBEvent = 102,
                                                    .floorBCategory = 3,
                                                    .floorBRound = 2})
                                     : EventRecord({.category = 1, .round = 2});
        s->EventCount = 1;
        s->CurrentEventIndex = 0;
        s->LastDance = 1;
        s->DanceIndex = 4;

        const RoundLoad load = LoadRound(*s);
        QVERIFY(load.loaded);
        QCOMPARE(s->DanceCount, dances);
        QCOMPARE(s->ShuffledHeats, shuffled ? 1 : 0);
        QStringList seen{Trace(*s, {true, false})};
        for (QChar step : steps) {
            seen << Trace(*s, step == 'N' ? NextHeat(*s) : PreviousHeat(*s));
        }
        QCOMPARE(seen.join(' '), trace);
        QVERIFY(s->DanceIndex < s->DanceCount);
        const int heats = shuffled && rowsB > 0 ? dances * std::max(rowsA / dances, rowsB)
                                                : std::max({rowsA, rowsB, 1});
        QCOMPARE(QString::fromStdString(HeatsFigure(*s)), QString("/ %1H").arg(heats));
    }

    void shuffledHeatsPerDance() {
        TestFolder folder;
        folder.WriteCp932("SH_01_2.dat", HeatLines(6));
        folder.WriteCp932("H_01_2.dat", HeatLines(2));
        auto s = std::make_unique<Competition>();
        s->DataFolder = folder.Path();
        s->CategoryDanceRounds[0] = {1, 1, 8, 8, 8, 8, 8, 8, 8, 8};
        s->EventTable[0] = EventRecord({.category = 1, .round = 2});
        s->CurrentEventIndex = 0;
        LoadRound(*s);
        QCOMPARE(s->HeatsPerDance, 3);
        QCOMPARE(s->HeatCount, 6);
        QCOMPARE(s->HeatTable[5][0], 51);
    }

    // Lines past the 50-row table are dropped and reported to the console.
    void roundLoadReportsDroppedRows() {
        TestFolder folder;
        folder.WriteCp932("H_01_2.dat", HeatLines(40));
        folder.WriteCp932("Assist/H_03_2.dat", HeatLines(12));
        auto s = std::make_unique<Competition>();
        s->DataFolder = folder.Path();
        s->EventTable[0] = EventRecord(
            {.category = 1, .round = 2, .floorBEvent = 102, .floorBCategory = 3, .floorBRound = 2});
        s->CurrentEventIndex = 0;
        QCOMPARE(LoadRound(*s).rowsDropped, 2);
        QCOMPARE(FloorBRow(*s, 9), 49);
        QCOMPARE(FloorBRow(*s, 10), -1);
    }

    // The award sequence leaves its step count in HeatIndex; stepping afterwards stays in range.
    void steppingAfterAnAward() {
        Competition s;
        s.HeatRowsA = s.HeatsPerDance = 3;
        s.DanceCount = 2;
        s.HeatIndex = 12;
        QVERIFY(PreviousHeat(s).redraw);
        QCOMPARE(s.HeatIndex, 2);
        s.HeatIndex = 12;
        QVERIFY(NextHeat(s).redraw);
        QCOMPARE(s.DanceIndex, 1);
        QCOMPARE(s.HeatIndex, 0);
    }

    // A round read again keeps a prepared heat position only where it still has it.
    void restoresAHeatPositionItStillHas_data() {
        QTest::addColumn<int>("heat");
        QTest::addColumn<int>("dance");
        QTest::addColumn<bool>("kept");
        QTest::newRow("inside") << 2 << 1 << true;
        QTest::newRow("heat gone") << 3 << 0 << false;
        QTest::newRow("dance gone") << 0 << 2 << false;
        QTest::newRow("before the first") << -1 << 0 << false;
    }
    void restoresAHeatPositionItStillHas() {
        QFETCH(int, heat);
        QFETCH(int, dance);
        QFETCH(bool, kept);
        Competition s;
        s.HeatRowsA = s.HeatsPerDance = 3;
        s.DanceCount = 2;
        s.HeatIndex = 0;
        QCOMPARE(RestoreHeatPosition(s, {.heatIndex = heat, .danceIndex = dance, .lastDance = 1}),
                 kept);
        QCOMPARE(s.HeatIndex, kept ? heat : 0);
        QCOMPARE(s.DanceIndex, kept ? dance : 0);
        QCOMPARE(s.LastDance, kept ? 1 : 0);
    }

    void noCurrentEventLoadsNothing() {
        Competition s;
        s.CurrentEventIndex = -1;
        s.HeatIndex = 4;
        s.RoundDances[0] = "Samba";
        QVERIFY(!LoadRound(s).loaded);
        QCOMPARE(s.HeatIndex, 4);
        QCOMPARE(s.RoundDances[0], std::string("Samba"));
    }
};

QTEST_MAIN(ProgressTest)
#include "progress_test.moc"
