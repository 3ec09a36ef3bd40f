#include "core/competition/competition_state.h"

namespace {

const EventRecord kEmptyEvent{};
const std::string kEmptyText;

}  // namespace

const EventRecord& Competition::EventAt(int i) const {
    return i >= 0 && i < kEventRows ? EventTable[i] : kEmptyEvent;
}

const std::string& Competition::EventNameAt(int i) const {
    return i >= 0 && i < kEventRows ? EventNames[i] : kEmptyText;
}

const std::string& Competition::CategoryNameAt(int row) const {
    return row >= 0 && row < kCategoryRows ? CategoryNames[row] : kEmptyText;
}

const std::string& Competition::CategoryShortNameAt(int row) const {
    return row >= 0 && row < kCategoryRows ? CategoryShortNames[row] : kEmptyText;
}

int Competition::CategoryRedanceAt(int row) const {
    return row >= 0 && row < kCategoryRows ? CategoryRedance[row] : 0;
}

int Competition::ShownNumber(int backNumber) const { return ModuloNumber(backNumber, Config.Mod); }

const std::array<std::string, kDances>& DanceNames() {
    static const std::array<std::string, kDances> names{
        "Waltz", "Tango",     "Viennese Waltz", "Slow Foxtrot", "Quickstep",
        "Samba", "ChaChaCha", "Rumba",          "Paso Doble",   "Jive"};
    return names;
}
