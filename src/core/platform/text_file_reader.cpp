#include "core/platform/text_file_reader.h"

#include <sys/stat.h>

TextFileReader::~TextFileReader() { Close(); }

bool TextFileReader::Open(const std::string& path) {
    Close();
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    file_ = std::fopen(path.c_str(), "rb");
    eof_ = false;
    pushedBack_ = -1;
    return file_ != nullptr;
}

void TextFileReader::Close() {
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
}

int TextFileReader::GetByte() {
    if (pushedBack_ >= 0) {
        const int b = pushedBack_;
        pushedBack_ = -1;
        return b;
    }
    const int b = std::getc(file_);
    if (b == EOF) {
        eof_ = true;
        return EOF;
    }
    if (b == '\r') {
        // Text mode: CR LF becomes LF; a lone CR stays.
        const int next = std::getc(file_);
        if (next == '\n') return '\n';
        if (next == EOF) {
            eof_ = true;
        } else {
            pushedBack_ = next;
        }
    }
    return b;
}

bool TextFileReader::ReadLine(std::string& line, int bufferSize) {
    line.clear();
    if (file_ == nullptr || bufferSize <= 1) return false;
    while (static_cast<int>(line.size()) < bufferSize - 1) {
        const int b = GetByte();
        if (b == EOF) break;
        line.push_back(static_cast<char>(b));
        if (b == '\n') break;
    }
    return !line.empty();
}
