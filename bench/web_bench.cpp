// The web server under a crowd: 500 WebSocket viewers on the loopback address (in a thread of
// their own, as if they were phones), the console stepping heats on the demo competition.
// BM_HeatStep times the console's heat step (the command and the event processing that follows
// it) without a server, with a server and no viewer, and with the viewers attached; the steps are
// paced so that each picture reaches every viewer before the next step. console_cpu_us is all the
// console thread's processor time per step, the hand-over of picture and state included, and
// latency_ms the median time from a step to its picture at the last viewer (first_ms: at the
// first), step_kb the bytes a viewer receives per step (the patch of the parts that changed),
// whole_kb the whole picture's PNG as a joining viewer gets it and step_of_whole the one over the
// other. BM_PictureLayers and BM_ComposeAndEncode are the two halves of a picture's way: taken on
// the console's thread, composed and encoded on the encoder's; BM_StateJson is the state the
// console publishes with every picture.
// BM_HeatStepUnderAttack times the same heat step while one client attacks the server from a
// thread of its own: a ping flood that never reads the pongs, a thousand sockets sending their
// headers a byte at a time, WebSockets opened and closed in a row as fast as they go, a thousand
// idle connections from one address. grown_mb is the growth of the process's resident memory
// over the run, rss_mb the resident memory at its end, attack the attacker's count (pings MB sent,
// handshakes answered 101, sockets the server kept), page the status of a page asked for after.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
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
            connect(socket, &QWebSocket::binaryMessageReceived, this,
                    [this, i](const QByteArray& message) {
                        bytes += message.size();
                        Received(i);
                    });
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
    // The bytes of the pictures all viewers received.
    std::atomic<qint64> bytes{0};

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
        // The crowd comes from one address.
        o.limits.connectionsPerAddress = viewers + 64;
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
    const qint64 bytesBefore = crowd->bytes.load();
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
        // What a viewer receives per step (the changed parts), against the whole picture.
        const double perStep = static_cast<double>(crowd->bytes.load() - bytesBefore) /
                               viewers / static_cast<double>(state.iterations());
        const double whole = static_cast<double>(CompactPngBytes(venue.windows.audience->Picture()).size());
        state.counters["step_kb"] = perStep / 1024;
        state.counters["whole_kb"] = whole / 1024;
        state.counters["step_of_whole"] = perStep / whole;
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
        bytes = CompactPngBytes(ScrForm::ComposePicture(layers)).size();
    }
    state.counters["png_kB"] = bytes / 1024.0;
}

double ResidentMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1 << 20) : 0;
}

const QByteArray kHandshake =
    "GET /ws HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
    "Sec-WebSocket-Version: 13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n";

int StatusOfHead(QTcpSocket& socket) {
    QByteArray head;
    while (!head.contains("\r\n\r\n") && socket.waitForReadyRead(2000) && socket.isOpen()) {
        head += socket.readAll();
    }
    const QList<QByteArray> words = head.left(head.indexOf('\r')).split(' ');
    return words.size() >= 2 ? words[1].toInt() : 0;
}

// The sockets still open that the server has not answered.
double Unanswered(std::vector<std::unique_ptr<QTcpSocket>>& sockets) {
    double kept = 0;
    for (auto& s : sockets) {
        s->waitForReadyRead(0);
        if (s->state() == QAbstractSocket::ConnectedState && s->bytesAvailable() == 0) ++kept;
    }
    return kept;
}

