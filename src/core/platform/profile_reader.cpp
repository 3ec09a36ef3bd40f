#include "core/platform/profile_reader.h"

#include <cstdint>

#include "core/platform/cp932.h"
#include "core/platform/stable_file.h"
#include "core/platform/text_utils.h"

namespace {

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Equal ignoring ASCII letter case. Only single-byte characters are folded: a CP932 trail byte
// that happens to look like a letter ("ア" is 83 41, "ヂ" is 83 61) must match exactly.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// Position of the first (or last) single-byte character c in line, skipping double-byte
// characters whose trail byte equals c ("ゾ" is 83 5D, a "]").
size_t FindSingleByte(const std::string& line, char c, bool last) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(line[i]))) {
            ++i;
        } else if (line[i] == c) {
            found = i;
            if (!last) break;
        }
    }
    return found;
}

std::string Unquote(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    if (value.size() > ProfileReader::kMaxValueBytes) value.resize(ProfileReader::kMaxValueBytes);
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

bool ProfileReader::Load(const std::string& path) {
    sections_.clear();
    // A regular file only, and only as much as any data file: a pipe or a link to a device in
    // its place must neither block the start nor fill the memory.
    const FileContents file = ReadStableFile(path);
    if (!file.Ok()) return false;
    const std::string& content = file.bytes;

    sections_.push_back(Section{});  // keys before the first section line
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        const std::string line = TrimBlanks(content.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const size_t close = FindSingleByte(line, ']', true);
            if (close != std::string::npos) {
                sections_.push_back(Section{TrimBlanks(line.substr(1, close - 1)), {}});
                continue;
            }
        }
        const size_t eq = FindSingleByte(line, '=', false);
        if (eq == std::string::npos) {
            sections_.back().entries.push_back(Entry{line, {}});
        } else {
            sections_.back().entries.push_back(
                Entry{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))});
        }
    }
    return true;
}

const ProfileReader::Entry* ProfileReader::Find(const std::string& section,
                                                const std::string& key) const {
    const std::string wantSection = TrimBlanks(section);
    const std::string wantKey = TrimBlanks(key);
    for (const Section& s : sections_) {
        if (!SameName(s.name, wantSection)) continue;
        for (const Entry& e : s.entries) {
            if (SameName(e.key, wantKey)) return &e;
        }
        return nullptr;  // only the first section of a name is searched
    }
    return nullptr;
}

std::string ProfileReader::ReadString(const std::string& section, const std::string& key,
                                      const std::string& def) const {
    const Entry* e = Find(section, key);
    return e != nullptr ? Unquote(e->value) : def;
}

std::optional<int> ProfileReader::ReadInteger(const std::string& section,
                                              const std::string& key) const {
    const Entry* e = Find(section, key);
    if (e == nullptr) return std::nullopt;
    return ParseProfileInteger(Unquote(e->value));
}

std::optional<int> ParseProfileInteger(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        i += 1;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit =
            hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        // Hexadecimal takes the full 32 bits (FFFFFFFF is -1); decimal must fit an int.
        if (value > (hex ? 0xFFFFFFFFull : 0x80000000ull)) return std::nullopt;
    }
    if (hex) {
        const uint32_t bits = static_cast<uint32_t>(value);
        return static_cast<int>(negative ? 0u - bits : bits);
    }
    if (!negative && value > 0x7FFFFFFFull) return std::nullopt;
    return negative ? static_cast<int>(-static_cast<int64_t>(value)) : static_cast<int>(value);
}
