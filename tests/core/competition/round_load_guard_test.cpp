// The round load that keeps the last good round: a heat file of the round that cannot be read
// leaves the whole state as it was; readable files load as usual.
#include "core/competition/round_load_guard.h"

#include <unistd.h>

#include <QtTest>

#include "support/test_files.h"

class RoundLoadGuardTest : public QObject {
    Q_OBJECT
  private slots:
    void load_data() {
        QTest::addColumn<QString>("floorA");  // "file", "missing" or "unsettled"
        QTest::addColumn<QString>("floorB");  // the same, or "none" for one floor
        QTest::addColumn<bool>("loaded");
        QTest::newRow("one floor read") << "file"
                                        << "none" << true;
        QTest::newRow("two floors read") << "file"
                                         << "file" << true;
        QTest::newRow("floor A missing") << "missing"
                                         << "none" << false;
        QTest::newRow("floor B missing") << "file"
                                         << "missing" << false;
        QTest::newRow("floor A never settles") << "unsettled"
                                               << "none" << false;
    }
    void load() {
        QFETCH(QString, floorA);
        QFETCH(QString, floorB);
        QFETCH(bool, loaded);
        TestFolder dir;
        const auto make = [&](const QString& kind, const std::string& name) {
            if (kind == "file") dir.WriteBytes(name, "  12  13\r\n");
            if (kind == "unsettled") {
                QCOMPARE(symlink("/proc/self/status", (dir.Path() + "/" + name).c_str()), 0);
            }
        };
        make(floorA, "H_01_1.dat");
        make(floorB, "H_02_1.dat");
        Competition s;
        s.DataFolder = dir.Path();
        s.CategoryDanceRounds[0] = {1, 8, 8, 8, 8, 8, 8, 8, 8, 8};  // Waltz only
        s.EventCount = 1;
        s.EventTable[0] = EventRecord({.category = 1, .round = 1});
        if (floorB != "none")
            s.EventTable[0] = EventRecord({.category = 1,
                                           .round = 1,
                                           .floorBEvent = 2,
                                           .floorBCategory = 2,
                                           .floorBRound = 1});
        s.CurrentEventIndex = 0;
        // The round shown before.
        s.HeatTable[0][0] = 77;
        s.HeatRowsA = 4;
        s.HeatIndex = 3;
        s.DanceIndex = 1;
        s.RoundDances[0] = "Jive";
        s.RoundMarks.latinShown = true;
        s.HeatCount = 4;
        s.HeatsPerDance = 4;
        s.DanceCount = 2;
        s.LastDance = 1;

        const GuardedRoundLoad r = LoadRoundIfReadable(s);
        QCOMPARE(r.load.loaded, loaded);
        QCOMPARE(r.unreadable, !loaded);
        QCOMPARE(s.HeatTable[0][0], loaded ? 12 : 77);
        QCOMPARE(s.HeatRowsA, loaded ? 1 : 4);
        QCOMPARE(s.HeatIndex, loaded ? 0 : 3);
        QCOMPARE(s.DanceIndex, loaded ? 0 : 1);
        QCOMPARE(s.RoundDances[0], std::string(loaded ? "Waltz" : "Jive"));
        QCOMPARE(s.RoundMarks.latinShown, !loaded);
        QCOMPARE(s.HeatCount, loaded ? 1 : 4);
        QCOMPARE(s.HeatsPerDance, loaded ? 1 : 4);
        QCOMPARE(s.DanceCount, loaded ? 1 : 2);
        QCOMPARE(s.LastDance, loaded ? 0 : 1);
    }
};

QTEST_GUILESS_MAIN(RoundLoadGuardTest)
#include "round_load_guard_test.moc"
