#include "core/competition/now_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <set>

#include "core/competition/progress.h"
#include "core/competition/round_names.h"
#include "core/platform/cp932.h"
#include "core/platform/text_utils.h"

namespace {

QJsonValue TextOrNull(const std::string& cp932) {
    const std::string trimmed = TrimBlanks(cp932);
    if (trimmed.empty()) return QJsonValue::Null;
    return FromCp932(trimmed);
}

// Collects the rows of the heat table that a page shows, and the couples in them.
class HeatRows {
  public:
    explicit HeatRows(const Competition& s) : s_(s) {}

    // The back numbers of one row as the heat view shows them; none for a row outside the
    // table (a floor without that heat).
    QJsonArray Numbers(int row) {
        QJsonArray out;
        if (row < 0 || row >= kHeatRows) return out;
        for (int n : s_.HeatTable[row]) {
            if (n == 0) continue;
            out.append(s_.ShownNumber(n));
            seen_.insert(n);
        }
        return out;
    }

    // The floors of heat step `step`, as the heat view places them.
    QJsonArray Floors(int step) {
        if (s_.CurrentEvent().HasFloorB())
            return {Numbers(FloorARow(s_, step)), Numbers(FloorBRow(s_, step))};
        return {Numbers(step)};
    }

    QJsonObject Couples() const {
        QJsonObject out;
        for (int n : seen_) {
            if (n < 0 || n >= kCoupleRows) continue;
            out.insert(
                QString::number(s_.ShownNumber(n)),
                QJsonObject{{"names", FromCp932(TrimBlanks(s_.CoupleNames[n]))},
                            {"affiliation", FromCp932(TrimBlanks(s_.CoupleAffiliations[n]))}});
        }
        return out;
    }

  private:
    const Competition& s_;
    std::set<int> seen_;
};

QJsonObject FloorJson(const Competition& s, const QString& name, const QString& event, int category,
                      int round) {
    const int row = ZeroBasedIndex(category);
    return {{"name", name},
            {"event", event},
            {"category", TextOrNull(s.CategoryNameAt(row))},
            {"round", FromCp932(RoundName(ZeroBasedIndex(round), s.CategoryRedanceAt(row)))}};
}

QJsonValue ItemText(const Competition& s, bool floorB) {
    const int i = s.CurrentProgrammeIndex;
    if (i < 0 || i >= s.ProgrammeCount || i >= kProgrammeRows) return QJsonValue::Null;
    return TextOrNull(floorB ? s.ProgrammeTextsB[i] : s.ProgrammeTexts[i]);
}

// The Next block of the heat view: one floor shows the next heat of this dance, else heat 1 of
// the next dance; two floors only the next heat step.
QJsonArray NextFloors(const Competition& s, HeatRows& rows) {
    const int next = s.HeatIndex + 1;
    if (s.CurrentEvent().HasFloorB()) return next < s.HeatCount ? rows.Floors(next) : QJsonArray();
    if (s.HeatCount <= 1) return {};
    if (next < s.HeatRowsA) return {rows.Numbers(next)};
    if (s.DanceIndex + 1 < s.DanceCount) return {rows.Numbers(0)};
    return {};
}

}  // namespace

