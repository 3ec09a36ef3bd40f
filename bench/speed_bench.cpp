// The drawing speed, in one run so that the cases compare: the floor (a bare fill of the audience
// surface and its preview), the heat step button pressed in the running windows (both passes and
// the repaint of both windows), every view type and every announcement through both passes, and
// the start-up on full-size data up to the first picture.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <memory>
#include <utility>

#include "app/rehearsal/control_driver.h"
#include "app/rehearsal/script.h"
#include "bench/app_bench_support.h"
#include "core/competition/progress.h"
#include "core/competition/view_data.h"
#include "core/competition/view_types.h"
#include "core/display/message_screen.h"

namespace {

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').at(0).toLong();
    }
    return 0;
}

// Both windows created, shown and started on the full-size data, up to the first picture on
// the audience screen; the windows are closed outside the timing. rss_mb: resident memory with
// the windows up.
void BM_StartUpFullData(benchmark::State& state) {
    bench::EnsureApplication();
    const std::string folder = bench::FullData().Path();
    for (auto _ : state) {
        auto venue = std::make_unique<bench::RunningWindows>(folder);
        benchmark::DoNotOptimize(venue->windows.state->CurrentView);
        state.PauseTiming();
        state.counters["rss_mb"] = ResidentKb() / 1024.0;
        venue.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
// Registered first and run once: the start-up of a fresh process, fonts not yet loaded.
BENCHMARK(BM_StartUpFullData)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BareFill(benchmark::State& state) {
    bench::EnsureApplication();
    bench::Surfaces surfaces;
    for (Canvas* c : {&surfaces.audienceWide, &surfaces.previewWide}) c->SetBrushColor(Qt::black);
    for (auto _ : state) {
        surfaces.audienceWide.FillRect(0, 0, 1024, 768);
        surfaces.previewWide.FillRect(0, 0, 512, 384);
        benchmark::DoNotOptimize(std::as_const(surfaces.previewWide).Image().constBits());
    }
}
BENCHMARK(BM_BareFill)->Unit(benchmark::kMicrosecond);

// The heat step button (left button: one heat forward) pressed as the operator presses it, then
// the event processing that repaints both windows. At the end of the round the round starts
// again outside the timing.
// firstSight: every text is drawn as if for the first time (its layout and cell made again).
void HeatStepRepaint(benchmark::State& state, bool twoFloors, bool firstSight = false) {
    bench::RunningWindows venue(bench::DemoFolder());
    venue.ShowFirstHeatRound(twoFloors);
    Competition& s = *venue.windows.state;
    ControlDriver driver(venue.windows.console.get(), venue.windows.audience.get(), nullptr,
                         nullptr);
    const ScriptAction press = ParseScript("mousedown BitBtn28 left\n").actions.at(0);
    const auto position = [&] { return std::pair(s.DanceIndex, s.HeatIndex); };
    // The presses a round has, counted once.
    int stepsPerRound = 0;
    for (auto before = position(); stepsPerRound < 200; ++stepsPerRound) {
        driver.Perform(press);
        if (position() == before) break;
        before = position();
    }
    const auto restart = [&] {
        s.HeatIndex = -1;
        s.DanceIndex = 0;
    };
    restart();
    int step = 0;
    for (auto _ : state) {
        if (step == stepsPerRound || firstSight) {
            state.PauseTiming();
            if (step == stepsPerRound) {
                restart();
                step = 0;
            }
            if (firstSight) Canvas::ForgetKeptTexts();
            state.ResumeTiming();
        }
        driver.Perform(press);
        QCoreApplication::processEvents();
        ++step;
    }
    state.counters["steps_per_round"] = stepsPerRound;
}
void BM_HeatStepRepaintOneFloor(benchmark::State& state) { HeatStepRepaint(state, false); }
void BM_HeatStepRepaintTwoFloors(benchmark::State& state) { HeatStepRepaint(state, true); }
void BM_HeatStepRepaintTwoFloorsFirstSight(benchmark::State& state) {
    HeatStepRepaint(state, true, true);
}
BENCHMARK(BM_HeatStepRepaintOneFloor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeatStepRepaintTwoFloors)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeatStepRepaintTwoFloorsFirstSight)->Unit(benchmark::kMicrosecond);

using bench::DemoDay;

// Each view on what it shows at the venue: the heats of the demo's two-floor round 001/002, the
// finalists, the result and the award (every row at once) of the team match's final (029).
void BM_RenderView(benchmark::State& state) {
    DemoDay day;
    Competition& s = day.s;
    const int type = static_cast<int>(state.range(0));
    s.CurrentProgrammeIndex = 2;
    if (type == kViewHeat) {
        s.CurrentEventIndex = 0;
        LoadRound(s);
        NextHeat(s);
    } else if (type == kViewFinalists || type == kViewFinalResult || type == kViewAward) {
        s.CurrentEventIndex = 28;
        s.ResultListCategories[0] = 4;
        s.ResultListRow = 0;
        s.Reveal = RevealOrder::Together;
        ReadFinalResult(s);
        s.HeatIndex = 0;
    }
    // As the command shows it: what the view needs read (the finalists, the final file), then
    // both passes.
    ReadViewInputs(s, type);
    day.renderer.RenderView(type);
    for (auto _ : state) {
        ReadViewInputs(s, type);
        day.renderer.RenderView(type);
        benchmark::DoNotOptimize(std::as_const(day.surfaces.audienceNormal).Image().constBits());
    }
}
BENCHMARK(BM_RenderView)->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

// The heat view for a venue screen larger than the design: the audience surface drawn sharp at
// 1440 x 1080 (a 1920 x 1080 screen) or at 2048 x 1536; the argument is the scale in thousandths.
void BM_HeatViewAtVenueScale(benchmark::State& state) {
    DemoDay day;
    Competition& s = day.s;
    const double scale = state.range(0) / 1000.0;
    day.surfaces.audienceWide.Resize(1024, 768, scale);
    s.CurrentEventIndex = 0;
    LoadRound(s);
    NextHeat(s);
    day.renderer.RenderView(kViewHeat);
    for (auto _ : state) {
        day.renderer.RenderView(kViewHeat);
        benchmark::DoNotOptimize(std::as_const(day.surfaces.audienceWide).Image().constBits());
    }
}
BENCHMARK(BM_HeatViewAtVenueScale)->Arg(1406)->Arg(2000)->Unit(benchmark::kMicrosecond);

void BM_MessageScreen(benchmark::State& state) {
    DemoDay day;
    const int kind = static_cast<int>(state.range(0));
    const std::string text = Sjis("※ 任意のメッセージが出力可能です。ご来場ありがとうございます");
    ShowMessageScreen(day.s, day.renderer, kind, text);
    for (auto _ : state) {
        ShowMessageScreen(day.s, day.renderer, kind, text);
        benchmark::DoNotOptimize(std::as_const(day.surfaces.audienceNormal).Image().constBits());
    }
}
BENCHMARK(BM_MessageScreen)->DenseRange(0, 7)->Arg(9)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
