// Start-time estimates: a small day worked out by hand (one floor, two floors, a final, a break, a
// lunch span in full-width digits), the current item while stepped, the pace from the steps, the
// times named in texts, and a couple's next heat across rounds.
#include "core/competition/estimates.h"

#include <QtTest>
#include <memory>

#include "core/competition/couple_heats.h"
#include "core/competition/now_json.h"
#include "core/competition/pace_tracker.h"
#include "core/competition/progress.h"
#include "core/platform/cp932.h"

namespace {

int At(const char* hhmmss) {
    return QTime::fromString(hhmmss, "HH:mm:ss").msecsSinceStartOfDay() / 1000;
}
QString Clock(int seconds) { return QTime(0, 0).addSecs(seconds).toString("HH:mm:ss"); }

// Category 1 standard (W T Q from round 1, all five from round 3), category 2 latin (S C R from
// round 1). Events: 001 category 1 round 1, 3 heats; 002 category 1 round 2, 2 heats, with 003
// category 2 round 1, 3 heats, on floor B; 004 category 1's final. Items:
// 0 開会式, 1 001, 2 002 (+003), 3 休憩, 4 昼休み（１２：００～１２：５０）, 5 004, 6 閉会式.
std::unique_ptr<Competition> SmallDay() {
    auto s = std::make_unique<Competition>();
    s->CategoryCount = 2;
    s->CategoryDanceRounds[0] = {1, 1, 3, 3, 1, 9, 9, 9, 9, 9};
    s->CategoryDanceRounds[1] = {9, 9, 9, 9, 9, 1, 1, 1, 2, 2};
    const EventFields events[] = {{.category = 1, .round = 1, .heats = 3},
                                  {.category = 1,
                                   .round = 2,
                                   .heats = 2,
                                   .floorBEvent = 3,
                                   .floorBCategory = 2,
                                   .floorBRound = 1,
                                   .floorBHeats = 3},
                                  {.category = 1, .round = kFinalRound, .heats = 1}};
    const char* names[] = {"001", "002", "004"};
    for (int e = 0; e < 3; ++e) {
        s->EventTable[e] = EventRecord(events[e]);
        s->EventNames[e] = names[e];
    }
    s->EventCount = 3;
    const char* items[][2] = {{"", "開会式"},
                              {"001", ""},
                              {"002", ""},
                              {"", "休憩"},
                              {"", "昼休み（１２：００～１２：５０）"},
                              {"004", ""},
                              {"", "閉会式"}};
    for (int i = 0; i < 7; ++i) {
        s->ProgrammeCodes[i] = items[i][0];
        s->ProgrammeTexts[i] = Sjis(items[i][1]);
        s->ProgrammeNonCompetition[i] = items[i][0][0] == '\0' ? 1 : 0;
    }
    s->ProgrammeCount = 7;
    return s;
}

EstimateSettings NoChangeover() {
    EstimateSettings settings;
    settings.changeoverSeconds = 0;
    return settings;
}

using Row = HeatRow;
Row R(std::initializer_list<int> numbers) {
    Row row{};
    std::copy(numbers.begin(), numbers.end(), row.begin());
    return row;
}

}  // namespace

