#include "core/competition/programme_item.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/competition/round_load_guard.h"
#include "core/competition/round_names.h"
#include "core/competition/view_data.h"
#include "core/competition/view_types.h"
#include "core/data/heat_files.h"
#include "core/platform/text_utils.h"

namespace {

constexpr int kRowHeight = 20;
// The list bitmap is 4000 pixels tall: 200 rows, of which the first 100 hold the items.
constexpr int kListBitmapRows = 4000 / kRowHeight;

std::string Number(int value) { return std::to_string(value); }
std::string NumberOrDash(int value) { return value != 0 ? Number(value) : "-"; }

// printf's "%-Ns": the text, padded with blanks to at least `width` bytes.
std::string PadRight(const std::string& text, size_t width) {
    std::string out = text;
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

bool HasItem(const Competition& s, int item) {
    return item >= 0 && item < s.ProgrammeCount && item < kProgrammeRows;
}

bool IsCompetitionItem(const Competition& s, int item) {
    return s.ProgrammeNonCompetition[item] != 1;
}

}  // namespace

int MatchEvent(const EventTables& s, const std::string& code) {
    const int number = LeadingEventNumber(code);
    const int count = std::min(s.EventCount, kEventRows);
    if (number >= 0) {
        for (int i = 0; i < count; ++i) {
            if (LeadingEventNumber(s.EventNames[i]) == number) return i;
        }
    }
    // The first free row, whose numbers are all 0; with all rows in use this is past the table,
    // where EventAt gives an empty record.
    return std::max(s.EventCount, 0);
}

bool FinalAllowed(const Competition& s) {
    // The lower final (round 8) has finalists too.
    return s.CurrentEventIndex >= 0 && s.CurrentEvent().Round() >= kFinalRound;
}

int LeadingEventNumber(const std::string& text) {
    // The first three bytes without the blanks (bytes up to 0x20) around them; the day's estimate
    // matches every item against every event after each step, so no string is made.
    std::string_view head = std::string_view(text).substr(0, 3);
    while (!head.empty() && static_cast<unsigned char>(head.back()) <= 0x20) head.remove_suffix(1);
    while (!head.empty() && static_cast<unsigned char>(head.front()) <= 0x20) head.remove_prefix(1);
    if (head.empty()) return -1;
    int value = 0;
    for (char c : head) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

ProgrammeItemLabels ShowProgrammeItem(Competition& s) {
    const int item = s.CurrentProgrammeIndex;
    if (!HasItem(s, item)) return {};
    const std::string& code = s.ProgrammeCodes[item];
    int e = -1;
    if (IsCompetitionItem(s, item)) {
        e = code.starts_with('X') ? s.CurrentEventIndex : MatchEvent(s, code);
    }
    s.CurrentEventIndex = e;
    return ProgrammeItemLabelsOf(s);
}

ProgrammeItemLabels ProgrammeItemLabelsOf(const Competition& s) {
    ProgrammeItemLabels out;
    const int item = s.CurrentProgrammeIndex;
    if (!HasItem(s, item)) return out;
    out.shown = true;

    const bool competition = IsCompetitionItem(s, item);
    // A competition item's event, as ShowProgrammeItem made it current.
    const int e = competition ? s.CurrentEventIndex : -1;
    const EventRecord& event = s.EventAt(e);
    const bool secondFloor = e >= 0 && event.HasFloorB();

    out.secondFloor = secondFloor;
    if (competition) {
        out.label70 = TrimBlanks(s.EventNameAt(e).substr(0, 3));
        if (event.HasFloorB()) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "%3d", event.FloorBEvent());
            out.label71 = buffer;
            out.label68 = " " + s.ProgrammeTextsB[item];
        } else {
            out.label71 = " --- ";
        }
    } else {
        out.label70 = " --- ";
    }
    out.label67 = " " + s.ProgrammeTexts[item];
    out.finalEnabled = FinalAllowed(s);
    out.scrollPosition = item <= 1 ? 0 : item - 1;

    if (e < 0) return out;
    out.groupsShown = true;
    const int category = event.Category();
    const int categoryB = event.FloorBCategory();
    out.label8 = CategoryCode(s, ZeroBasedIndex(category));
    out.label4 =
        RoundName(ZeroBasedIndex(event.Round()), s.CategoryRedanceAt(ZeroBasedIndex(category)));
    out.label9 = NumberOrDash(event.Heats());
    out.label18 = HeatsFigure(out.label9);
    out.label10 = NumberOrDash(event.CouplesPassing());
    out.label11 = CategoryCode(s, ZeroBasedIndex(categoryB));
    out.label26 = RoundName(ZeroBasedIndex(event.FloorBRound()),
                            s.CategoryRedanceAt(ZeroBasedIndex(categoryB)));
    out.label12 = NumberOrDash(event.FloorBHeats());
    out.label13 = NumberOrDash(event.FloorBCouplesPassing());
    return out;
}

