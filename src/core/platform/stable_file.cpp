#include "core/platform/stable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTries = 5;
constexpr std::chrono::milliseconds kPause{50};
// More paths than a data folder has; past it what was seen is forgotten and learnt again.
constexpr size_t kRememberedPaths = 4096;

std::atomic<int64_t> settleMs{0};

// What the reads saw of each path: the version last seen and since when, and whether the last
// version read had bytes.
struct Seen {
    FileStamp stamp;
    Clock::time_point since;
    bool hadContent = false;
};

class SeenFiles {
  public:
    // Notes the version seen now; true when it has settled: unchanged for the settle time by its
    // own modification time, or by what earlier reads saw (a share whose clock runs ahead).
    bool Settled(const std::string& path, const FileStamp& stamp, std::chrono::milliseconds time) {
        const std::lock_guard lock(mutex_);
        Seen& seen = Entry(path);
        const Clock::time_point now = Clock::now();
        if (seen.stamp != stamp) {
            seen.stamp = stamp;
            seen.since = now;
        }
        if (now - seen.since >= time) return true;
        const int64_t wallNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                   std::chrono::system_clock::now().time_since_epoch())
                                   .count();
        const int64_t ageNs = wallNs - stamp.modifiedNs;
        return ageNs >= std::chrono::duration_cast<std::chrono::nanoseconds>(time).count();
    }

    // A good read of path: false when it is empty where the last good one had bytes.
    bool TakeRead(const std::string& path, bool hasContent) {
        const std::lock_guard lock(mutex_);
        Seen& seen = Entry(path);
        if (!hasContent && seen.hadContent) return false;
        seen.hadContent = hasContent;
        return true;
    }

    void Forget(const std::string& path) {
        const std::lock_guard lock(mutex_);
        seen_.erase(path);
    }

  private:
    Seen& Entry(const std::string& path) {
        if (seen_.size() >= kRememberedPaths && seen_.find(path) == seen_.end()) seen_.clear();
        return seen_[path];
    }

    std::mutex mutex_;
    std::unordered_map<std::string, Seen> seen_;
};

SeenFiles& Memory() {
    static SeenFiles seen;
    return seen;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// Reads up to `count` bytes into `out` from the current position; false on an I/O error.
bool ReadUpTo(int fd, size_t count, std::string& out) {
    out.resize(count);
    size_t got = 0;
    while (got < count) {
        const ssize_t n = read(fd, out.data() + got, count - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
}

ReadFailure OpenFailure(int error) {
    return error == ENOENT || error == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
}

ReadFailure ReadOnce(const std::string& path, const ReadOptions& options, FileContents& out) {
    if (path.empty()) return ReadFailure::Missing;
    // Non-blocking, so that opening a pipe returns at once; fstat then refuses it.
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) return OpenFailure(errno);
    const FileStamp before = StampOfDescriptor(fd.get());
    if (!before.regular) return ReadFailure::NotRegular;
    if (static_cast<uint64_t>(before.size) > options.maxBytes) return ReadFailure::TooLarge;
    const std::chrono::milliseconds settle = FileSettleTime();
    if (options.settled && settle.count() > 0 && !Memory().Settled(path, before, settle)) {
        return ReadFailure::Unsettled;
    }
    const size_t size = static_cast<size_t>(before.size);
    std::string bytes;
    if (!ReadUpTo(fd.get(), size, bytes)) return ReadFailure::Unreadable;
    if (bytes.size() < size) return ReadFailure::Unsettled;  // cut short meanwhile
    // More bytes than the size said: written meanwhile, or a file whose size means nothing.
    std::string more;
    if (!ReadUpTo(fd.get(), 1, more)) return ReadFailure::Unreadable;
    if (!more.empty()) return ReadFailure::Unsettled;
    // The same version after the read, and still the file the path names (not replaced).
    if (StampOfDescriptor(fd.get()) != before || StampOf(path) != before) {
        return ReadFailure::Unsettled;
    }
    out.stamp = before;
    out.bytes = std::move(bytes);
    return ReadFailure::None;
}

}  // namespace

void SetFileSettleTime(std::chrono::milliseconds time) {
    settleMs = std::max<int64_t>(time.count(), 0);
}

std::chrono::milliseconds FileSettleTime() { return std::chrono::milliseconds(settleMs.load()); }

FileContents ReadStableFile(const std::string& path, const ReadOptions& options) {
    return ReadStableFile(path, options, [] { std::this_thread::sleep_for(kPause); });
}

FileContents ReadStableFile(const std::string& path, const ReadOptions& options,
                            const std::function<void()>& pause) {
    // A file that must settle is reported at once: the next try would find it written just now.
    const bool retry = !options.settled || FileSettleTime().count() == 0;
    FileContents contents;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0) pause();
        contents.failure = ReadOnce(path, options, contents);
        if (contents.failure != ReadFailure::Unsettled || !retry) break;
    }
    if (contents.Ok() && !Memory().TakeRead(path, !contents.bytes.empty())) {
        contents.failure = ReadFailure::Empty;
    }
    if (!contents.Ok()) {
        contents.stamp = {};
        contents.bytes.clear();
    }
    FileReadRecorder::Record(FileRead{path, contents.failure, contents.stamp});
    return contents;
}

void ForgetFile(const std::string& path) { Memory().Forget(path); }

ReadFailure ProbeFile(const std::string& path) {
    struct stat st;
    if (path.empty()) return ReadFailure::Missing;
    if (stat(path.c_str(), &st) != 0) return OpenFailure(errno);
    return S_ISREG(st.st_mode) ? ReadFailure::None : ReadFailure::NotRegular;
}
