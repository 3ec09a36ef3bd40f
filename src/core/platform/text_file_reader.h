#pragma once
// A text file read the way the C runtime's text mode reads it: fgets into a fixed buffer, CR LF
// read as LF, feof set once a read has run into the end of the file. Every loader reads through
// it and keeps its own end-of-file rule. The file is taken whole when it opens, as one settled
// version (ReadStableFile), and nothing stays open.

#include <string>

#include "core/platform/stable_file.h"

class TextFileReader {
  public:
    // Reads the regular file at path; false when it cannot be read (ReadStableFile: missing, not
    // a regular file, unreadable, still being written, suddenly empty or too large).
    bool Open(const std::string& path, const ReadOptions& options = {});
    bool IsOpen() const { return open_; }
    void Close();

    // fgets: reads at most bufferSize - 1 bytes, up to and including the line end (CR LF counts as
    // one LF). Returns false (and `line` empty) when nothing could be read. Of a line longer than
    // the buffer only the first bufferSize - 1 bytes are read; the rest of it is skipped, so it
    // never reads as further lines.
    bool ReadLine(std::string& line, int bufferSize);

    // feof: true once a read has hit the end of the file.
    bool Eof() const { return eof_; }

  private:
    int GetByte();
    void SkipRestOfLine();

    std::string bytes_;
    size_t next_ = 0;
    bool open_ = false;
    bool eof_ = false;
};
