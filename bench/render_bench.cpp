// Time of one RenderView (audience pass at full size plus preview pass at half size) for the
// clean screen, the welcome screen, the heat view on one and on two floors, the progress message,
// the finalists (8 couples), the final result and the award (8 rows, both layouts). Fonts are
// warmed by one drawing before the timed loop.

#include <benchmark/benchmark.h>

#include <utility>

#include "bench/bench_support.h"
#include "core/competition/competition_state.h"
#include "core/data/entry_files.h"
#include "core/display/renderer.h"
#include "core/platform/canvas.h"
#include "core/platform/cp932.h"

namespace {

using bench::EnsureApplication;

// A mid-sized competition: a preliminary of 34 couples in heats of 12, 12 and 10 on floor A
// (event 0), and a two-floor step (event 1) with a second floor of two heats.
Competition BenchState(bool twoFloors) {
    Competition s;
    s.Config.TopFont = Sjis("AR P隷書体M");
    s.Config.TitleFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    s.Config.WelcomeTitleLines = {Sjis("ようこそ"), Sjis("第５０回 全日本ダンス選手権大会"),
                                  Sjis("東京体育館")};
    s.CategoryCount = 2;
    s.CategoryNames[0] = Sjis("ジュニア ラテンアメリカン");
    s.CategoryShortNames[0] = Sjis("Jr.ラテン");
    s.CategoryNames[1] = Sjis("シニア スタンダード");
    s.CategoryShortNames[1] = Sjis("Sr.スタンダード");
    s.EventCount = 3;
    s.EventNames[0] = "101";
    s.EventTable[0] = EventRecord({.category = 1, .round = 1});
    s.EventNames[1] = "102";
    s.EventTable[1] = EventRecord(
        {.category = 1, .round = 6, .floorBEvent = 205, .floorBCategory = 2, .floorBRound = 2});
    s.EventNames[2] = "103";
    s.EventTable[2] = EventRecord({.category = 2, .round = 7});
    for (int d = 0; d < 5; ++d) s.RoundDances[d] = DanceNames()[d + 5];
    s.DanceCount = 5;
    s.DanceNameShown = 1;
    const int sizes[3] = {12, 12, 10};
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < sizes[r]; ++k) s.HeatTable[r][k] = 11 + r * 20 + k;
    }
    s.HeatRowsA = s.HeatsPerDance = s.HeatCount = 3;
    if (twoFloors) {
        for (int h = 0; h < 2; ++h) {
            for (int k = 0; k < 14; ++k) s.HeatTable[3 + h][k] = 201 + h * 20 + k;
        }
        s.HeatRowsB = 2;
        s.CurrentEventIndex = 1;
    } else {
        s.CurrentEventIndex = 0;
    }
    s.HeatIndex = 1;
    s.DanceIndex = 1;
    s.ProgrammeCount = 3;
    s.ProgrammeCodes[0] = "101";
    s.ProgrammeTexts[0] = Sjis("ジュニア ラテンアメリカン １次予選");
    s.ProgrammeCodes[1] = "102";
    s.ProgrammeCodesB[1] = "205";
    s.ProgrammeTexts[1] = Sjis("ジュニア ラテンアメリカン 準決勝");
    s.ProgrammeTextsB[1] = Sjis("シニア スタンダード ２次予選");
    s.ProgrammeNonCompetition[2] = 1;
    s.ProgrammeTexts[2] = Sjis("休憩");
    return s;
}

void BM_RenderView(benchmark::State& state) {
    EnsureApplication();
    const int type = static_cast<int>(state.range(0));
    Competition s = BenchState(state.range(1) != 0);
    bench::Surfaces surfaces;
    Renderer renderer(s);
    surfaces.Bind(renderer);
    renderer.RenderView(type);
    for (auto _ : state) {
        renderer.RenderView(type);
        benchmark::DoNotOptimize(std::as_const(surfaces.audienceWide).Image().constBits());
    }
}

BENCHMARK(BM_RenderView)
    ->ArgNames({"view", "floors2"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Args({7, 0})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The final of the demo's team match (category 5): 8 finalists in H_05_7.dat, 8 rows in
// F_05.dat. The final file and the heat file are read on every pass, as the views do.
void BM_RenderResultView(benchmark::State& state) {
    EnsureApplication();
    const int type = static_cast<int>(state.range(0));
    Competition s = BenchState(false);
    s.DataFolder = std::string(TRQ_SOURCE_DIR) + "/data/demo";
    LoadEntries(s.DataFolder, s);
    s.CategoryCount = 5;
    s.CategoryNames[4] = Sjis("クラブ対抗 団体戦");
    s.EventTable[2] = EventRecord({.category = 5, .round = 7});
    s.CurrentEventIndex = 2;
    s.ResultListCategories[0] = 4;
    s.ResultListRow = 0;
    s.AltResultLayout = static_cast<int>(state.range(1));
    s.Reveal = RevealOrder::Together;
    bench::Surfaces surfaces;
    Renderer renderer(s);
    surfaces.Bind(renderer);
    renderer.RenderView(5);
    s.HeatIndex = 0;
    renderer.RenderView(type);
    for (auto _ : state) {
        renderer.RenderView(type);
        benchmark::DoNotOptimize(std::as_const(surfaces.audienceNormal).Image().constBits());
    }
}

BENCHMARK(BM_RenderResultView)
    ->ArgNames({"view", "alt"})
    ->Args({4, 0})
    ->Args({5, 0})
    ->Args({5, 1})
    ->Args({6, 0})
    ->Args({6, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