bool ProgrammeStepForward(Competition& s) {
    if (s.CurrentProgrammeIndex >= s.ProgrammeCount - 1) return false;
    s.CurrentProgrammeIndex += 1;
    return true;
}

bool ProgrammeStepBack(Competition& s) {
    if (s.CurrentProgrammeIndex <= 0) return false;
    s.CurrentProgrammeIndex -= 1;
    return true;
}

void SelectProgrammeRow(Competition& s, int bitmapY) {
    // A row below the table stays an empty row (even with all 100 items in use): nothing reads the
    // programme tables at such an index.
    s.CurrentProgrammeIndex = std::clamp(bitmapY / kRowHeight, 0, kListBitmapRows - 1);
}

FollowActions PlanFollowProgrammeItem(Competition& s, bool forward, bool linkChecked,
                                      const std::optional<HeatPosition>& keep) {
    bool switchToMessage = false;
    GuardedRoundLoad round;
    if (forward && s.CurrentEventIndex < 0) {
        s.CurrentView = 7;
        switchToMessage = true;
    } else if (s.CurrentView == 3) {
        round = LoadRoundIfReadable(s);
        if (round.load.loaded && keep) RestoreHeatPosition(s, *keep);
    }
    FollowActions actions = RefreshFollowLinks(s, linkChecked);
    actions.switchToMessage = switchToMessage;
    actions.reloadRound = round.load.loaded;
    actions.roundUnreadable = round.unreadable;
    actions.round = round.load;
    return actions;
}

std::optional<ProgrammeStepPicture> PictureAfterProgrammeStep(const Competition& s) {
    ProgrammeStepPicture next{s, s.CurrentView};
    Competition& n = next.state;
    if (!ProgrammeStepForward(n)) return std::nullopt;
    ShowProgrammeItem(n);
    const FollowActions a = PlanFollowProgrammeItem(n, true, n.ResultLinkChecked, std::nullopt);
    if (a.reloadRound) {
        n.CurrentRoundShuffled = n.ShuffledHeats == 1;
        next.view = kViewHeat;
    } else if (a.roundUnreadable || n.CurrentView == kViewHeat) {
        // The heat view of a round not read again: the picture of the item before.
        return std::nullopt;
    } else {
        next.view = n.CurrentView;
    }
    if (!ReadViewInputs(n, next.view)) return std::nullopt;
    return next;
}

FollowActions RefreshFollowLinks(Competition& s, bool linkChecked) {
    FollowActions actions;
    if (s.CurrentEventIndex < 0) return actions;
    actions.hasEvent = true;
    const EventRecord& event = s.CurrentEvent();
    s.HeatFileCategory = event.Category();
    s.HeatFileRound = event.Round();
    actions.shuffleShown = HasShuffledHeatFile(s.DataFolder, s.HeatFileCategory, s.HeatFileRound);
    if (linkChecked && event.IsFinal()) actions.resultCategory = event.Category();
    return actions;
}

int ResultListRowOf(const Competition& s, int category, int rows) {
    const int count = std::min(rows, kResultListRows);
    for (int r = 0; r < count; ++r) {
        if (s.ResultListCategories[r] + 1 == category) return r;
    }
    return -1;
}

std::vector<std::string> FillResultList(Competition& s, bool categoryOrder) {
    std::vector<std::string> rows;
    s.ResultListCategories.fill(0);
    const auto add = [&](std::string text, int categoryRow) {
        if (static_cast<int>(rows.size()) >= kResultListRows) return;
        s.ResultListCategories[rows.size()] = categoryRow;
        rows.push_back(std::move(text));
    };
    if (categoryOrder) {
        const int count = std::min(s.CategoryCount, kCategoryRows);
        for (int i = 0; i < count; ++i) {
            char number[16];
            std::snprintf(number, sizeof number, "#%02d ", i + 1);
            add(number + PadRight(CategoryCode(s, i), 4) + " " + s.CategoryNames[i], i);
        }
        return rows;
    }
    const int events = std::min(s.EventCount, kEventRows);
    for (int e = 0; e < events; ++e) {
        const EventRecord& event = s.EventTable[e];
        if (event.IsFinal()) {
            const int row = ZeroBasedIndex(event.Category());
            add(PadRight(s.EventNames[e], 4) + PadRight(CategoryCode(s, row), 4) +
                    s.CategoryNameAt(row),
                row);
        }
        if (event.FloorBIsFinal()) {
            const int row = ZeroBasedIndex(event.FloorBCategory());
            add(PadRight(Number(event.FloorBEvent()), 5) + PadRight(CategoryCode(s, row), 4) +
                    s.CategoryNameAt(row),
                row);
        }
    }
    return rows;
}

std::vector<std::string> DataResetResultRows(const Competition& s) {
    std::vector<std::string> rows;
    const int count = std::min(s.CategoryCount, kCategoryRows);
    for (int i = 0; i < count; ++i) {
        rows.push_back(PadRight(CategoryCode(s, i), 4) + " " + s.CategoryNames[i]);
    }
    return rows;
}
