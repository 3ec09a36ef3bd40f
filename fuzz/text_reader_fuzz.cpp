// The text-mode reader on any bytes, at the buffer sizes the loaders use and at the smallest
// ones: the lines come out in order, with CR LF read as LF, each cut to its buffer and never
// continued as a further line. The C-string helpers the loaders apply to each line run on what
// it gives.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"
#include "fuzz_support.h"

namespace {

// The lines of bytes as the C runtime's text mode hands them out (each CR LF pair becomes LF),
// each cut to the buffer's bufferSize - 1 bytes.
std::vector<std::string> ExpectedLines(const std::string& bytes, int bufferSize) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        lines.back().push_back(bytes[i]);
        if (bytes[i] == '\n') lines.emplace_back();
    }
    if (lines.back().empty()) lines.pop_back();
    for (std::string& line : lines)
        line.resize(std::min(line.size(), static_cast<size_t>(bufferSize - 1)));
    return lines;
}

void CheckHelpers(std::string line) {
    const std::string trimmed = TrimBlanks(line);
    if (!trimmed.empty()) {
        FUZZ_CHECK(static_cast<unsigned char>(trimmed.front()) > 0x20);
        FUZZ_CHECK(static_cast<unsigned char>(trimmed.back()) > 0x20);
    }
    Atol(line);
    int value = 0;
    ScanDecimal(line.c_str(), value);
    CutAtNul(line);
    FUZZ_CHECK(line.find('\0') == std::string::npos);
    FUZZ_CHECK(Columns(line, 66, 10).size() <= 10);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteScratchFile("text.txt", data, size);
    for (const int buffer : {128, 256, 2, 3}) {
        TextFileReader file;
        FUZZ_CHECK(file.Open(ScratchFolder() + "/text.txt"));
        std::vector<std::string> lines;
        std::string line;
        while (file.ReadLine(line, buffer)) {
            lines.push_back(line);
            if (buffer >= 128) CheckHelpers(line);
        }
        FUZZ_CHECK(file.Eof());
        FUZZ_CHECK(lines == ExpectedLines(bytes, buffer));
    }
    return 0;
}
