// Key to picture where the operator lives: the program runs on a real X server (the console on
// the first monitor, the audience window on the venue monitor beside it), keys and clicks are
// sent with XTest as a keyboard and a mouse send them, and the time runs until the X server has
// the pictures they cause (XDamage on the root window: the last rectangle of the burst). Each
// action also reports the CPU time the program and the X server spent on it. A floor program
// (bench/venue_floor.cpp: the same windows, refilled and repainted whole on every key) is
// measured in the same run, on the same server, once repainting whole and once repainting a tenth
// of each picture, in turns with the program's launches. Each action also has the time to the
// last rectangle on the venue monitor (the hall's picture), in its own column.
//
// The start-up is timed too: from the launch to the last picture of the start on the venue monitor
// (nothing drawn for a while after it), for the program and for the start floor
// (bench/start_floor.cpp, a few lines of Qt that show one window there), each launched --starts
// times.
//
// Usage: venue_bench --program PATH --floor PATH --start-floor PATH --xserver-pid PID
//                    [--launches N] [--starts N]
//                    [--rounds N] [--heat-steps N] [--floor-presses N] [--walk N] [--verbose]
// (--verbose lists every damaged rectangle with its time after the press on stderr.)
// --walk N: afterwards one more launch walks N heat steps through the day (each item's round
// forward, then the next item; at the day's end back and forth) at an operator's quick pace
// and prints the program's resident memory before and after.
// DISPLAY names the server; it needs XTest, DAMAGE and two monitors side by side (see
// scripts/bench-venue.sh). The data folder is a generated full day (bench_support.h).

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_support.h"

// Last: the X headers define words as macros that the Qt headers use.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// CPU time of every thread of a process, in nanoseconds (the scheduler's own count).
long long CpuNs(pid_t pid) {
    long long total = 0;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(tasks.filePath(task) + QStringLiteral("/schedstat"));
        if (!stat.open(QIODevice::ReadOnly)) continue;
        total += stat.readAll().split(' ').value(0).toLongLong();
    }
    return total;
}

struct Sample {
    double toPicture = 0;   // ms from the key's press to the last damaged rectangle
    double toVenue = 0;     // ms from the press to the last damaged rectangle on the venue monitor
    double programCpu = 0;  // ms
    double serverCpu = 0;   // ms
    long long pixels = 0;   // damaged area
};

// Where the venue monitor starts on the root window (the console's monitor is left of it).
constexpr int kVenueLeft = 1024;

