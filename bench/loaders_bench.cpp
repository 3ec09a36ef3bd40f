// The file loaders on full-size data folders: Conf.txt with 40 categories and 50 judges, 1000
// couples, 100 events, 100 programme items and a 50-row heat load (floor A 40 rows, floor B 10);
// and a round load while the scoring system rewrites its heat file a byte at a time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "bench/bench_support.h"
#include "core/competition/competition_state.h"
#include "core/competition/round_load_guard.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/heat_files.h"
#include "core/data/programme_file.h"
#include "core/platform/stable_file.h"

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

// A Heat press (the guarded round load) while the scoring system rewrites the round's ten-line
// heat file a byte every millisecond. Without a settle time (0) a press tries for up to 200 ms and
// may take a part of the file; with one (300 ms, as live) it is refused at once and the last good
// round stays. taken: loads that took the file; partial: of them, those with fewer than ten rows.
void BM_RoundLoadWhileWritten(benchmark::State& state) {
    SetFileSettleTime(std::chrono::milliseconds(state.range(0)));
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/H_01_1.dat";
    std::string heats;
    for (int i = 0; i < 10; ++i) heats += " 101 102 103 104 105 106\r\n";
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        while (!stop) {
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            for (size_t i = 0; i < heats.size() && !stop; ++i) {
                if (write(fd, &heats[i], 1) != 1) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            close(fd);
        }
    });
    Competition s;
    s.DataFolder = dir.path().toStdString();
    s.CategoryDanceRounds[0] = {1, 8, 8, 8, 8, 8, 8, 8, 8, 8};
    s.EventCount = 1;
    s.EventTable[0] = EventRecord({.category = 1, .round = 1});
    s.CurrentEventIndex = 0;
    int taken = 0;
    int partial = 0;
    for (auto _ : state) {
        const GuardedRoundLoad r = LoadRoundIfReadable(s);
        taken += r.load.loaded ? 1 : 0;
        partial += r.load.loaded && s.HeatRowsA < 10 ? 1 : 0;
    }
    stop = true;
    writer.join();
    SetFileSettleTime({});
    state.counters["taken"] = taken;
    state.counters["partial"] = partial;
}
BENCHMARK(BM_RoundLoadWhileWritten)
    ->ArgName("settle_ms")
    ->Arg(0)
    ->Arg(300)
    ->Iterations(30)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
