// The INI reader on any bytes: the settings' keys and the names the file itself uses looked up,
// values within the reader's buffer, integers parsed as the reader parses them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/platform/cp932.h"
#include "core/platform/profile_reader.h"
#include "fuzz_support.h"

namespace {

constexpr size_t kNone = std::string::npos;

// The name of the input's first "[...]" and the key of its first "key=" line, whatever they are:
// lookups of names the file itself uses find something far more often than fixed names would.
std::string FirstSection(const std::string& bytes) {
    const size_t open = bytes.find('[');
    const size_t close = open == kNone ? kNone : bytes.find(']', open);
    return close == kNone ? std::string() : bytes.substr(open + 1, close - open - 1);
}

std::string FirstKey(const std::string& bytes) {
    const size_t eq = bytes.find('=');
    if (eq == kNone) return {};
    const size_t lineEnd = bytes.rfind('\n', eq);
    const size_t start = lineEnd == kNone ? 0 : lineEnd + 1;
    return bytes.substr(start, eq - start);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    InitFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteScratchFile("profile.ini", data, size);
    ProfileReader ini;
    FUZZ_CHECK(ini.Load(ScratchFolder() + "/profile.ini"));
    static const std::string kFolderSection = Sjis("データ保存");
    static const std::string kSpecialSection = Sjis("特殊");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string key = FirstKey(bytes);
    for (const std::string& s :
         {kFolderSection, kSpecialSection, FirstSection(bytes), std::string()}) {
        for (const std::string& k : {std::string("Path"), std::string("Mod"), key}) {
            FUZZ_CHECK(ini.ReadString(s, k, "").size() <= ProfileReader::kMaxValueBytes);
            ini.ReadInteger(s, k);
        }
    }
    ParseProfileInteger(bytes);
    return 0;
}
