#include "core/platform/file_read_recorder.h"

namespace {

thread_local FileReadRecorder* innermost = nullptr;

}  // namespace

FileReadRecorder::FileReadRecorder() : outer_(innermost) { innermost = this; }

FileReadRecorder::~FileReadRecorder() { innermost = outer_; }

bool FileReadRecorder::AllRead() const {
    for (const FileRead& read : reads_) {
        if (read.failure != ReadFailure::None) return false;
    }
    return true;
}

bool FileReadRecorder::Recording() { return innermost != nullptr; }

void FileReadRecorder::Record(const FileRead& read) {
    for (FileReadRecorder* r = innermost; r != nullptr; r = r->outer_) r->reads_.push_back(read);
}
