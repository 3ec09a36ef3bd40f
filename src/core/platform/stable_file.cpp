#include "core/platform/stable_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

constexpr int kTries = 5;
constexpr std::chrono::milliseconds kPause{50};

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

ReadFailure ReadOnce(const std::string& path, size_t maxBytes, FileContents& out) {
    if (path.empty()) return ReadFailure::Missing;
    // Non-blocking, so that opening a pipe returns at once; fstat then refuses it.
    const Descriptor fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
    }
    const FileStamp before = StampOfDescriptor(fd.get());
    if (!before.regular) return ReadFailure::NotRegular;
    const size_t size = static_cast<size_t>(before.size);
    const size_t wanted = size < maxBytes ? size : maxBytes;
    std::string bytes;
    if (!ReadUpTo(fd.get(), wanted, bytes)) return ReadFailure::Unreadable;
    if (bytes.size() < wanted) return ReadFailure::Unsettled;  // cut short meanwhile
    if (wanted == size) {
        // More bytes than the size said: written meanwhile, or a file whose size means nothing.
        std::string more;
        if (!ReadUpTo(fd.get(), 1, more)) return ReadFailure::Unreadable;
        if (!more.empty()) return ReadFailure::Unsettled;
    }
    // The same version after the read, and still the file the path names (not replaced).
    if (StampOfDescriptor(fd.get()) != before || StampOf(path) != before) {
        return ReadFailure::Unsettled;
    }
    out.stamp = before;
    out.bytes = std::move(bytes);
    return ReadFailure::None;
}

}  // namespace

FileContents ReadStableFile(const std::string& path, size_t maxBytes) {
    return ReadStableFile(path, maxBytes, [] { std::this_thread::sleep_for(kPause); });
}

FileContents ReadStableFile(const std::string& path, size_t maxBytes,
                            const std::function<void()>& pause) {
    FileContents contents;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (attempt > 0) pause();
        contents.failure = ReadOnce(path, maxBytes, contents);
        if (contents.failure != ReadFailure::Unsettled) break;
    }
    if (!contents.Ok()) contents.stamp = {};
    FileReadRecorder::Record(FileRead{path, contents.failure, contents.stamp});
    return contents;
}
