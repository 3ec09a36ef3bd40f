#pragma once
// Reads an INI file in CP932 the way the Windows private-profile reader does: "[section]" lines,
// "key = value" lines, names matched ignoring ASCII letter case, blanks around names and values
// dropped, a pair of matching quotes around a value removed, values cut to 2047 bytes.

#include <optional>
#include <string>
#include <vector>

class ProfileReader {
  public:
    // Reads the whole file. A missing or unreadable file, one that is not a regular file or is
    // larger than kMaxDataFileBytes, leaves every key absent (false).
    bool Load(const std::string& path);

    // The value of key in section (names in CP932), or def when either is absent. The first
    // section and the first key of a name win, as with the Windows reader.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;

    // The value as an integer: decimal, or hexadecimal after "0x", "0X" or "$", with an optional
    // sign. Absent, empty or unparsable values (trailing bytes, out of range) give nullopt.
    std::optional<int> ReadInteger(const std::string& section, const std::string& key) const;

    // Largest value the reader hands out, as with its 2048-byte buffer.
    static constexpr size_t kMaxValueBytes = 2047;

  private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Entry* Find(const std::string& section, const std::string& key) const;

    std::vector<Section> sections_;
};

// Parses a profile integer as ProfileReader::ReadInteger does.
std::optional<int> ParseProfileInteger(const std::string& text);
