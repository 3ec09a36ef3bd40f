// The demo competition as the operator runs it: RenderView (both passes) of every view type that
// draws so far, loading a round (dances, heat files, first heat drawn) and one heat step (NextHeat
// with its redraw), for a one-floor round, a two-floor round and a shuffled round. Fonts are warm
// before the timed loops.

#include <benchmark/benchmark.h>

#include <utility>

#include "bench/bench_support.h"
#include "core/competition/competition_state.h"
#include "core/competition/progress.h"
#include "core/competition/view_data.h"
#include "core/competition/view_types.h"
#include "core/display/renderer.h"

namespace {

// eventNumber: the demo's 001 (two floors), 005 (one floor, 3 heats x 4 dances) or 010
// (shuffled), its round loaded and its first heat drawn.
struct DemoDay : bench::DemoDay {
    explicit DemoDay(int eventNumber) {
        s.CurrentEventIndex = eventNumber - 1;
        LoadRound(s);
        renderer.RenderView(kViewHeat);
    }
};

void BM_RenderView(benchmark::State& state) {
    DemoDay day(5);
    const int type = static_cast<int>(state.range(0));
    // As the command shows it: what the view needs read first, then both passes.
    ReadViewInputs(day.s, type);
    day.renderer.RenderView(type);
    for (auto _ : state) {
        ReadViewInputs(day.s, type);
        day.renderer.RenderView(type);
        benchmark::DoNotOptimize(std::as_const(day.surfaces.audienceNormal).Image().constBits());
    }
}

void BM_LoadRound(benchmark::State& state) {
    DemoDay day(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const RoundLoad load = LoadRound(day.s);
        day.renderer.RenderView(kViewHeat);
        benchmark::DoNotOptimize(load.loaded);
    }
}

void BM_HeatStep(benchmark::State& state) {
    DemoDay day(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        HeatStepResult step = NextHeat(day.s);
        if (!step.redraw) {
            // End of the round: start it again without timing the reload.
            state.PauseTiming();
            day.s.HeatIndex = -1;
            day.s.DanceIndex = 0;
            state.ResumeTiming();
            step = NextHeat(day.s);
        }
        day.renderer.RenderView(kViewHeat);
        benchmark::DoNotOptimize(std::as_const(day.surfaces.audienceWide).Image().constBits());
    }
}

BENCHMARK(BM_RenderView)
    ->ArgName("view")
    ->Arg(0)
    ->Arg(1)
    ->Arg(3)
    ->Arg(7)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
// One floor (005), two floors (001) and shuffled heats (010).
void ThreeRounds(benchmark::internal::Benchmark* b) {
    b->ArgName("event")->Arg(5)->Arg(1)->Arg(10);
    b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_LoadRound)->Apply(ThreeRounds);
BENCHMARK(BM_HeatStep)->Apply(ThreeRounds);

}  // namespace

BENCHMARK_MAIN();
