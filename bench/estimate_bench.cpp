// The start-time estimates replayed over whole simulated days of the demo competition: each day
// is drawn from a seed (time per heat ±20 % around a pace of its own, calls to the floor, the
// finals' presentations, a rare stoppage in a heat, breaks and ceremonies that overrun, a lunch
// that starts at 12:00 or later and overruns its end), then replayed minute by minute as the
// console would see it: the item made current, the heat steps fed to the tracker, the estimate
// made again. Printed: the mean absolute error of the start times predicted 30 and 60 minutes
// ahead. Timed: one estimate of the demo day and one couple's next heat over all its heat files.

#include <benchmark/benchmark.h>

#include <QTime>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "core/competition/competition_state.h"
#include "core/competition/couple_heats.h"
#include "core/competition/estimates.h"
#include "core/competition/pace_tracker.h"
#include "core/data/display_config_file.h"
#include "core/data/entry_files.h"
#include "core/data/programme_file.h"

namespace {

constexpr int kDayStart = 9 * 3600 + 30 * 60;

std::unique_ptr<Competition> LoadDemo() {
    auto s = std::make_unique<Competition>();
    s->DataFolder = std::string(TRQ_SOURCE_DIR) + "/data/demo";
    LoadDisplayConfig(s->DataFolder, *s);
    LoadEvents(s->DataFolder, *s);
    ReadProgramme(s->DataFolder, *s);
    return s;
}

// What really happened on one simulated day.
struct TrueItem {
    int start = 0;
    bool final = false;
    std::vector<int> steps;  // the operator's heat steps (to heat 2, 3, ...)
};

std::vector<TrueItem> SimulateDay(const Competition& s, unsigned seed, int* dayEnd) {
    std::mt19937 rng(seed);
    const auto uniform = [&](double a, double b) {
        return std::uniform_real_distribution(a, b)(rng);
    };
    const EstimateSettings defaults;
    // The shape of each item as the programme gives it (heat steps, kind, span).
    const DayEstimate plan =
        EstimateDay(s, {.now = kDayStart, .currentItem = 0, .currentStartedAt = kDayStart});
    const double dayPace = uniform(95, 125);  // this day's seconds per heat
    std::vector<TrueItem> day;
    double t = kDayStart;
    for (const ItemEstimate& e : plan.items) {
        TrueItem item;
        const std::optional<FixedTime> fixed = FixedTimeOf(s.ProgrammeTexts[e.item]);
        if (fixed) t = std::max(t, double(fixed->start));
        item.start = int(t);
        if (e.kind == ItemKind::Competition) {
            const bool final = s.EventAt(e.event).Round() >= kFinalRound ||
                               s.EventAt(e.event).FloorBRound() >= kFinalRound;
            item.final = final;
            t += uniform(20, 90) + (final ? uniform(120, 240) : 0);
            // The pace drifts slowly over the day, each heat ±20 % around it.
            for (int k = 0; k < e.heatSteps; ++k) {
                if (k > 0) item.steps.push_back(int(t));
                const double drift = 1.0 + 0.08 * std::sin((t - kDayStart) / 7200.0);
                t += dayPace * drift * uniform(0.8, 1.2);
                if (uniform(0, 1) < 0.01) t += uniform(180, 480);  // a stoppage
            }
            t += uniform(0, 20);
        } else if (fixed && fixed->end >= 0) {
            t = std::max(double(fixed->end), t + 1500) + uniform(0, 360);
        } else {
            t += defaults.DefaultSeconds(e.kind) * uniform(0.9, 1.4);
        }
        day.push_back(item);
    }
    *dayEnd = int(t);
    return day;
}

struct Errors {
    double sum30 = 0, sum60 = 0, max60 = 0;
    int count30 = 0, count60 = 0;
};

// Replays a day minute by minute; for each item keeps the prediction made last at least 30 and
// 60 minutes before it really started.
void ReplayDay(const Competition& s, const std::vector<TrueItem>& day, int dayEnd, Errors& errors) {
    const int n = int(day.size());
    std::vector<int> at30(n, -1), at60(n, -1);
    PaceTracker tracker;
    int current = -1, fed = 0;
    for (int now = kDayStart; now < dayEnd; now += 60) {
        while (current + 1 < n && day[current + 1].start <= now) {
            ++current;
            tracker.StartItem(day[current].start, day[current].final);
            fed = 0;
        }
        const TrueItem& item = day[current];
        while (fed < int(item.steps.size()) && item.steps[fed] <= now)
            tracker.Step(item.steps[fed++]);
        const LiveProgress live{
            .now = now,
            .currentItem = current,
            .currentStartedAt = item.start,
            .heatStep = fed > 0 ? fed : -1,
            .heatStepAt = fed > 0 ? item.steps[fed - 1] : -1,
            .secondsPerHeat = tracker.SecondsPerHeat(),
            .changeoverSeconds = tracker.ChangeoverSeconds(EstimateSettings{}.changeoverSeconds)};
        const DayEstimate estimate = EstimateDay(s, live);
        for (const ItemEstimate& e : estimate.items) {
            const int lead = day[e.item].start - now;
            if (e.item == current) continue;
            if (lead >= 1800) at30[e.item] = e.start;
            if (lead >= 3600) at60[e.item] = e.start;
        }
    }
    for (int i = 0; i < n; ++i) {
        if (at30[i] >= 0) {
            errors.sum30 += std::abs(at30[i] - day[i].start);
            ++errors.count30;
        }
        if (at60[i] >= 0) {
            const double e = std::abs(at60[i] - day[i].start);
            errors.sum60 += e;
            errors.max60 = std::max(errors.max60, e);
            ++errors.count60;
        }
    }
}

void PrintReplay() {
    const auto s = LoadDemo();
    constexpr int kDays = 50;
    Errors errors;
    int longest = 0;
    for (unsigned seed = 1; seed <= kDays; ++seed) {
        int dayEnd = 0;
        const std::vector<TrueItem> day = SimulateDay(*s, seed, &dayEnd);
        longest = std::max(longest, dayEnd - kDayStart);
        ReplayDay(*s, day, dayEnd, errors);
    }
    std::printf("estimate replay: %d simulated demo days of %d items (longest %.1f h)\n", kDays,
                s->ProgrammeCount, longest / 3600.0);
    std::printf("  mean absolute error 30 min ahead: %.1f min (%d predictions)\n",
                errors.sum30 / errors.count30 / 60.0, errors.count30);
    std::printf("  mean absolute error 60 min ahead: %.1f min (%d predictions, worst %.1f min)\n",
                errors.sum60 / errors.count60 / 60.0, errors.count60, errors.max60 / 60.0);
    std::fflush(stdout);
}

void BM_EstimateDay(benchmark::State& state) {
    const auto s = LoadDemo();
    const LiveProgress live{.now = 36000,
                            .currentItem = 5,
                            .currentStartedAt = 35500,
                            .heatStep = 3,
                            .heatStepAt = 35900,
                            .secondsPerHeat = 105};
    for (auto _ : state) benchmark::DoNotOptimize(EstimateDay(*s, live).end);
}
BENCHMARK(BM_EstimateDay)->Unit(benchmark::kMicrosecond);

void BM_NextHeatOf(benchmark::State& state) {
    const auto s = LoadDemo();
    std::vector<DrawnHeats> drawn;
    for (int e = 0; e < s->EventCount; ++e) drawn.push_back(ReadDrawnHeats(*s, e));
    const DayEstimate day = EstimateDay(*s, {.now = kDayStart, .currentStartedAt = kDayStart});
    int number = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NextHeatOf(*s, day, drawn, 1 + number % 99).start);
        ++number;
    }
}
BENCHMARK(BM_NextHeatOf)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    PrintReplay();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