QJsonObject NowJson(const Competition& s) {
    QJsonObject o;
    o["view"] = s.CurrentView;
    o["hold"] = s.HoldScreen == 1;
    o["item"] = ItemText(s, false);
    o["itemB"] = ItemText(s, true);

    const bool hasEvent = s.CurrentEventIndex >= 0 && s.CurrentEventIndex < s.EventCount;
    const EventRecord& r = s.CurrentEvent();
    QJsonArray floors;
    if (hasEvent) {
        const QString name = FromCp932(TrimBlanks(s.EventNameAt(s.CurrentEventIndex)));
        const bool twoFloors = r.HasFloorB();
        floors.append(FloorJson(s, twoFloors ? QStringLiteral("A") : QString(), name, r.Category(),
                                r.Round()));
        if (twoFloors) {
            floors.append(FloorJson(s, QStringLiteral("B"), QString::number(r.FloorBEvent()),
                                    r.FloorBCategory(), r.FloorBRound()));
        }
    }
    o["event"] = hasEvent ? TextOrNull(s.EventNameAt(s.CurrentEventIndex)) : QJsonValue::Null;
    o["floors"] = floors;

    // A round is loaded and one of its heats is current.
    const bool heatShown = hasEvent && s.HeatIndex >= 0 && s.HeatIndex < s.HeatCount;
    const int danceRows = std::min(s.DanceCount, kDances);
    const bool danceShown = heatShown && s.DanceIndex >= 0 && s.DanceIndex < danceRows;
    o["dance"] = danceShown ? TextOrNull(s.RoundDances[s.DanceIndex]) : QJsonValue::Null;
    o["heat"] = heatShown ? QJsonValue(HeatOfStep(s, s.HeatIndex) + 1) : QJsonValue::Null;

    HeatRows rows(s);
    QJsonArray heats;
    if (heatShown) {
        // Every dance dances the same heats, except a shuffled round: one block per dance.
        int first = 0;
        int last = s.HeatCount;
        if (s.ShuffledHeats != 0) {
            const int perDance = StepsPerDance(s);
            first = std::max(s.DanceIndex, 0) * perDance;
            last = std::min(first + perDance, s.HeatCount);
        }
        for (int step = first; step < last; ++step) {
            heats.append(QJsonObject{{"heat", HeatOfStep(s, step) + 1},
                                     {"floors", rows.Floors(step)},
                                     {"now", step == s.HeatIndex}});
        }
    }
    o["heats"] = heats;
    o["now"] = heatShown ? rows.Floors(s.HeatIndex) : QJsonArray();
    o["next"] = heatShown ? NextFloors(s, rows) : QJsonArray();
    o["couples"] = rows.Couples();
    return o;
}

QString ClockOf(int seconds) {
    const int t = ((seconds % 86400) + 86400) % 86400;
    // Digit by digit: the console formats a hundred of these after every step.
    const int hours = t / 3600;
    const int minutes = t / 60 % 60;
    const char16_t text[] = {char16_t(u'0' + hours / 10), char16_t(u'0' + hours % 10), u':',
                             char16_t(u'0' + minutes / 10), char16_t(u'0' + minutes % 10)};
    return QString(reinterpret_cast<const QChar*>(text), 5);
}

void AddScheduleJson(QJsonObject& json, const Competition& s, const DayEstimate& day,
                     const PaceTracker& pace) {
    json["pace"] =
        QJsonObject{{"secondsPerHeat", day.secondsPerHeat}, {"measured", pace.FromSteps()}};
    QJsonArray items;
    for (const ItemEstimate& e : day.items) {
        const bool inTable = e.item >= 0 && e.item < kProgrammeRows;
        items.append(QJsonObject{
            {"item", e.item},
            {"text", inTable ? FromCp932(TrimBlanks(s.ProgrammeTexts[e.item])) : QString()},
            {"start", ClockOf(e.start)},
            {"minutes", (e.length + 30) / 60},
            {"kind", QLatin1String(KindName(e.kind))},
            {"fixed", e.fixed},
            {"defaultLength", e.defaultLength},
            {"current", e.item == s.CurrentProgrammeIndex}});
    }
    json["schedule"] = QJsonObject{{"estimate", true},
                                   {"end", day.items.empty() ? QJsonValue() : ClockOf(day.end)},
                                   {"items", items}};
}

QByteArray NowJsonFeed::Next(const Competition& s, const DayEstimate* day,
                             const PaceTracker* pace) {
    QJsonObject live = NowJson(s);
    if (day != nullptr && pace != nullptr) AddScheduleJson(live, s, *day, *pace);
    if (s.HoldScreen != 1 || onAir_.isEmpty()) onAir_ = live;
    QJsonObject shown = onAir_;
    // The estimates are the day's, not the picture's: always the newest.
    if (live.contains("schedule")) {
        shown["pace"] = live["pace"];
        shown["schedule"] = live["schedule"];
    }
    shown["hold"] = s.HoldScreen == 1;
    return QJsonDocument(shown).toJson(QJsonDocument::Compact);
}
