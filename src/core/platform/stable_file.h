#pragma once
// Reading a whole data file while the scoring system may be writing it, possibly over a network
// share: the bytes count only when the file's stamp is the same before and after the read;
// otherwise the file is read again after a short pause.

#include <cstddef>
#include <functional>
#include <string>

#include "core/platform/file_read_recorder.h"

// Nothing the scoring system writes comes near this; a larger file is read up to it.
inline constexpr size_t kMaxDataFileBytes = size_t{4} << 20;

struct FileContents {
    ReadFailure failure = ReadFailure::Missing;
    FileStamp stamp;    // of the version read
    std::string bytes;  // at most the size asked for
    bool Ok() const { return failure == ReadFailure::None; }
};

// Reads at most maxBytes of the regular file at path. A missing path, a folder, a pipe or a
// device is refused at once (a pipe never blocks the program). A file that changes during the
// read, or gives more bytes than its size, is read again after 50 ms, in all five tries within
// 200 ms; then it counts as unsettled. The outcome is recorded (FileReadRecorder).
FileContents ReadStableFile(const std::string& path, size_t maxBytes = kMaxDataFileBytes);

// The same with the pause between two tries given by the caller (a test finishes a write there).
FileContents ReadStableFile(const std::string& path, size_t maxBytes,
                            const std::function<void()>& pause);
