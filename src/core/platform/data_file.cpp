#include "core/platform/data_file.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <QFile>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/platform/file_stamp.h"

namespace {

// The names of a folder, read again when the folder changed (its identity or its change time) or
// a second has passed: a folder on a share may not show a change in its time at once. Several
// lookups of one step (the watcher's, the round's, the shuffled files') then read it once.
class FolderNames {
  public:
    // The single name in `dir` equal to `name` ignoring ASCII case; empty when none or several.
    std::string Find(const std::string& dir, const std::string& name) {
        const std::string& folder = dir.empty() ? kCurrent : dir;
        const FileStamp stamp = StampOf(folder);
        if (stamp == FileStamp{}) return {};
        const auto now = std::chrono::steady_clock::now();
        const std::lock_guard lock(mutex_);
        if (listings_.size() >= kFolders && listings_.find(folder) == listings_.end()) {
            listings_.clear();
        }
        Listing& l = listings_[folder];
        if (l.stamp != stamp || now - l.read > kFresh) {
            l.names = Read(folder);
            l.stamp = stamp;
            l.read = now;
        }
        std::string found;
        int matches = 0;
        for (const std::string& entry : l.names) {
            if (strcasecmp(entry.c_str(), name.c_str()) == 0) {
                found = entry;
                ++matches;
            }
        }
        return matches == 1 ? found : std::string();
    }

  private:
    struct Listing {
        FileStamp stamp;  // of the folder when its names were read
        std::chrono::steady_clock::time_point read;
        std::vector<std::string> names;
    };
    static std::vector<std::string> Read(const std::string& folder) {
        std::vector<std::string> names;
        DIR* d = opendir(folder.c_str());
        if (d == nullptr) return names;
        while (dirent* e = readdir(d)) names.emplace_back(e->d_name);
        closedir(d);
        return names;
    }
    static constexpr std::chrono::seconds kFresh{1};
    static constexpr std::size_t kFolders = 64;
    inline static const std::string kCurrent = ".";
    std::mutex mutex_;
    std::unordered_map<std::string, Listing> listings_;
};

std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
    static FolderNames names;
    return names.Find(dir, name);
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string DataFilePath(const std::string& folder, const std::string& name) {
    std::string joined = folder + kPathSeparator + name;
    if (Exists(joined)) return joined;
    std::string path = folder;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        std::string next = path + kPathSeparator + part;
        if (!Exists(next)) {
            const std::string match = FindIgnoringCase(path, part);
            if (match.empty()) return joined;
            next = path + kPathSeparator + match;
        }
        path = next;
        start = end + 1;
    }
    return path;
}

std::string FormatName(const char* format, int a, int b) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), format, a, b);
    return buf;
}

std::string FormatName(const char* format, int a) {
    char buf[64];
    std::snprintf(buf, sizeof(buf), format, a);
    return buf;
}

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString DecodePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string EncodePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
