#include "core/data/heat_files.h"

#include <algorithm>
#include <cstring>

#include "core/data/data_file_names.h"
#include "core/platform/data_file.h"
#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"

namespace {

constexpr int kLineBuffer = 128;  // 127 bytes of a line
constexpr size_t kFieldWidth = 4;
// A line shorter than this, its line end included, ends the file.
constexpr size_t kMinLineBytes = 5;

struct RowsRead {
    int stored = 0;   // lines stored in HeatTable
    int dropped = 0;  // lines past the end of the table
};

// Reads the heat lines of path into HeatTable rows first, first + 1, ...; lines that find no row
// left are counted, not stored.
RowsRead ReadHeatRows(HeatTables& s, int mod, const std::string& path, int first) {
    RowsRead read;
    TextFileReader file;
    if (!file.Open(path, kReadWhenSettled)) return read;
    std::string line;
    do {
        file.ReadLine(line, kLineBuffer);
        // The length is the C string's: a NUL byte ends the line for this test.
        if (std::strlen(line.c_str()) < kMinLineBytes) break;
        const int row = first + read.stored;
        if (row < 0 || row >= kHeatRows) {
            ++read.dropped;
            continue;
        }
        const HeatRow numbers = ParseHeatLine(line);
        for (int k = 0; k < kHeatSlots; ++k) s.HeatTable[row][k] = ModuloNumber(numbers[k], mod);
        ++read.stored;
    } while (!file.Eof());
    return read;
}

}  // namespace

bool HasShuffledHeatFile(const std::string& dataFolder, int category, int round) {
    return IsRegularFile(DataFilePath(dataFolder, ShuffledHeatFileName(category, round)));
}

HeatRow ParseHeatLine(const std::string& line) {
    HeatRow row{};
    for (int k = 0; k < kHeatSlots; ++k) {
        const size_t start = static_cast<size_t>(k) * kFieldWidth;
        const size_t end = std::min(line.size(), start + kFieldWidth);
        size_t i = start;
        while (i < end && IsCSpace(static_cast<unsigned char>(line[i]))) ++i;
        int value = 0;
        for (; i < end && line[i] >= '0' && line[i] <= '9'; ++i)
            value = value * 10 + (line[i] - '0');
        row[k] = value;
    }
    return row;
}

HeatLine ReadHeatLine(const std::string& path) {
    HeatLine result;
    TextFileReader file;
    if (!file.Open(path, kReadWhenSettled)) return result;
    std::string line;
    file.ReadLine(line, kLineBuffer);
    file.Close();
    result.numbers = ParseHeatLine(line);
    for (int n : result.numbers) {
        if (n != 0) ++result.count;
    }
    return result;
}

void LoadHeatFiles(const std::string& dataFolder, int mod, const EventRecord& r, int danceCount,
                   HeatTables& s) {
    s.HeatRowsA = 0;
    s.HeatRowsB = 0;
    s.HeatsPerDance = 0;
    s.FloorARowsLoaded = 0;
    s.FloorBRowsLoaded = 0;
    s.FloorBFirstRow = 0;
    s.HeatRowsDropped = 0;
    for (auto& row : s.HeatTable) row.fill(0);

    // Floor A: the per-dance shuffled file wins over the plain one.
    const RoundFileNames names = RoundFilesOf(r);
    s.HeatFileCategory = r.Category();
    s.HeatFileRound = r.Round();
    const std::string shuffled = DataFilePath(dataFolder, names.shuffledA);
    s.ShuffledHeats = IsRegularFile(shuffled) ? 1 : 0;
    const std::string pathA =
        s.ShuffledHeats == 1 ? shuffled : DataFilePath(dataFolder, names.plainA);
    const RowsRead a = ReadHeatRows(s, mod, pathA, 0);
    s.HeatRowsA = a.stored;
    // The dance blocks are as long as the file says, even where the table cut its end off; no
    // block is longer than the table.
    const int blockRows = std::min((a.stored + a.dropped) / std::max(1, danceCount), kHeatRows);
    s.HeatsPerDance = s.ShuffledHeats == 1 ? blockRows : a.stored;
    s.FloorARowsLoaded = a.stored;
    s.HeatRowsDropped = a.dropped;
    s.FloorBFirstRow = a.stored;

    // Floor B, when a second event runs at the same time: its own folder first, never shuffled.
    // It follows floor A's last row: a shuffled floor A fills more rows than one dance's heats.
    if (!r.HasFloorB()) return;
    s.HeatFileCategory = r.FloorBCategory();
    s.HeatFileRound = r.FloorBRound();
    std::string pathB = DataFilePath(dataFolder, names.assistB);
    if (!IsRegularFile(pathB)) pathB = DataFilePath(dataFolder, names.plainB);
    const RowsRead b = ReadHeatRows(s, mod, pathB, s.FloorBFirstRow);
    s.HeatRowsB = b.stored;
    s.FloorBRowsLoaded = b.stored;
    s.HeatRowsDropped += b.dropped;
}