class Server {
  public:
    Server() {
        dpy_ = XOpenDisplay(nullptr);
        if (dpy_ == nullptr) Fail("cannot open the display");
        int major = 0;
        int minor = 0;
        int event = 0;
        int error = 0;
        if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) Fail("no XTest");
        if (!XDamageQueryExtension(dpy_, &damageEvent_, &error)) Fail("no DAMAGE");
        damage_ = XDamageCreate(dpy_, DefaultRootWindow(dpy_), XDamageReportRawRectangles);
        XSync(dpy_, False);
    }
    ~Server() {
        XDamageDestroy(dpy_, damage_);
        XCloseDisplay(dpy_);
    }

    [[noreturn]] static void Fail(const char* what) {
        std::fprintf(stderr, "venue_bench: %s\n", what);
        std::exit(2);
    }

    // Waits until nothing is drawn for `quiet` (at most `limit`); returns the time of the last
    // damage seen and adds its area.
    Clock::time_point Settle(std::chrono::milliseconds quiet, std::chrono::milliseconds limit,
                             long long* pixels = nullptr, Clock::time_point last = {},
                             Clock::time_point* lastVenue = nullptr) {
        const Clock::time_point end = Clock::now() + limit;
        Clock::time_point lastDamage = last;
        Clock::time_point lastSeen = Clock::now();
        for (;;) {
            while (XPending(dpy_) > 0) {
                XEvent e;
                XNextEvent(dpy_, &e);
                if (e.type != damageEvent_ + XDamageNotify) continue;
                const auto* d = reinterpret_cast<const XDamageNotifyEvent*>(&e);
                lastDamage = lastSeen = Clock::now();
                if (lastVenue != nullptr && d->area.x >= kVenueLeft) *lastVenue = lastDamage;
                if (pixels != nullptr) {
                    *pixels += static_cast<long long>(d->area.width) * d->area.height;
                    if (verbose_) {
                        std::fprintf(stderr, "  damage %dx%d+%d+%d at %.2f ms\n", d->area.width,
                                     d->area.height, d->area.x, d->area.y, Ms(lastDamage - last));
                    }
                }
            }
            const Clock::time_point now = Clock::now();
            if (now - lastSeen >= quiet || now >= end) return lastDamage;
            pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
            const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::min(quiet - (now - lastSeen), end - now));
            poll(&fd, 1, static_cast<int>(std::max<long long>(1, wait.count())));
        }
    }

    // A key or a click without measuring, waiting until the pictures it causes have come.
    void Press(bool key, int x, int y, bool back = false) {
        Pointer(x, y);
        Send(key, back);
        Settle(std::chrono::milliseconds(8), std::chrono::milliseconds(500));
    }

    // The Right (or Left) key or a left click, pressed and released, sent now.
    void Send(bool key, bool back = false) {
        if (key) {
            const KeyCode code = XKeysymToKeycode(dpy_, back ? XK_Left : XK_Right);
            XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
            XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
        } else {
            XTestFakeButtonEvent(dpy_, 1, True, CurrentTime);
            XTestFakeButtonEvent(dpy_, 1, False, CurrentTime);
        }
        XFlush(dpy_);
    }

    void Pointer(int x, int y) {
        XTestFakeMotionEvent(dpy_, -1, x, y, CurrentTime);
        XSync(dpy_, False);
    }
    // One action (a key or a click) and what it costs, up to the last picture it causes.
    Sample Act(const char* what, bool key, int x, int y, pid_t program, pid_t server) {
        if (verbose_) std::fprintf(stderr, "%s\n", what);
        Pointer(x, y);
        Settle(std::chrono::milliseconds(60), std::chrono::milliseconds(2000));
        Sample s;
        const long long programBefore = CpuNs(program);
        const long long serverBefore = CpuNs(server);
        const Clock::time_point press = Clock::now();
        Send(key);
        Clock::time_point venue = press;
        const Clock::time_point last =
            Settle(std::chrono::milliseconds(150), std::chrono::milliseconds(3000), &s.pixels,
                   press, &venue);
        s.toPicture = Ms(last - press);
        s.toVenue = Ms(venue - press);
        s.programCpu = (CpuNs(program) - programBefore) / 1e6;
        s.serverCpu = (CpuNs(server) - serverBefore) / 1e6;
        return s;
    }

    bool verbose_ = false;

  private:
    Display* dpy_ = nullptr;
    int damageEvent_ = 0;
    Damage damage_ = 0;
};

pid_t Launch(const std::vector<std::string>& args, const std::string& folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(127);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) return;
        usleep(20000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
}

// The resident memory of a process in MB.
double ResidentMb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').at(0).toDouble() / 1024;
        }
    }
    return 0;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const double rank = p * (static_cast<double>(v.size()) - 1);
    const auto lo = static_cast<std::size_t>(std::floor(rank));
    const std::size_t hi = std::min(v.size() - 1, lo + 1);
    return v[lo] + (v[hi] - v[lo]) * (rank - static_cast<double>(lo));
}

// More heat steps than any round of the generated day has.
constexpr int kStepsPastARound = 100;

// Console controls, in the console's pixels (the console stands at 0, 0).
constexpr int kProgrammeStepX = 883 + 26, kProgrammeStepY = 428 + 26;  // BitBtn16
constexpr int kJudgesX = 765 + 26, kJudgesY = 669 + 26;                // BitBtn3
constexpr int kCleanX = 653 + 26, kCleanY = 669 + 26;                  // BitBtn2
constexpr int kHeatX = 449 + 26, kHeatY = 582 + 26;                    // BitBtn5
constexpr int kPreviewX = 421 + 260, kPreviewY = 200;                  // over the preview

}  // namespace

