#include "core/platform/data_file.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <QFile>
#include <cstdio>

namespace {

// Finds the single entry of `dir` whose name equals `name` ignoring ASCII case; empty when there
// is none or more than one.
std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (d == nullptr) return {};
    std::string found;
    int matches = 0;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            ++matches;
        }
    }
    closedir(d);
    return matches == 1 ? found : std::string();
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
