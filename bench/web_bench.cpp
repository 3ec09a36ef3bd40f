// The web server under a crowd: 500 WebSocket viewers on the loopback address (in a thread of
// their own, as if they were phones), the console stepping heats on the demo competition.
// BM_HeatStep times the console's heat step (the command and the event processing that follows
// it) without a server, with a server and no viewer, and with the viewers attached; the steps are
// paced so that each picture reaches every viewer before the next step. console_cpu_us is all the
// console thread's processor time per step, the hand-over of picture and state included, and
// latency_ms the median time from a step to its picture at the last viewer (first_ms: at the
// first). BM_PictureLayers and
// BM_ComposeAndEncode are the two halves of a picture's way: taken on the console's thread,
// composed and encoded on the encoder's; BM_StateJson is the state the console publishes with every
// picture.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include "app/audience/scr_form.h"
#include "app/console/app_start.h"
#include "app/console/console_hooks.h"
#include "app/console/dsp_main_form.h"
#include "app/console/operator_commands.h"
#include "core/competition/now_json.h"
#include "app/web/picture_encoder.h"
#include "app/web/web_server.h"
#include "bench/app_bench_support.h"
#include "core/competition/competition_state.h"
#include "core/platform/png_bytes.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of the calling thread.
double ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// The demo day with the heat view up on a one-floor round.
struct Venue : bench::RunningWindows {
    Venue() : RunningWindows(bench::DemoFolder()) { ShowFirstHeatRound(false); }
};

// Viewers of the live feed, on their own thread. Tells when every one of them has received
// `target` pictures.
class Crowd : public QObject {
    Q_OBJECT
  public:
    void Connect(const QUrl& url, int count) {
        received_.assign(count, 0);
        for (int i = 0; i < count; ++i) {
            auto* socket = new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this);
            connect(socket, &QWebSocket::binaryMessageReceived, this, [this, i] { Received(i); });
            socket->open(url);
        }
    }
    void Expect(int target) {
        target_ = target;
        reached_ = static_cast<int>(
            std::count_if(received_.begin(), received_.end(), [&](int n) { return n >= target; }));
        if (reached_ == static_cast<int>(received_.size())) emit allReceived(Clock::now());
    }

    // When the first viewer had the newest picture.
    std::atomic<Clock::time_point> firstArrival;

  signals:
    void allReceived(Clock::time_point when);

  private:
    void Received(int i) {
        if (++received_[i] != target_) return;
        if (reached_ == 0) firstArrival = Clock::now();
        if (++reached_ == static_cast<int>(received_.size())) emit allReceived(Clock::now());
    }

    std::vector<int> received_;
    int target_ = 1;
    int reached_ = 0;
};

void BM_HeatStep(benchmark::State& state) {
    const int viewers = static_cast<int>(state.range(0));
    const bool server = state.range(1) != 0;
    Venue venue;
    std::unique_ptr<WebServer> web;
    QThread crowdThread;
    auto* crowd = new Crowd;
    crowd->moveToThread(&crowdThread);
    crowdThread.start();
    Clock::time_point lastViewer;
    bool arrived = false;
    QEventLoop waitForCrowd;
    QObject::connect(crowd, &Crowd::allReceived, &waitForCrowd, [&](Clock::time_point when) {
        lastViewer = when;
        arrived = true;
        waitForCrowd.quit();
    });
    const auto expect = [&](int target) {
        arrived = false;
        QMetaObject::invokeMethod(
            crowd, [crowd, target] { crowd->Expect(target); }, Qt::BlockingQueuedConnection);
    };
    const auto waitForPicture = [&] {
        if (!arrived) waitForCrowd.exec();
    };
    if (server) {
        web = std::make_unique<WebServer>(*venue.windows.state, *venue.windows.audience,
                                          venue.Commands());
        WebServerOptions o;
        o.address = QStringLiteral("127.0.0.1");
        if (!web->Start(o, nullptr)) {
            state.SkipWithError("the server cannot listen");
            return;
        }
        QUrl url = web->MirrorUrl();
        url.setScheme(QStringLiteral("ws"));
        url.setPath(QStringLiteral("/ws"));
        QMetaObject::invokeMethod(crowd, [crowd, url, viewers] { crowd->Connect(url, viewers); });
        if (viewers > 0) {
            // Every viewer has the first picture.
            expect(1);
            waitForPicture();
        }
    }

    std::vector<double> latencyMs;
    double consoleCpuUs = 0;
    std::vector<double> firstMs;
    int pictures = 1;
    bool forward = true;
    for (auto _ : state) {
        if (viewers > 0) expect(++pictures);
        const double cpuStart = ThreadCpuUs();
        const Clock::time_point start = Clock::now();
        venue.Commands().HeatStep(forward);
        QCoreApplication::processEvents();
        const Clock::time_point stepped = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stepped - start).count());
        forward = !forward;
        if (viewers > 0) {
            waitForPicture();
            latencyMs.push_back(
                std::chrono::duration<double, std::milli>(lastViewer - start).count());
            firstMs.push_back(
                std::chrono::duration<double, std::milli>(crowd->firstArrival.load() - start)
                    .count());
        } else {
            // An operator's pace: the picture is out before the next step.
            QEventLoop pause;
            QTimer::singleShot(100, &pause, &QEventLoop::quit);
            pause.exec();
        }
        consoleCpuUs += ThreadCpuUs() - cpuStart;
    }
    // Everything the console's thread did for a step, the hand-over to the server included.
    state.counters["console_cpu_us"] = consoleCpuUs / static_cast<double>(state.iterations());
    if (!latencyMs.empty()) {
        std::sort(latencyMs.begin(), latencyMs.end());
        state.counters["latency_ms"] = latencyMs[latencyMs.size() / 2];
        std::sort(firstMs.begin(), firstMs.end());
        state.counters["first_ms"] = firstMs[firstMs.size() / 2];
        state.counters["latency_max_ms"] = latencyMs.back();
    }
    web.reset();
    crowdThread.quit();
    crowdThread.wait();
    delete crowd;
}

void BM_PictureLayers(benchmark::State& state) {
    Venue venue;
    for (auto _ : state) {
        std::vector<PictureLayer> layers = venue.windows.audience->PictureLayers();
        benchmark::DoNotOptimize(layers.data());
    }
}

void BM_StateJson(benchmark::State& state) {
    Venue venue;
    for (auto _ : state) {
        const QByteArray json = QJsonDocument(NowJson(*venue.windows.state)).toJson();
        benchmark::DoNotOptimize(json.constData());
    }
}

void BM_ComposeAndEncode(benchmark::State& state) {
    Venue venue;
    const std::vector<PictureLayer> layers = venue.windows.audience->PictureLayers();
    qint64 bytes = 0;
    for (auto _ : state) {
        bytes = PngBytes(ScrForm::ComposePicture(layers)).size();
    }
    state.counters["png_kB"] = bytes / 1024.0;
}

BENCHMARK(BM_HeatStep)
    ->ArgNames({"viewers", "server"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({500, 1})
    ->UseManualTime()
    ->Iterations(60)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureLayers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeAndEncode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#include "web_bench.moc"