int main(int argc, char** argv) {
    std::string program;
    std::string floorProgram;
    std::string startFloor;
    int starts = 3;
    pid_t server = 0;
    int launches = 5;
    int rounds = 4;
    int heatSteps = 8;
    int floorPresses = 60;
    int walk = 0;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string o = argv[i];
        if (o == "--verbose") {
            verbose = true;
            continue;
        }
        if (i + 1 >= argc) break;
        const char* v = argv[++i];
        if (o == "--program")
            program = v;
        else if (o == "--floor")
            floorProgram = v;
        else if (o == "--start-floor")
            startFloor = v;
        else if (o == "--starts")
            starts = std::atoi(v);
        else if (o == "--xserver-pid")
            server = static_cast<pid_t>(std::atoi(v));
        else if (o == "--launches")
            launches = std::atoi(v);
        else if (o == "--rounds")
            rounds = std::atoi(v);
        else if (o == "--heat-steps")
            heatSteps = std::atoi(v);
        else if (o == "--floor-presses")
            floorPresses = std::atoi(v);
        else if (o == "--walk")
            walk = std::atoi(v);
    }
    if (program.empty() || floorProgram.empty() || server <= 0) {
        std::fprintf(stderr,
                     "usage: venue_bench --program PATH --floor PATH --start-floor PATH "
                     "--xserver-pid PID [--starts N] "
                     "[--launches N] [--rounds N] [--heat-steps N] [--floor-presses N]\n");
        return 2;
    }
    const std::string data = bench::FullData().Path();
    const QString home = QDir::tempPath() + QStringLiteral("/venue_bench_program");
    QDir().mkpath(home);
    Server x;
    x.verbose_ = verbose;
    std::map<std::string, std::vector<Sample>> samples;
    const std::vector<std::string> order = {
        "floor: full repaint", "floor: a tenth",        "heat step",    "programme step",
        "programme step, end", "judges, first showing", "judges, again"};

    // The floor repainting whole, then a tenth of each picture (bench/venue_floor.cpp): its presses
    // in as many blocks as the program has launches, one before each, each block a launch of its
    // own. The ratios then compare the same stretch of the run, and no single launch of the floor
    // (where its bitmaps happen to lie in memory) decides its number.
    const int floorBlocks = std::max(launches, 1);
    const auto measureFloor = [&](int block) {
        const int presses = floorPresses / floorBlocks + (block < floorPresses % floorBlocks);
        if (presses == 0) return;
        for (const bool tenth : {false, true}) {
            setenv("FLOOR_TENTH", tenth ? "1" : "0", 1);
            const pid_t floor = Launch({floorProgram}, home.toStdString());
            x.Settle(std::chrono::milliseconds(800), std::chrono::milliseconds(10000));
            for (int i = 0; i < presses; ++i) {
                samples[tenth ? "floor: a tenth" : "floor: full repaint"].push_back(
                    x.Act("floor", true, kPreviewX, kPreviewY, floor, server));
            }
            Stop(floor);
        }
        unsetenv("FLOOR_TENTH");
    };
    if (launches == 0) measureFloor(0);
    for (int launch = 0; launch < launches; ++launch) {
        measureFloor(launch);
        const pid_t p = Launch({program, "--data", data, "--screen", "venue"}, home.toStdString());
        x.Settle(std::chrono::milliseconds(1500), std::chrono::milliseconds(30000));
        samples["judges, first showing"].push_back(
            x.Act("judges", false, kJudgesX, kJudgesY, p, server));
        x.Act("clean", false, kCleanX, kCleanY, p, server);
        samples["judges, again"].push_back(x.Act("judges", false, kJudgesX, kJudgesY, p, server));
        // The first item's heats on the screen; from then on each programme step shows the
        // next item's round in the heat view.
        x.Act("programme step", false, kProgrammeStepX, kProgrammeStepY, p, server);
        x.Act("heat", false, kHeatX, kHeatY, p, server);
        for (int r = 0; r < rounds; ++r) {
            for (int h = 0; h < heatSteps; ++h) {
                samples["heat step"].push_back(
                    x.Act("heat step", true, kPreviewX, kPreviewY, p, server));
            }
            samples["programme step"].push_back(
                x.Act("programme step", false, kProgrammeStepX, kProgrammeStepY, p, server));
        }
        // The programme step an operator takes most: at the round's end (its last heat on the
        // screens; the steps past it change nothing).
        for (int r = 0; r < rounds; ++r) {
            for (int h = 0; h < kStepsPastARound; ++h) x.Press(true, kPreviewX, kPreviewY);
            samples["programme step, end"].push_back(
                x.Act("programme step, end", false, kProgrammeStepX, kProgrammeStepY, p, server));
        }
        Stop(p);
    }

    // The start-ups, the floor's and the program's by turns.
    std::vector<double> startFloorMs;
    std::vector<double> startMs;
    for (int i = 0; i < starts && !startFloor.empty(); ++i) {
        for (const bool floor : {true, false}) {
            const Clock::time_point launched = Clock::now();
            const pid_t p =
                floor ? Launch({startFloor}, home.toStdString())
                      : Launch({program, "--data", data, "--screen", "venue"}, home.toStdString());
            long long pixels = 0;
            Clock::time_point venue = launched;
            x.Settle(std::chrono::milliseconds(1000), std::chrono::milliseconds(30000), &pixels,
                     launched, &venue);
            (floor ? startFloorMs : startMs).push_back(Ms(venue - launched));
            Stop(p);
            x.Settle(std::chrono::milliseconds(300), std::chrono::milliseconds(3000));
        }
    }

    if (walk > 0) {
        const pid_t p = Launch({program, "--data", data, "--screen", "venue"}, home.toStdString());
        x.Settle(std::chrono::milliseconds(1500), std::chrono::milliseconds(30000));
        const double before = ResidentMb(p);
        // Each item's round a dozen steps forward, then the next item's heats; a round that ends
        // sooner takes the rest of the dozen as steps that change nothing, which the walk also
        // meets. Past the day's end the same round back and forth.
        int steps = 0;
        for (int item = 0; steps < walk; ++item) {
            x.Press(false, kProgrammeStepX, kProgrammeStepY);
            x.Press(false, kHeatX, kHeatY);
            for (int h = 0; h < 12 && steps < walk; ++h, ++steps) {
                x.Press(true, kPreviewX, kPreviewY, item >= 100 && h >= 6);
            }
        }
        std::printf(
            "walk: %d heat steps, resident memory %.1f MB after the start, %.1f MB after "
            "the walk\n",
            steps, before, ResidentMb(p));
        Stop(p);
    }

    const auto median = [&](const std::string& kind) {
        std::vector<double> v;
        for (const Sample& s : samples[kind]) v.push_back(s.toPicture);
        return Percentile(v, 0.5);
    };
    std::printf("%-24s %5s %9s %9s %9s %9s %11s %8s %9s %8s\n", "action", "n", "median_ms",
                "p90_ms", "prog_cpu", "xsrv_cpu", "damaged_px", "/floor", "venue_ms", "/floor");
    for (const std::string& kind : order) {
        std::vector<double> t, v, pc, sc, px;
        for (const Sample& s : samples[kind]) {
            t.push_back(s.toPicture);
            v.push_back(s.toVenue);
            pc.push_back(s.programCpu);
            sc.push_back(s.serverCpu);
            px.push_back(static_cast<double>(s.pixels));
        }
        std::printf("%-24s %5zu %9.2f %9.2f %9.2f %9.2f %11.0f %8.2f %9.2f %8.2f\n", kind.c_str(),
                    t.size(), Percentile(t, 0.5), Percentile(t, 0.9), Percentile(pc, 0.5),
                    Percentile(sc, 0.5), Percentile(px, 0.5),
                    Percentile(t, 0.5) / median("floor: full repaint"), Percentile(v, 0.5),
                    Percentile(v, 0.5) / median("floor: full repaint"));
    }
    std::printf("programme step at the round's end / heat step: %.2f\n",
                median("programme step, end") / median("heat step"));
    std::printf("programme step / heat step: %.2f\n",
                median("programme step") / median("heat step"));
    if (!startMs.empty()) {
        std::printf("start-up to the picture: %.0f ms, a few lines of Qt %.0f ms: %.2f\n",
                    Percentile(startMs, 0.5), Percentile(startFloorMs, 0.5),
                    Percentile(startMs, 0.5) / Percentile(startFloorMs, 0.5));
    }
    return 0;
}
