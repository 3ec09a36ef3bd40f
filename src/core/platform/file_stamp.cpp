#include "core/platform/file_stamp.h"

#include <sys/stat.h>

namespace {

int64_t Nanoseconds(const timespec& t) { return int64_t{t.tv_sec} * 1000000000 + t.tv_nsec; }

FileStamp FromStat(const struct stat& st) {
    FileStamp stamp;
    stamp.regular = S_ISREG(st.st_mode);
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modifiedNs = Nanoseconds(st.st_mtim);
    stamp.changedNs = Nanoseconds(st.st_ctim);
    return stamp;
}

}  // namespace

FileStamp StampOf(const std::string& path) {
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0) return {};
    return FromStat(st);
}

FileStamp StampOfDescriptor(int fd) {
    struct stat st;
    if (fstat(fd, &st) != 0) return {};
    return FromStat(st);
}
