#include "core/data/display_config_file.h"

#include "core/data/data_file_names.h"
#include "core/platform/cp932.h"
#include "core/platform/data_file.h"
#include "core/platform/text_file_reader.h"
#include "core/platform/text_utils.h"

namespace {

// Lines are read into a 256-byte buffer: at most 255 bytes, line end included.
constexpr int kLineBuffer = 256;
constexpr size_t kMaxColorChars = 31;

enum class Section { None, TopTitle, Welcome, Category, Judge, LeftPosition, Other };

Section SectionOf(const std::string& key) {
    if (key == "TT") return Section::TopTitle;
    if (key == "WC") return Section::Welcome;
    if (key == "CN") return Section::Category;
    if (key == "JG") return Section::Judge;
    if (key == "LP") return Section::LeftPosition;
    // "SF" carries two numbers that nothing here uses; unknown keys are skipped alike.
    return Section::Other;
}

// Columns first..last (1-based, inclusive) of line, trimmed.
std::string Field(const std::string& line, size_t first, size_t last) {
    return TrimBlanks(Columns(line, first - 1, last - first + 1));
}

// Category row n (below kCategoryRows) from a CN line.
void ApplyCategory(ConfigTables& s, int n, const std::string& line) {
    s.CategoryCodes[n] = Field(line, 1, 6);
    s.CategoryNames[n] = Field(line, 7, 46);
    s.CategoryShortNames[n] = Field(line, 47, 66);
    for (int d = 0; d < kDances; ++d) {
        const size_t col = 66 + static_cast<size_t>(d);
        // A blank is round 8 (danced in no preliminary); a digit is its round; past the end -48.
        int cell = -48;
        if (col < line.size()) {
            const int b = static_cast<unsigned char>(line[col]);
            cell = b == ' ' ? 8 : b - 48;
        }
        s.CategoryDanceRounds[n][d] = static_cast<int8_t>(cell);
    }
    // A repeated CN section rewrites its rows, the flag included.
    s.CategoryRedance[n] = line.size() > 76 && line[76] == 'R' ? 1 : 0;
    s.CategoryCount = n + 1;
}

// Judge row n (below kJudgeRows) from a JG line.
void ApplyJudge(ConfigTables& s, int n, const std::string& line) {
    s.JudgeCodes[n] = Field(line, 1, 2);
    s.JudgeNames[n] = Field(line, 3, 18);
    s.JudgeNotes[n] =
        line.size() > 18 && line[18] == '#' ? Field(line, 20, 34) : Field(line, 19, 34);
    s.JudgeCount = n + 1;
}

}  // namespace

bool LoadDisplayConfig(const std::string& dataFolder, ConfigTables& s) {
    TextFileReader file;
    if (!file.Open(DataFilePath(dataFolder, kConfFileName))) return false;

    for (std::string& t : s.Config.TopTitleLines) t.clear();
    for (std::string& t : s.Config.WelcomeTitleLines) t.clear();
    s.CategoryRedance.fill(0);

    Section section = Section::None;
    int n = 0;
    std::string line;
    for (;;) {
        file.ReadLine(line, kLineBuffer);
        // A line is used only when its line end was read: a last line without one is dropped.
        if (file.Eof()) break;
        CutAtNul(line);
        // The last byte is the line end; of a 255-byte piece it is a byte of the text.
        if (!line.empty()) line.pop_back();
        if (line.compare(0, 3, "!//") == 0) {
            section = SectionOf(Columns(line, 3, 2));
            n = 0;
            continue;
        }
        switch (section) {
            case Section::TopTitle:
                if (n < 3) s.Config.TopTitleLines[n++] = line;
                break;
            case Section::Welcome:
                if (n < 3) s.Config.WelcomeTitleLines[n++] = line;
                break;
            case Section::Category:  // rows beyond the table are ignored
                if (n < kCategoryRows) ApplyCategory(s, n++, line);
                break;
            case Section::Judge:
                if (n < kJudgeRows) ApplyJudge(s, n++, line);
                break;
            case Section::LeftPosition:
                ScanDecimal(line.c_str(), s.Config.ScreenLeft);
                break;
            case Section::None:  // data lines before the first section line
            case Section::Other:
                break;
        }
    }
    file.Close();
    for (std::string& t : s.Config.TopTitleLines) t = TrimBlanks(t);
    return true;
}

uint32_t ApplyHexColor(const std::string& text) {
    uint32_t value = 0;
    size_t chars = 0;
    for (size_t i = 0; i < text.size() && chars < kMaxColorChars; ++i, ++chars) {
        const char c = text[i];
        uint32_t digit = 0;
        // A double-byte character is one non-hex character, whatever its trail byte looks like.
        if (IsCp932LeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) ++i;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        }
        value = value * 16 + digit;
    }
    return value;
}