// One attack, on the calling thread until `stop`; what it achieved.
double Attack(int kind, quint16 port, const std::atomic<bool>& stop) {
    const auto open = [port](QTcpSocket& s) {
        s.connectToHost(QHostAddress::LocalHost, port);
        return s.waitForConnected(2000);
    };
    switch (kind) {
        case 1: {  // pings as fast as they go, the pongs never read
            QTcpSocket s;
            s.setReadBufferSize(4096);
            s.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
            if (!open(s)) return 0;
            s.write(kHandshake);
            if (StatusOfHead(s) != 101) return 0;
            QByteArray pings;
            for (int i = 0; i < 500; ++i) {
                pings += QByteArray("\x89\xfd\x01\x02\x03\x04", 6) + QByteArray(125, 'p');
            }
            double sent = 0;
            while (!stop && s.state() == QAbstractSocket::ConnectedState) {
                s.write(pings);
                if (!s.waitForBytesWritten(1000)) break;
                sent += pings.size();
            }
            return sent / (1 << 20);
        }
        case 2: {  // headers a byte every 100 ms on a thousand sockets
            std::vector<std::unique_ptr<QTcpSocket>> sockets;
            for (int i = 0; i < 1000 && !stop; ++i) {
                auto s = std::make_unique<QTcpSocket>();
                if (!open(*s)) break;
                s->write("GET / HTTP/1.1\r\n");
                sockets.push_back(std::move(s));
            }
            while (!stop) {
                for (auto& s : sockets) {
                    if (s->state() != QAbstractSocket::ConnectedState) continue;
                    s->write("X");
                    s->waitForBytesWritten(0);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            return Unanswered(sockets);
        }
        case 3: {  // WebSockets opened and closed in a row
            double upgraded = 0;
            while (!stop) {
                QTcpSocket s;
                if (!open(s)) continue;
                s.write(kHandshake);
                if (StatusOfHead(s) == 101) ++upgraded;
            }
            return upgraded;
        }
        case 4: {  // a thousand idle connections from one address
            std::vector<std::unique_ptr<QTcpSocket>> sockets;
            for (int i = 0; i < 1000 && !stop; ++i) {
                auto s = std::make_unique<QTcpSocket>();
                if (open(*s)) sockets.push_back(std::move(s));
            }
            while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return Unanswered(sockets);
        }
        default:
            return 0;
    }
}

void BM_HeatStepUnderAttack(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    // The attacker's sockets are this process's too: room for them beside the server's.
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = std::min<rlim_t>(files.rlim_max, 16384);
        setrlimit(RLIMIT_NOFILE, &files);
    }
    Venue venue;
    WebServer web(*venue.windows.state, *venue.windows.audience, venue.Commands());
    WebServerOptions o;
    o.address = QStringLiteral("127.0.0.1");
    if (!web.Start(o, nullptr)) {
        state.SkipWithError("the server cannot listen");
        return;
    }
    const auto port = static_cast<quint16>(web.MirrorUrl().port());
    const double before = ResidentMb();
    std::atomic<bool> stop = false;
    double achieved = 0;
    std::thread attacker([&] { achieved = Attack(kind, port, stop); });
    // The attack under way.
    QEventLoop settle;
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();

    double consoleCpuUs = 0;
    bool forward = true;
    for (auto _ : state) {
        const double cpuStart = ThreadCpuUs();
        const Clock::time_point start = Clock::now();
        venue.Commands().HeatStep(forward);
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        forward = !forward;
        consoleCpuUs += ThreadCpuUs() - cpuStart;
        QEventLoop pause;
        QTimer::singleShot(100, &pause, &QEventLoop::quit);
        pause.exec();
    }
    stop = true;
    attacker.join();
    state.counters["console_cpu_us"] = consoleCpuUs / static_cast<double>(state.iterations());
    state.counters["rss_mb"] = ResidentMb();
    state.counters["grown_mb"] = ResidentMb() - before;
    state.counters["attack"] = achieved;
    // A page after the attack.
    QTcpSocket page;
    page.connectToHost(QHostAddress::LocalHost, port);
    int status = 0;
    if (page.waitForConnected(2000)) {
        page.write("GET /now.json HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        status = StatusOfHead(page);
    }
    state.counters["page"] = status;
}

BENCHMARK(BM_HeatStep)
    ->ArgNames({"viewers", "server"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({500, 1})
    ->UseManualTime()
    ->Iterations(60)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeatStepUnderAttack)
    ->ArgNames({"attack"})
    ->DenseRange(0, 4)
    ->UseManualTime()
    ->Iterations(40)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureLayers)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StateJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComposeAndEncode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#include "web_bench.moc"
