// The file loaders on full-size data folders: Conf.txt with 40 categories and 50 judges, 1000
// couples, 100 events, 100 programme items and a 50-row heat load (floor A 40 rows, floor B 10).
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "core/competition/competition_state.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/heat_files.h"
#include "core/data/programme_file.h"

namespace {

using bench::FullData;

void BM_LoadDisplayConfig(benchmark::State& state) {
    Competition s;
    s.DataFolder = FullData().Path();
    for (auto _ : state) benchmark::DoNotOptimize(LoadDisplayConfig(s.DataFolder, s));
    state.counters["categories"] = s.CategoryCount;
    state.counters["judges"] = s.JudgeCount;
}
BENCHMARK(BM_LoadDisplayConfig);

void BM_LoadEntries(benchmark::State& state) {
    Competition s;
    s.DataFolder = FullData().Path();
    for (auto _ : state) {
        LoadEntries(s.DataFolder, s);
        benchmark::DoNotOptimize(s.CoupleNames[999]);
    }
}
BENCHMARK(BM_LoadEntries);

void BM_LoadEvents(benchmark::State& state) {
    Competition s;
    s.DataFolder = FullData().Path();
    for (auto _ : state) benchmark::DoNotOptimize(LoadEvents(s.DataFolder, s));
    state.counters["events"] = s.EventCount;
}
BENCHMARK(BM_LoadEvents);

void BM_ReadProgramme(benchmark::State& state) {
    Competition s;
    s.DataFolder = FullData().Path();
    for (auto _ : state) benchmark::DoNotOptimize(ReadProgramme(s.DataFolder, s));
    state.counters["items"] = s.ProgrammeCount;
}
BENCHMARK(BM_ReadProgramme);

void BM_LoadHeatFiles(benchmark::State& state) {
    Competition s;
    s.DataFolder = FullData().Path();
    const EventRecord r({.category = 4,
                         .round = 2,
                         .heats = 3,
                         .couplesPassing = 24,
                         .floorBEvent = 12,
                         .floorBCategory = 5,
                         .floorBRound = 6,
                         .floorBHeats = 2,
                         .floorBCouplesPassing = 12});
    for (auto _ : state) {
        LoadHeatFiles(s.DataFolder, s.Config.Mod, r, 5, s);
        benchmark::DoNotOptimize(s.HeatTable[49][19]);
    }
    state.counters["rows"] = s.HeatRowsA + s.HeatRowsB;
}
BENCHMARK(BM_LoadHeatFiles);

}  // namespace

BENCHMARK_MAIN();
