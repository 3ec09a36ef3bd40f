#include "core/competition/round_names.h"

#include <array>

#include "core/platform/cp932.h"

int ZeroBasedIndex(int number) { return number > 0 ? number - 1 : -1; }

const std::string& RoundName(int roundIndex, int redance) {
    static const std::array<std::string, 8> kPlain{
        Sjis("１次予選"), Sjis("２次予選"), Sjis("３次予選"), Sjis("４次予選"),
        Sjis("５次予選"), Sjis("準決勝"),   Sjis("決　勝"),   Sjis("下位決勝")};
    static const std::array<std::string, 8> kRedance{
        Sjis("１次予選"), Sjis("リダンス"), Sjis("２次予選"), Sjis("３次予選"),
        Sjis("４次予選"), Sjis("準決勝"),   Sjis("決　勝"),   Sjis("下位決勝")};
    static const std::string kNone = "---";
    if (roundIndex < 0 || roundIndex > 7) return kNone;
    return redance ? kRedance[roundIndex] : kPlain[roundIndex];
}

std::string HeatsFigure(const std::string& heats) { return "/ " + heats + "H"; }

std::string CategoryCode(const Competition& s, int categoryIndex) {
    if (categoryIndex >= 0 && categoryIndex < s.CategoryCount && categoryIndex < kCategoryRows) {
        return s.CategoryCodes[categoryIndex];
    }
    return "---";
}