class EstimatesTest : public QObject {
    Q_OBJECT
  private slots:
    // Pace 100 s: 001 3 heats x 3 dances; 002 with 003 beside it 3 heats x 3 dances; the final
    // 5 dances + 180 s presentation. Starting at 09:00:00.
    void smallDayByHand() {
        const auto s = SmallDay();
        const DayEstimate day = EstimateDay(
            *s, {.now = At("09:00:00"), .currentItem = 0, .currentStartedAt = At("09:00:00")},
            NoChangeover());
        const QStringList expected{"0 09:00:00 600 default", "1 09:10:00 900",
                                   "2 09:25:00 900",         "3 09:40:00 600 default",
                                   "4 12:00:00 3000 fixed",  "5 12:50:00 680",
                                   "6 13:01:20 600 default"};
        QStringList got;
        for (const ItemEstimate& e : day.items) {
            got << QString("%1 %2 %3%4%5")
                       .arg(e.item)
                       .arg(Clock(e.start))
                       .arg(e.length)
                       .arg(e.defaultLength ? " default" : "")
                       .arg(e.fixed ? " fixed" : "");
        }
        QCOMPARE(got, expected);
        QCOMPARE(Clock(day.end), QString("13:11:20"));
        // A call to the floor of 60 s learnt from the day: the lunch takes up the morning's two
        // minutes, the final starts one later.
        const DayEstimate slower = EstimateDay(*s, {.now = At("09:00:00"),
                                                    .currentItem = 0,
                                                    .currentStartedAt = At("09:00:00"),
                                                    .changeoverSeconds = 60});
        QCOMPARE(Clock(slower.end), QString("13:12:20"));
        QCOMPARE(day.items[4].kind, ItemKind::Lunch);
        QCOMPARE(day.items[2].dances, 3);
    }

    // An item's event: the first event of the code's number; none for a code that names no
    // event, a carried-on ("X") code or a non-competition item.
    void eventOfItem() {
        const auto s = SmallDay();
        s->EventNames[3] = "002";  // a second event of a number: the first one counts
        s->EventCount = 4;
        const std::pair<const char*, int> cases[] = {{"001", 0},  {"002", 1},  {" 4 ", 2},
                                                     {"005", -1}, {"X02", -1}, {"ab", -1}};
        for (const auto& [code, event] : cases) {
            s->ProgrammeCodes[1] = code;
            QCOMPARE(EventOfItem(*s, 1), event);
        }
        QCOMPARE(EventOfItem(*s, 0), -1);  // 開会式
        s->EventCount = 1;                 // the table's rows past its count are not events
        s->ProgrammeCodes[1] = "002";
        QCOMPARE(EventOfItem(*s, 1), -1);
    }

    // The step the console shows, as LiveProgress counts it: a plain round repeats its heats in
    // every dance, a shuffled one counts through its dance blocks.
    void currentHeatStep() {
        auto s = std::make_unique<Competition>();
        const int rows[][5] = {
            {-1, 0, 3, 0, -1}, {2, 0, 3, 0, 2}, {1, 2, 3, 0, 7}, {7, 2, 9, 1, 7}};
        for (const auto& [heat, dance, count, shuffled, step] : rows) {
            s->HeatIndex = heat;
            s->DanceIndex = dance;
            s->HeatCount = count;
            s->ShuffledHeats = shuffled;
            QCOMPARE(CurrentHeatStep(*s), step);
        }
        // The step counts once the operator stepped in this item.
        PaceTracker tracker;
        tracker.StartItem(1000);
        QCOMPARE(LiveProgressOf(*s, tracker, 1100, 1000).heatStep, -1);
        tracker.Step(1200);
        const LiveProgress live = LiveProgressOf(*s, tracker, 1250, 1000);
        QCOMPARE(QList<int>({live.heatStep, live.heatStepAt, live.secondsPerHeat}),
                 QList<int>({7, 1200, 100}));
    }

