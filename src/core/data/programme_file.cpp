#include "core/data/programme_file.h"

#include "core/data/data_file_names.h"
#include "core/platform/data_file.h"
#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"

namespace {

constexpr int kLineBuffer = 128;  // 127 bytes of a line

}  // namespace

bool ReadProgramme(const std::string& dataFolder, ProgrammeTables& s) {
    TextFileReader file;
    // A file that cannot be read leaves the programme as it was: clearing the items and keeping
    // their count would show blank items.
    if (!file.Open(DataFilePath(dataFolder, kProgrammeFileName), kReadWhenSettled)) return false;
    s.ProgrammeNonCompetition.fill(0);
    for (auto* texts :
         {&s.ProgrammeCodes, &s.ProgrammeCodesB, &s.ProgrammeTexts, &s.ProgrammeTextsB}) {
        for (std::string& t : *texts) t.clear();
    }

    int count = 0;
    std::string line;
    // Unlike the other files, a last line without its line end is still an item.
    while (file.ReadLine(line, kLineBuffer)) {
        CutAtNul(line);
        // An empty line (or one too short to hold a kind and a code) ends the programme.
        if (line.size() < 2 || line[0] == '\r' || line[0] == '\n') break;
        const char kind = line[0];
        std::string code = TrimBlanks(Columns(line, 2, 4));
        std::string text = TrimBlanks(Columns(line, 8));
        if (kind == '+') {
            // The floor-B event of the item before; nothing to attach to on the first line.
            if (count > 0) {
                s.ProgrammeCodesB[count - 1] = std::move(code);
                s.ProgrammeTextsB[count - 1] = std::move(text);
            }
            continue;
        }
        // Items beyond the table end the reading, so their "+" lines cannot land on item 100.
        if (count >= kProgrammeRows) break;
        s.ProgrammeNonCompetition[count] = kind == '1' ? 1 : 0;
        s.ProgrammeCodes[count] = std::move(code);
        s.ProgrammeTexts[count] = std::move(text);
        ++count;
    }
    s.ProgrammeCount = count;
    return true;
}
