#include "core/competition/couple_heats.h"

#include <algorithm>
#include <map>
#include <memory>

#include "core/competition/progress.h"
#include "core/data/heat_files.h"

namespace {

// Heat files hold back numbers of up to four digits: this modulo keeps them whole.
constexpr int kWholeNumbers = 10000;

bool RowLists(const HeatRow& row, int backNumber) {
    return std::find(row.begin(), row.end(), backNumber) != row.end();
}

bool AnyLists(const std::vector<HeatRow>& rows, int backNumber) {
    return std::any_of(rows.begin(), rows.end(),
                       [&](const HeatRow& row) { return RowLists(row, backNumber); });
}

// A category's rounds as far as they are drawn: the last one that lists the couple and whether a
// drawn round after it, before the final, leaves it out.
struct CategoryRecord {
    int lastRound = 0;
    std::vector<int> roundsWithout;
};

}  // namespace

int DrawnHeats::StepsPerDance() const {
    const int a = shuffled ? heatsPerDance : static_cast<int>(floorA.size());
    return std::max({a, static_cast<int>(floorB.size()), 1});
}

int DrawnHeats::FloorOf(int backNumber, int step) const {
    if (backNumber <= 0 || step < 0) return 0;
    const int perDance = StepsPerDance();
    const int heat = step % perDance;
    const int rowA =
        shuffled ? (heat < heatsPerDance ? step / perDance * heatsPerDance + heat : -1) : heat;
    if (rowA >= 0 && rowA < static_cast<int>(floorA.size()) && RowLists(floorA[rowA], backNumber))
        return 1;
    if (heat < static_cast<int>(floorB.size()) && RowLists(floorB[heat], backNumber)) return 2;
    return 0;
}

bool DrawnHeats::Lists(int backNumber, bool onFloorB) const {
    return backNumber > 0 && AnyLists(onFloorB ? floorB : floorA, backNumber);
}

DrawnHeats ReadDrawnHeats(const Competition& s, int event) {
    DrawnHeats drawn;
    drawn.event = event;
    const EventRecord& e = s.EventAt(event);
    if (event < 0 || e.Category() <= 0) return drawn;
    auto table = std::make_unique<HeatTables>();
    LoadHeatFiles(s.DataFolder, kWholeNumbers, e, RoundDanceCount(s, e.Category(), e.Round()),
                  *table);
    drawn.floorA.assign(table->HeatTable.begin(),
                        table->HeatTable.begin() + table->FloorARowsLoaded);
    const auto b = table->HeatTable.begin() + table->FloorBFirstRow;
    drawn.floorB.assign(b, b + table->FloorBRowsLoaded);
    drawn.heatsPerDance = table->HeatsPerDance;
    drawn.shuffled = table->ShuffledHeats != 0;
    return drawn;
}

CoupleHeat NextHeatOf(const Competition& s, const DayEstimate& day,
                      const std::vector<DrawnHeats>& drawn, int backNumber) {
    CoupleHeat none;
    if (backNumber <= 0) return none;
    std::map<int, const DrawnHeats*> byEvent;
    for (const DrawnHeats& d : drawn) {
        if (d.Drawn()) byEvent[d.event] = &d;
    }

    // The categories the couple danced in, from every drawn round.
    std::map<int, CategoryRecord> categories;
    std::vector<std::pair<int, int>> without;  // (category, round) drawn without the couple
    for (const auto& entry : byEvent) {
        const EventRecord& e = s.EventAt(entry.first);
        const DrawnHeats* d = entry.second;
        const auto note = [&](int category, int round, bool onFloorB) {
            if (d->Lists(backNumber, onFloorB)) {
                int& last = categories[category].lastRound;
                last = std::max(last, round);
            } else {
                without.emplace_back(category, round);
            }
        };
        note(e.Category(), e.Round(), false);
        if (e.HasFloorB()) note(e.FloorBCategory(), e.FloorBRound(), true);
    }
    for (const auto& [category, round] : without) {
        if (auto it = categories.find(category); it != categories.end()) {
            it->second.roundsWithout.push_back(round);
        }
    }
    // A later undrawn round of the category can still be the couple's.
    const auto awaits = [&](int category, int round) {
        const auto it = categories.find(category);
        if (it == categories.end() || round <= it->second.lastRound) return false;
        const CategoryRecord& c = it->second;
        return std::none_of(c.roundsWithout.begin(), c.roundsWithout.end(),
                            [&](int r) { return r > c.lastRound && r < kFinalRound; });
    };

    for (const ItemEstimate& item : day.items) {
        if (item.kind != ItemKind::Competition) continue;
        CoupleHeat found;
        found.item = item.item;
        found.event = item.event;
        if (const auto it = byEvent.find(item.event); it != byEvent.end()) {
            const DrawnHeats& d = *it->second;
            const int perDance = d.StepsPerDance();
            const int steps = perDance * std::max(item.dances, 1);
            for (int step = 0; step < steps; ++step) {
                const int at = item.StepAt(step, day.secondsPerHeat);
                const int floor = at >= 0 ? d.FloorOf(backNumber, step) : 0;
                if (floor == 0) continue;
                found.status = CoupleHeat::Status::Heat;
                found.floorB = floor == 2;
                found.dance = step / perDance;
                found.heat = step % perDance + 1;
                found.start = at;
                return found;
            }
            continue;
        }
        const EventRecord& e = s.EventAt(item.event);
        const bool onA = awaits(e.Category(), e.Round());
        if (onA || (e.HasFloorB() && awaits(e.FloorBCategory(), e.FloorBRound()))) {
            found.status = CoupleHeat::Status::Round;
            found.floorB = !onA;
            found.start = item.start;
            return found;
        }
    }
    return none;
}
