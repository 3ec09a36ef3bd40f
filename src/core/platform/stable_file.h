#pragma once
// Reading a whole data file while the scoring system may be writing it, possibly over a network
// share: the bytes count only when the file's stamp is the same before and after the read;
// otherwise the file is read again after a short pause. The files the scoring system rewrites
// while the show runs are, besides, taken only once they have settled, and a file that suddenly
// reads empty, or one larger than any it writes, is not taken at all.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "core/platform/file_read_recorder.h"

// Nothing the scoring system writes comes near this; a larger file is not one of its files.
inline constexpr size_t kMaxDataFileBytes = size_t{4} << 20;

// How long a file must have stayed unchanged before the program takes it, when it runs live.
inline constexpr std::chrono::milliseconds kDataFileSettleTime{300};

// The settle time of reads that wait for it (ReadOptions::settled); 0, the default, takes a file
// at once. The program sets kDataFileSettleTime when it runs live; a rehearsal keeps 0, so that it
// does not depend on the clock.
void SetFileSettleTime(std::chrono::milliseconds time);
std::chrono::milliseconds FileSettleTime();

struct ReadOptions {
    // A larger file is refused (TooLarge), not read in part.
    size_t maxBytes = kMaxDataFileBytes;
    // Taken only once settled: its size and times unchanged for the settle time, judged by its
    // modification time or by what earlier reads saw. A file written more recently is refused at
    // once as Unsettled, without waiting: the caller keeps what it has and may try again later.
    bool settled = false;
};

// The reads of the files the scoring system rewrites while the show runs: heat, final, programme
// and event files.
inline constexpr ReadOptions kReadWhenSettled{.settled = true};

struct FileContents {
    ReadFailure failure = ReadFailure::Missing;
    FileStamp stamp;    // of the version read
    std::string bytes;  // the whole file
    bool Ok() const { return failure == ReadFailure::None; }
};

// Reads the regular file at path. A missing path, a folder, a pipe or a device is refused at once
// (a pipe never blocks the program). A file that changes during the read, or gives more bytes than
// its size, is read again after 50 ms, in all five tries within 200 ms; then it counts as
// unsettled (a read that waits for the file to settle does not try again). An empty file where the
// last good read of that path had bytes counts as Empty: a writer that truncates before it writes.
// The outcome is recorded (FileReadRecorder).
FileContents ReadStableFile(const std::string& path, const ReadOptions& options = {});

// The same with the pause between two tries given by the caller (a test finishes a write there).
FileContents ReadStableFile(const std::string& path, const ReadOptions& options,
                            const std::function<void()>& pause);

// Forgets what earlier reads saw of path: the next file found there is judged on its own, as if
// read for the first time (for whoever puts a whole file in place, such as a fuzz target).
void ForgetFile(const std::string& path);

// What can be told of path without reading it: None for a regular file, else why it cannot be
// read (Missing, NotRegular, Unreadable).
ReadFailure ProbeFile(const std::string& path);
