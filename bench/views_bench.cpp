// Time of the judges view through RenderView (both passes) for a panel of 11 and one of 50, of an
// announcement screen (both passes), of the clock drawn for a new minute and of the console's
// programme list on a programme step. Fonts are warmed by one drawing before the timed loop.

#include <benchmark/benchmark.h>

#include <utility>

#include "bench/bench_support.h"
#include "core/competition/competition_state.h"
#include "core/competition/view_types.h"
#include "core/display/clock_view.h"
#include "core/display/message_screen.h"
#include "core/display/programme_list.h"
#include "core/display/renderer.h"
#include "core/platform/canvas.h"
#include "core/platform/cp932.h"

namespace {

using bench::EnsureApplication;

Competition BenchState(int judges) {
    static const char* const kNames[] = {"山田 太郎", "佐藤 花子", "髙橋 一郎", "鈴木 次郎",
                                         "田中 美咲", "渡辺 健",   "伊藤 直樹", "中村 由美"};
    Competition s;
    s.Config.MsgFont = Sjis("HG丸ｺﾞｼｯｸM-PRO");
    s.Config.DataFont = Sjis("HGP創英角ｺﾞｼｯｸUB");
    for (int k = 0; k < judges; ++k) {
        s.JudgeCodes[k] = ToCp932(QString(QChar(u'A' + k / 26)) + QChar(u'A' + k % 26));
        s.JudgeNames[k] = Sjis(kNames[k % 8]);
        s.JudgeNotes[k] = Sjis(k == 0 ? "日本ダンス連盟" : "東京");
    }
    s.JudgeCount = judges;
    return s;
}

void BM_JudgesView(benchmark::State& state) {
    EnsureApplication();
    Competition s = BenchState(static_cast<int>(state.range(0)));
    bench::Surfaces surfaces;
    Renderer renderer(s);
    surfaces.Bind(renderer);
    renderer.RenderView(kViewJudges);
    for (auto _ : state) {
        renderer.RenderView(kViewJudges);
        benchmark::DoNotOptimize(std::as_const(surfaces.audienceNormal).Image().constBits());
    }
}

void BM_MessageScreen(benchmark::State& state) {
    EnsureApplication();
    Competition s = BenchState(1);
    bench::Surfaces surfaces;
    Renderer renderer(s);
    surfaces.Bind(renderer);
    const int kind = static_cast<int>(state.range(0));
    const std::string text = Sjis("※ 任意のメッセージが出力可能");
    ShowMessageScreen(s, renderer, kind, text);
    for (auto _ : state) {
        ShowMessageScreen(s, renderer, kind, text);
        benchmark::DoNotOptimize(std::as_const(surfaces.audienceNormal).Image().constBits());
    }
}

// A tick that draws: the minute alternates, so every tick finds a new text.
void BM_ClockTickDraws(benchmark::State& state) {
    EnsureApplication();
    Canvas audience(130, 160, QStringLiteral("ScrForm.Image2"));
    Canvas preview(65, 80, QStringLiteral("DspMain.Image3"));
    const QString times[2] = {QStringLiteral("09:30"), QStringLiteral("15:45")};
    DrawClock(times[1], audience, preview);
    int i = 0;
    for (auto _ : state) {
        DrawClock(times[i], audience, preview);
        i ^= 1;
    }
}

// A programme step on the console's list of a full day (100 items): the highlight moves down a
// row, the list drawn again.
void BM_ProgrammeListStep(benchmark::State& state) {
    EnsureApplication();
    Competition s = BenchState(1);
    for (int i = 0; i < kProgrammeRows; ++i) {
        s.ProgrammeCodes[i] = ToCp932(QString::number(i + 1));
        const QString text = QStringLiteral(u"スタンダード B級 ワルツ・タンゴ 第%1予選");
        s.ProgrammeTexts[i] = ToCp932(text.arg(i % 4 + 1));
    }
    s.ProgrammeCount = kProgrammeRows;
    Canvas list(420, 20 * kProgrammeRows + 20, QStringLiteral("DspMain.Image6"));
    s.CurrentProgrammeIndex = 0;
    DrawProgrammeList(s, list);
    for (auto _ : state) {
        s.CurrentProgrammeIndex = (s.CurrentProgrammeIndex + 1) % kProgrammeRows;
        DrawProgrammeList(s, list);
        benchmark::DoNotOptimize(list.TakeDamage());
    }
}

BENCHMARK(BM_ProgrammeListStep)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_JudgesView)
    ->ArgName("judges")
    ->Arg(11)
    ->Arg(50)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_MessageScreen)
    ->ArgName("kind")
    ->Arg(kMessageBreak)
    ->Arg(kMessageGoodbye)
    ->Arg(kMessageFree)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ClockTickDraws)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
