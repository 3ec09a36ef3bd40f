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

std::pair<const HeatRow*, const HeatRow*> DrawnHeats::RowsOf(int step) const {
    if (step < 0) return {nullptr, nullptr};
    const int perDance = StepsPerDance();
    const int heat = step % perDance;
    const int rowA =
        shuffled ? (heat < heatsPerDance ? step / perDance * heatsPerDance + heat : -1) : heat;
    return {rowA >= 0 && rowA < static_cast<int>(floorA.size()) ? &floorA[rowA] : nullptr,
            heat < static_cast<int>(floorB.size()) ? &floorB[heat] : nullptr};
}

int DrawnHeats::FloorOf(int backNumber, int step) const {
    if (backNumber <= 0) return 0;
    const auto [a, b] = RowsOf(step);
    if (a != nullptr && RowLists(*a, backNumber)) return 1;
    if (b != nullptr && RowLists(*b, backNumber)) return 2;
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
    return CoupleHeatIndex(s, day, drawn).Next(backNumber);
}

CoupleHeatIndex::CoupleHeatIndex(const Competition& s, const DayEstimate& day,
                                 const std::vector<DrawnHeats>& drawn)
    : s_(s), day_(day) {
    for (const DrawnHeats& d : drawn) {
        if (!d.Drawn()) continue;
        DrawnEvent& e = byEvent_[d.event];
        e = DrawnEvent{.heats = &d};
        for (const auto& [rows, set] : {std::pair{&d.floorA, &e.onA}, std::pair{&d.floorB, &e.onB}}) {
            for (const HeatRow& row : *rows) {
                for (int n : row) {
                    if (n > 0) set->insert(n);
                }
            }
        }
    }
    firstSteps_.resize(day.items.size());
    for (size_t i = 0; i < day.items.size(); ++i) {
        const ItemEstimate& item = day.items[i];
        if (item.kind != ItemKind::Competition) continue;
        const auto it = byEvent_.find(item.event);
        if (it == byEvent_.end()) continue;
        const DrawnHeats& d = *it->second.heats;
        const int steps = d.StepsPerDance() * std::max(item.dances, 1);
        for (int step = 0; step < steps; ++step) {
            const int at = item.StepAt(step, day.secondsPerHeat);
            if (at < 0) continue;
            // Floor A first: a number listed on both floors of a step dances on A.
            const auto [a, b] = d.RowsOf(step);
            for (const auto& [row, onB] : {std::pair{a, false}, std::pair{b, true}}) {
                if (row == nullptr) continue;
                for (int n : *row) {
                    if (n > 0) firstSteps_[i].try_emplace(n, FirstStep{step, onB, at});
                }
            }
        }
    }
}

CoupleHeat CoupleHeatIndex::Next(int backNumber) const {
    CoupleHeat none;
    if (backNumber <= 0) return none;

    // The categories the couple danced in, from every drawn round.
    std::map<int, CategoryRecord> categories;
    std::vector<std::pair<int, int>> without;  // (category, round) drawn without the couple
    for (const auto& [event, drawn] : byEvent_) {
        const EventRecord& e = s_.EventAt(event);
        const auto note = [&](int category, int round, const std::unordered_set<int>& lists) {
            if (lists.count(backNumber) != 0) {
                int& last = categories[category].lastRound;
                last = std::max(last, round);
            } else {
                without.emplace_back(category, round);
            }
        };
        note(e.Category(), e.Round(), drawn.onA);
        if (e.HasFloorB()) note(e.FloorBCategory(), e.FloorBRound(), drawn.onB);
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

    for (size_t i = 0; i < day_.items.size(); ++i) {
        const ItemEstimate& item = day_.items[i];
        if (item.kind != ItemKind::Competition) continue;
        CoupleHeat found;
        found.item = item.item;
        found.event = item.event;
        if (const auto it = byEvent_.find(item.event); it != byEvent_.end()) {
            const auto first = firstSteps_[i].find(backNumber);
            if (first == firstSteps_[i].end()) continue;
            const int perDance = it->second.heats->StepsPerDance();
            found.status = CoupleHeat::Status::Heat;
            found.floorB = first->second.floorB;
            found.dance = first->second.step / perDance;
            found.heat = first->second.step % perDance + 1;
            found.start = first->second.at;
            return found;
        }
        const EventRecord& e = s_.EventAt(item.event);
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