    // The current item: its end, and so the next item's start. live: the item, when it became
    // current, the heat step shown and when it was stepped to ("-": not stepped), now.
    void currentItem_data() {
        QTest::addColumn<QString>("live");
        QTest::addColumn<QString>("nextStart");
        const char* rows[][3] = {
            {"not stepped yet", "1 10:00:00 - - 10:05:00", "10:15:00"},
            {"heat 5 of 9 stepped", "1 10:00:00 4 10:06:40 10:07:00", "10:15:00"},
            {"heat runs long", "1 10:00:00 4 10:06:40 10:10:00", "10:16:40"},
            {"last heat, overrun", "1 10:00:00 8 10:20:00 10:25:00", "10:25:00"},
            {"lunch keeps its end", "4 12:10:00 - - 12:20:00", "12:50:00"},
            {"lunch overrun", "4 12:10:00 - - 12:55:00", "12:55:00"},
            {"lunch begun late keeps half", "4 12:40:00 - - 12:41:00", "13:05:00"}};
        for (const auto& row : rows) QTest::newRow(row[0]) << row[1] << row[2];
    }
    void currentItem() {
        QFETCH(QString, live);
        const QStringList f = live.split(' ');
        const auto s = SmallDay();
        const bool stepped = f[2] != "-";
        const LiveProgress progress{.now = At(qPrintable(f[4])),
                                    .currentItem = f[0].toInt(),
                                    .currentStartedAt = At(qPrintable(f[1])),
                                    .heatStep = stepped ? f[2].toInt() : -1,
                                    .heatStepAt = stepped ? At(qPrintable(f[3])) : -1};
        const DayEstimate day = EstimateDay(*s, progress, NoChangeover());
        QTEST(Clock(day.items.at(1).start), "nextStart");
    }

    void pace_data() {
        QTest::addColumn<QList<int>>("steps");  // step times; -1 starts a new item
        QTest::addColumn<int>("perHeat");
        QTest::addColumn<bool>("fromSteps");
        QTest::newRow("no step: default") << QList<int>{} << 100 << false;
        QTest::newRow("two intervals: default") << QList<int>{0, 90, 180} << 100 << false;
        QTest::newRow("mean of three") << QList<int>{0, 90, 210, 300} << 100 << true;
        QTest::newRow("pause and correction left out")
            << QList<int>{0, 130, 930, 935, 1065} << 100 << false;
        QTest::newRow("item change breaks the chain")
            << QList<int>{0, 130, -1, 200, 330} << 100 << false;
        QTest::newRow("one slow heat does not move it")
            << QList<int>{0, 100, 200, 300, 400, 690} << 100 << true;
        QList<int> day{0};  // 24 heats of 60 s, then 24 of 120 s
        for (int k = 1; k <= 48; ++k) day << day.back() + (k <= 24 ? 60 : 120);
        QTest::newRow("the recent heats count") << day << 120 << true;
    }
    void pace() {
        QFETCH(QList<int>, steps);
        PaceTracker tracker;
        for (int t : steps) t < 0 ? tracker.StartItem(0) : tracker.Step(t);
        QTEST(tracker.SecondsPerHeat(), "perHeat");
        QTEST(tracker.FromSteps(), "fromSteps");
    }

    // The call to the floor: an item's first step less one heat (100 s before any pace).
    void changeover() {
        PaceTracker tracker;
        const struct {
            int start, firstStep;
            bool final;
            int expected;
        } rows[] = {{0, 145, false, 30},       // one seen: still the fallback
                    {1000, 1400, true, 30},    // a final's presentation is no call
                    {2000, 2160, false, 53},   // the median of 45 and 60
                    {3000, 4000, false, 53}};  // a pause of 15 min left out
        for (const auto& row : rows) {
            tracker.StartItem(row.start, row.final);
            tracker.Step(row.firstStep);
            QCOMPARE(tracker.ChangeoverSeconds(30), row.expected);
        }
    }

    // A step re-estimates: heats of 130 s push the rest of 001 and the items after it.
    void reestimateAfterStep() {
        const auto s = SmallDay();
        PaceTracker tracker;
        const auto next = [&](int step, int at) {
            tracker.Step(at);
            const LiveProgress live{.now = at,
                                    .currentItem = 1,
                                    .currentStartedAt = At("10:00:00"),
                                    .heatStep = step,
                                    .heatStepAt = at,
                                    .secondsPerHeat = tracker.SecondsPerHeat()};
            return Clock(EstimateDay(*s, live, NoChangeover()).items.at(1).start);
        };
        QCOMPARE(next(1, At("10:02:10")), QString("10:15:30"));  // 8 heats from 10:02:10 at 100 s
        next(2, At("10:04:20"));
        next(3, At("10:06:30"));
        QCOMPARE(next(4, At("10:08:40")), QString("10:19:30"));  // 5 heats from 10:08:40 at 130 s
    }

