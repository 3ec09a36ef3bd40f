#pragma once
// A text file read the way the C runtime's text mode reads it: fgets into a fixed buffer, CR LF
// read as LF, feof set once a read has run into the end of the file. Every loader reads through
// it and keeps its own end-of-file rule.

#include <cstdio>
#include <string>

class TextFileReader {
  public:
    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Opens a regular file for reading; false when it is missing or not a file.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }
    void Close();

    // fgets: reads at most bufferSize - 1 bytes, up to and including the line end (CR LF counts as
    // one LF). Returns false (and `line` empty) when nothing could be read.
    bool ReadLine(std::string& line, int bufferSize);

    // feof: true once a read has hit the end of the file.
    bool Eof() const { return eof_; }

  private:
    int GetByte();

    std::FILE* file_ = nullptr;
    bool eof_ = false;
    int pushedBack_ = -1;
};
