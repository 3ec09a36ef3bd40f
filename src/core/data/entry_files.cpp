#include "core/data/entry_files.h"

#include <array>
#include <cstring>

#include "core/data/data_file_names.h"
#include "core/platform/data_file.h"
#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"

namespace {

constexpr int kMemLineBuffer = 256;    // 255 bytes of a Mem.csv line
constexpr int kEventLineBuffer = 128;  // 127 bytes of a seqdat.csv line
constexpr int kMemFields = 6;
constexpr int kEventNumbers = 12;

// The first six comma-separated fields of line; missing ones are empty. No quoting. A comma is
// never a CP932 trail byte, so names are not split through a character.
std::array<std::string, kMemFields> SplitMemLine(const std::string& line) {
    std::array<std::string, kMemFields> fields;
    size_t start = 0;
    for (int i = 0; i < kMemFields && start <= line.size(); ++i) {
        size_t comma = line.find(',', start);
        if (comma == std::string::npos) comma = line.size();
        fields[i] = line.substr(start, comma - start);
        start = comma + 1;
    }
    return fields;
}

}  // namespace

void LoadEntries(const std::string& dataFolder, CoupleTables& s) {
    static const std::string kPairSeparator = " / ";
    TextFileReader file;
    if (!file.Open(DataFilePath(dataFolder, kEntriesFileName))) return;
    std::string line;
    for (;;) {
        file.ReadLine(line, kMemLineBuffer);
        if (file.Eof()) break;  // a last line without its line end is not used
        CutAtNul(line);
        const std::array<std::string, kMemFields> f = SplitMemLine(line);
        const long n = Atol(f[0]);
        if (n < 0 || n >= kCoupleRows) continue;  // no such back number
        // Fields 4 and 5 are not shown; the line end sits in the last field read and is trimmed.
        s.CoupleNames[n] = TrimBlanks(f[1]) + kPairSeparator + TrimBlanks(f[2]);
        s.CoupleAffiliations[n] = TrimBlanks(f[5]);
    }
}

bool LoadEvents(const std::string& dataFolder, EventTables& s) {
    TextFileReader file;
    // A file that cannot be read leaves the events as they were, the count included: a count of
    // 0 would make every programme item look for its event in an empty row.
    if (!file.Open(DataFilePath(dataFolder, kEventsFileName), kReadWhenSettled)) return false;
    s.EventCount = 0;
    s.EventTable.fill(EventRecord{});
    for (std::string& name : s.EventNames) name.clear();

    std::string line;
    while (s.EventCount < kEventRows) {  // lines beyond the table are skipped
        file.ReadLine(line, kEventLineBuffer);
        if (file.Eof()) break;
        CutAtNul(line);
        const int k = s.EventCount++;
        const size_t comma = line.find(',');
        if (comma == std::string::npos) continue;  // blank or malformed: an empty event
        s.EventNames[k] = line.substr(0, comma);
        const char* p = line.c_str() + comma + 1;
        for (int j = 1; j <= kEventNumbers; ++j) {
            ScanDecimal(p, s.EventTable[k].Ints[j]);  // a field without a number stays 0
            const char* next = std::strchr(p, ',');
            if (next == nullptr) break;
            p = next + 1;
        }
    }
    return true;
}
