#include "core/data/final_file.h"

#include "core/data/data_file_names.h"
#include "core/platform/data_file.h"
#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"

namespace {

constexpr int kLineBuffer = 128;  // 127 bytes of a line
constexpr size_t kMinResultLineBytes = 50;
constexpr size_t kNumberBytes = 3;

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

void ParseResultLine(const std::string& line, int mod, ResultRow& row) {
    static const std::string kPairSeparator = " / ";
    static const std::string kNumberMarker = " - ";
    row.PlacingText = TrimBlanks(Columns(line, 0, 6));
    row.CoupleText =
        TrimBlanks(Columns(line, 8, 18)) + kPairSeparator + TrimBlanks(Columns(line, 26, 18));
    row.AffiliationText = TrimBlanks(Columns(line, 44, 26));
    const size_t marker = line.find(kNumberMarker);
    if (marker == std::string::npos) return;
    // A marker nearer the start than three bytes gives the bytes that are there.
    const size_t start = marker >= kNumberBytes ? marker - kNumberBytes : 0;
    const long number = Atol(line.substr(start, marker - start));
    row.NumberText = std::to_string(ModuloNumber(static_cast<int>(number), mod));
}

bool LoadFinalFile(const std::string& dataFolder, int category, int mod, ResultTables& t) {
    t.LastFinalRead = {};
    TextFileReader file;
    if (!file.Open(DataFilePath(dataFolder, FinalFileName(category)), kReadWhenSettled)) {
        return false;
    }
    t.LastFinalRead.opened = true;
    std::string line;
    file.ReadLine(line, kLineBuffer);
    CutAtNul(line);
    t.LastFinalRead.titleLine = WithoutLineEnd(line);
    for (int i = 0; i < kResultRows; ++i) {
        if (file.Eof()) break;
        file.ReadLine(line, kLineBuffer);
        CutAtNul(line);
        if (line.size() < kMinResultLineBytes) break;
        ParseResultLine(line, mod, t.ResultTable[i]);
        t.ResultRowCount = i + 1;
        t.LastFinalRead.rows = i + 1;
        // A last line without a line end still counts.
        if (file.Eof()) break;
    }
    return true;
}
