#pragma once
// The version of a file as the file system tells it: which file (device and inode), its size and
// its change times. A file read between two equal stamps was not written meanwhile.

#include <cstdint>
#include <string>

struct FileStamp {
    bool regular = false;  // false: missing, or not a regular file
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;  // since the epoch
    // The status change time moves with every write too, and unlike the modification time no
    // copying tool can set it back.
    int64_t changedNs = 0;

    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file a path names (links followed); a default stamp when there is none.
FileStamp StampOf(const std::string& path);

// The stamp of an open file descriptor.
FileStamp StampOfDescriptor(int fd);