    void fixedTime_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("span");
        QTest::newRow("full width") << "昼休み（１２：００～１２：５０）"
                                    << "12:00:00-12:50:00";
        QTest::newRow("half width, hyphen") << "Lunch 12:00-12:50"
                                            << "12:00:00-12:50:00";
        QTest::newRow("wave dash, blanks") << "休憩 9:05 〜 9:20"
                                           << "09:05:00-09:20:00";
        QTest::newRow("minus sign") << "休憩（１５：１０−１５：３０）"
                                    << "15:10:00-15:30:00";
        QTest::newRow("start only") << "表彰式 16:30～"
                                    << "16:30:00";
        QTest::newRow("kanji hours") << "昼休み 12時～13時10分"
                                     << "12:00:00-13:10:00";
        QTest::newRow("no time") << "第３２回 表彰式"
                                 << "";
        QTest::newRow("not a time") << "休憩 25:00"
                                    << "";
    }
    void fixedTime() {
        QFETCH(QString, text);
        // Twice: the second reading is the one kept from the first.
        for (int i = 0; i < 2; ++i) {
            const std::optional<FixedTime> t = FixedTimeOf(ToCp932(text));
            QString span;
            if (t) span = Clock(t->start) + (t->end >= 0 ? "-" + Clock(t->end) : "");
            QTEST(span, "span");
        }
    }

    void kindOfText() {
        const std::pair<const char*, ItemKind> rows[] = {
            {"開会式", ItemKind::Ceremony},
            {"表彰式・閉会式", ItemKind::Awards},
            {"昼休憩", ItemKind::Lunch},
            {"休憩", ItemKind::Break},
            {"審査員紹介", ItemKind::JudgesIntroduction},
            {"デモンストレーション", ItemKind::Demonstration},
            {"抽選会", ItemKind::Other}};
        // Read, then known.
        for (int pass = 0; pass < 2; ++pass) {
            for (const auto& [text, kind] : rows) QCOMPARE(KindOfText(Sjis(text)), kind);
        }
    }

    // The estimates' clock: the time of day, whatever day the seconds fall in.
    void clockOf() {
        const std::pair<int, const char*> rows[] = {
            {0, "00:00"}, {9 * 3600 + 5 * 60 + 59, "09:05"}, {86399, "23:59"},
            {-60, "23:59"}, {86400 + 3600, "01:00"}};
        for (const auto& [seconds, text] : rows) QCOMPARE(ClockOf(seconds), QString(text));
    }

    // Counted without the state agrees with what loading the round plans.
    void roundDanceCount() {
        auto s = std::make_unique<Competition>();
        s->CategoryDanceRounds[0] = {1, 1, 3, 3, 1, 9, 9, 9, 9, 9};
        s->CategoryDanceRounds[1] = {1, 1, 9, 9, 9, 1, 1, 1, 9, 9};  // both groups
        s->CategoryDanceRounds[4] = {1, 2, 9, 9, 9, 9, 1, 1, 9, 9};  // the team match
        for (int category : {0, 1, 2, 5, 41}) {
            for (int round : {1, 2, 3, 7}) {
                const int counted = RoundDanceCount(*s, category, round);
                QCOMPARE(counted, PlanRoundDances(*s, category, round).danceCount);
            }
        }
    }

    // 002 current at its 8th heat step (dance 3, heat 2) at 11:00:00: the rest of 002 at 100 s,
    // 休憩 to 11:13:20, lunch 12:00-12:50, then 004, here the lower final (not drawn); the final
    // is drawn (with 13 alone) but not in the programme.
    void coupleNextHeat_data() {
        QTest::addColumn<int>("backNumber");
        QTest::addColumn<QString>("next");
        QTest::newRow("on the floor now") << 15 << "heat item 2 dance 2 heat 2 A 11:00:00";
        QTest::newRow("floor B, next step") << 23 << "heat item 2 dance 2 heat 3 B 11:01:40";
        QTest::newRow("not in the final: the lower final") << 11 << "round item 5 12:50:00";
        QTest::newRow("not in round 2: out") << 12 << "none";
        QTest::newRow("category without a later round") << 21 << "none";
        QTest::newRow("in no heat") << 999 << "none";
    }
    void coupleNextHeat() {
        QFETCH(int, backNumber);
        const auto s = SmallDay();
        s->EventTable[2] = EventRecord({.category = 1, .round = kFinalRound + 1, .heats = 1});
        s->EventTable[3] = EventRecord({.category = 1, .round = kFinalRound, .heats = 1});
        s->EventCount = 4;
        const std::vector<DrawnHeats> drawn{{.event = 3, .floorA = {R({13})}, .floorB = {}},
                                            {.event = 0,
                                             .floorA = {R({11, 12}), R({13, 14}), R({15, 16})},
                                             .floorB = {},
                                             .heatsPerDance = 3},
                                            {.event = 1,
                                             .floorA = {R({11, 13}), R({15, 17})},
                                             .floorB = {R({21}), R({22}), R({23})},
                                             .heatsPerDance = 2}};
        const DayEstimate day = EstimateDay(*s,
                                            {.now = At("11:00:30"),
                                             .currentItem = 2,
                                             .currentStartedAt = At("10:45:00"),
                                             .heatStep = 7,
                                             .heatStepAt = At("11:00:00")},
                                            NoChangeover());
        const CoupleHeat h = NextHeatOf(*s, day, drawn, backNumber);
        QString got = "none";
        if (h.status == CoupleHeat::Status::Heat) {
            got = QString("heat item %1 dance %2 heat %3 %4 %5")
                      .arg(h.item)
                      .arg(h.dance)
                      .arg(h.heat)
                      .arg(h.floorB ? "B" : "A")
                      .arg(Clock(h.start));
        } else if (h.status == CoupleHeat::Status::Round) {
            got = QString("round item %1 %2").arg(h.item).arg(Clock(h.start));
        }
        QTEST(got, "next");
    }

    // A shuffled floor A draws each dance anew: blocks of two heats, floor B's third heat alone.
    void shuffledDraw() {
        const DrawnHeats d{.floorA = {R({1}), R({2}), R({3}), R({4})},
                           .floorB = {R({5}), R({6}), R({7})},
                           .heatsPerDance = 2,
                           .shuffled = true};
        QCOMPARE(d.StepsPerDance(), 3);
        const int rows[][3] = {{3, 3, 1}, {1, 3, 0}, {7, 5, 2}, {4, 5, 0}, {2, 1, 1}};
        for (const auto& [number, step, floor] : rows) QCOMPARE(d.FloorOf(number, step), floor);
    }

    // The demo's first event read from its files: floor A H_01_1.dat, floor B Assist/H_03_1.dat.
    void readDemoDraw() {
        auto s = std::make_unique<Competition>();
        s->DataFolder = qEnvironmentVariable("TRQ_SOURCE_DIR").toStdString() + "/data/demo";
        s->EventTable[0] = EventRecord({.category = 1,
                                        .round = 1,
                                        .heats = 3,
                                        .floorBEvent = 2,
                                        .floorBCategory = 3,
                                        .floorBRound = 1,
                                        .floorBHeats = 2});
        s->EventCount = 1;
        const DrawnHeats d = ReadDrawnHeats(*s, 0);
        QCOMPARE(int(d.floorA.size()), 3);
        QCOMPARE(int(d.floorB.size()), 2);
        QVERIFY(d.Lists(37, false) && d.Lists(51, true) && !d.Lists(51, false));
    }
};

QTEST_MAIN(EstimatesTest)
#include "estimates_test.moc"
