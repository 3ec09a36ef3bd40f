#pragma once
// What the data-file reads of one operation found, for the console: which files could not be
// read and why, and which version of each of the others was read.

#include <string>
#include <vector>

#include "core/platform/file_stamp.h"

enum class ReadFailure {
    None,
    Missing,     // no such file (or the folder is gone)
    NotRegular,  // a folder, a pipe, a device
    Unreadable,  // no permission, an I/O error
    Unsettled,   // still being written: it changed during every try, or too recently
    Empty,       // empty where the last version read had content (truncated before a write)
    TooLarge,    // larger than any file the scoring system writes
};

struct FileRead {
    std::string path;
    ReadFailure failure = ReadFailure::None;
    FileStamp stamp;  // of the version read
};

// While it lives, collects every data file read on this thread (ReadStableFile records them).
// Recorders nest: each one sees all the reads made during its life.
class FileReadRecorder {
  public:
    FileReadRecorder();
    ~FileReadRecorder();
    FileReadRecorder(const FileReadRecorder&) = delete;
    FileReadRecorder& operator=(const FileReadRecorder&) = delete;

    const std::vector<FileRead>& Reads() const { return reads_; }
    // True when no read failed (also when nothing was read).
    bool AllRead() const;

    // Adds a read to every recorder alive on this thread.
    static void Record(const FileRead& read);
    // True while a recorder is alive on this thread.
    static bool Recording();

  private:
    FileReadRecorder* outer_;
    std::vector<FileRead> reads_;
};
