#include "core/competition/estimates.h"

#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <array>
#include <unordered_map>

#include "core/competition/programme_item.h"
#include "core/competition/progress.h"
#include "core/platform/cp932.h"

namespace {

constexpr int kDay = 24 * 3600;

bool HasItem(const Competition& s, int item) {
    return item >= 0 && item < std::min(s.ProgrammeCount, kProgrammeRows);
}

// Full-width digits and colons to ASCII, every dash and wave between two times to "~".
QString NormaliseTimes(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) {
            out += QChar(u'0' + (u - 0xFF10));
        } else if (u == 0xFF1A) {
            out += u':';
        } else if (u == 0xFF5E || u == 0x301C || u == 0x2212 || u == 0xFF0D || u == 0x2010 ||
                   u == 0x2013 || u == 0x2014 || u == u'-') {
            out += u'~';
        } else {
            out += c;
        }
    }
    return out;
}

// Heats of one floor's round: a final (or lower final) dances one heat per dance.
int FloorHeats(int round, int heats) { return round >= kFinalRound ? 1 : std::max(heats, 1); }

struct RoundShape {
    int dances = 1;
    int heatSteps = 1;
    bool final = false;
};

RoundShape ShapeOf(const Competition& s, const EventRecord& e) {
    RoundShape shape;
    int perDance = FloorHeats(e.Round(), e.Heats());
    shape.dances = RoundDanceCount(s, e.Category(), e.Round());
    shape.final = e.Round() >= kFinalRound;
    if (e.HasFloorB()) {
        // Both floors dance at once: the one with more heats (or dances) sets the time.
        perDance = std::max(perDance, FloorHeats(e.FloorBRound(), e.FloorBHeats()));
        shape.dances =
            std::max(shape.dances, RoundDanceCount(s, e.FloorBCategory(), e.FloorBRound()));
        shape.final = shape.final || e.FloorBRound() >= kFinalRound;
    }
    shape.heatSteps = perDance * shape.dances;
    return shape;
}

}  // namespace

int EstimateSettings::DefaultSeconds(ItemKind kind) const {
    switch (kind) {
        case ItemKind::Ceremony:
            return ceremonySeconds;
        case ItemKind::Awards:
            return awardsSeconds;
        case ItemKind::JudgesIntroduction:
            return judgesIntroductionSeconds;
        case ItemKind::Demonstration:
            return demonstrationSeconds;
        case ItemKind::Break:
            return breakSeconds;
        case ItemKind::Lunch:
            return lunchSeconds;
        case ItemKind::Competition:
        case ItemKind::Other:
            break;
    }
    return otherSeconds;
}

namespace {

// Each item's text is read once: the day's estimate reads every text after every step.
template <typename T, typename Read>
T ReadOnce(const std::string& text, Read read) {
    thread_local std::unordered_map<std::string, T> known;
    if (const auto it = known.find(text); it != known.end()) return it->second;
    if (known.size() >= 4096) known.clear();
    const T value = read(text);
    known.emplace(text, value);
    return value;
}

ItemKind ReadKind(const std::string& text) {
    const QString t = FromCp932(text);
    const auto has = [&](const char16_t* word) { return t.contains(QString::fromUtf16(word)); };
    // Lunch before break: "昼休憩" is lunch. Awards before ceremonies: "表彰式・閉会式" gives
    // the prizes first.
    if (has(u"昼休") || has(u"昼食") || has(u"ランチ")) return ItemKind::Lunch;
    if (has(u"休憩")) return ItemKind::Break;
    if (has(u"表彰")) return ItemKind::Awards;
    if (has(u"審査員紹介")) return ItemKind::JudgesIntroduction;
    if (has(u"デモ") || has(u"エキシビ")) return ItemKind::Demonstration;
    if (has(u"式")) return ItemKind::Ceremony;
    return ItemKind::Other;
}

}  // namespace

ItemKind KindOfText(const std::string& text) { return ReadOnce<ItemKind>(text, ReadKind); }

namespace {

std::optional<FixedTime> ReadFixedTime(const std::string& text) {
    static const QRegularExpression time(QStringLiteral(
        R"((\d{1,2})\s*(?::\s*(\d{2})|時\s*(?:(\d{1,2})\s*分)?)(?:\s*~\s*(\d{1,2})\s*(?::\s*(\d{2})|時\s*(?:(\d{1,2})\s*分)?))?)"));
    const QRegularExpressionMatch m = time.match(NormaliseTimes(FromCp932(text)));
    if (!m.hasMatch()) return std::nullopt;
    const auto at = [&](int hourGroup, int minuteGroup, int kanjiMinuteGroup) {
        const int hour = m.captured(hourGroup).toInt();
        const QString minutes = m.captured(minuteGroup).isEmpty() ? m.captured(kanjiMinuteGroup)
                                                                  : m.captured(minuteGroup);
        const int minute = minutes.toInt();
        if (hour > 23 || minute > 59) return -1;
        return hour * 3600 + minute * 60;
    };
    FixedTime fixed;
    fixed.start = at(1, 2, 3);
    if (fixed.start < 0) return std::nullopt;
    if (m.hasCaptured(4) && !m.captured(4).isEmpty()) {
        fixed.end = at(4, 5, 6);
        if (fixed.end < fixed.start) fixed.end = -1;
    }
    return fixed;
}

}  // namespace

std::optional<FixedTime> FixedTimeOf(const std::string& text) {
    return ReadOnce<std::optional<FixedTime>>(text, ReadFixedTime);
}

const char* KindName(ItemKind kind) {
    switch (kind) {
        case ItemKind::Competition:
            return "competition";
        case ItemKind::Ceremony:
            return "ceremony";
        case ItemKind::Awards:
            return "awards";
        case ItemKind::JudgesIntroduction:
            return "judges";
        case ItemKind::Demonstration:
            return "demonstration";
        case ItemKind::Break:
            return "break";
        case ItemKind::Lunch:
            return "lunch";
        case ItemKind::Other:
            break;
    }
    return "other";
}

const ItemEstimate* DayEstimate::Find(int item) const {
    for (const ItemEstimate& e : items) {
        if (e.item == item) return &e;
    }
    return nullptr;
}

namespace {

// EventOfItem for every item of the day: the events' numbers are read once, not once per item.
class ItemEvents {
  public:
    explicit ItemEvents(const Competition& s) : s_(s) {
        first_.fill(-1);
        const int count = std::min(s.EventCount, kEventRows);
        for (int i = count - 1; i >= 0; --i) {
            const int number = LeadingEventNumber(s.EventNames[i]);
            if (number >= 0 && number < static_cast<int>(first_.size())) first_[number] = i;
        }
    }
    int Of(int item) const {
        if (!HasItem(s_, item) || s_.ProgrammeNonCompetition[item] == 1) return -1;
        const std::string& code = s_.ProgrammeCodes[item];
        if (code.starts_with('X')) return -1;
        // A code that names no event of seqdat.csv has no heats to count.
        const int number = LeadingEventNumber(code);
        return number >= 0 && number < static_cast<int>(first_.size()) ? first_[number] : -1;
    }

  private:
    const Competition& s_;
    std::array<int, 1000> first_;  // the first event of each number (three digits at most)
};

}  // namespace

int EventOfItem(const Competition& s, int item) { return ItemEvents(s).Of(item); }

DayEstimate EstimateDay(const Competition& s, const LiveProgress& live,
                        const EstimateSettings& settings) {
    DayEstimate day;
    day.secondsPerHeat = std::max(live.secondsPerHeat, 1);
    day.end = live.now;
    const int pace = day.secondsPerHeat;
    const int changeover =
        live.changeoverSeconds >= 0 ? live.changeoverSeconds : settings.changeoverSeconds;
    const int count = std::min(s.ProgrammeCount, kProgrammeRows);
    int next = live.now;  // the earliest start of the item to come
    const ItemEvents events(s);
    for (int item = std::max(live.currentItem, 0); item < count; ++item) {
        ItemEstimate e;
        e.item = item;
        e.event = events.Of(item);
        const bool current = item == live.currentItem;
        const std::optional<FixedTime> fixed = FixedTimeOf(s.ProgrammeTexts[item]);
        e.fixed = fixed.has_value();
        e.start = current ? live.currentStartedAt : next;
        if (fixed && !current) e.start = std::max(e.start, fixed->start);

        if (e.event >= 0) {
            e.kind = ItemKind::Competition;
            const RoundShape shape = ShapeOf(s, s.EventAt(e.event));
            e.dances = shape.dances;
            e.heatSteps = shape.heatSteps;
            e.nextStepAt = e.start + changeover + (shape.final ? settings.presentationSeconds : 0);
            if (current) {
                // The heat on the floor began when the operator stepped to it (the first heat:
                // after the call and the presentation); the next one begins after it at the pace,
                // and, while the heats are stepped, not before now when it runs long. Without
                // steps the round is taken to keep the pace.
                const bool stepping = live.heatStep >= 0 && live.heatStepAt >= 0;
                e.onFloorStep = stepping ? live.heatStep : 0;
                e.onFloorAt = stepping ? live.heatStepAt : e.nextStepAt;
                e.heatSteps = std::max(e.heatSteps, e.onFloorStep + 1);
                e.nextStep = e.onFloorStep + 1;
                e.nextStepAt = e.onFloorAt + pace;
                if (stepping) e.nextStepAt = std::max(e.nextStepAt, live.now);
            }
            e.length = e.StepAt(e.heatSteps, pace) - e.start;
        } else {
            e.kind = s.ProgrammeNonCompetition[item] == 1 ? KindOfText(s.ProgrammeTexts[item])
                                                          : ItemKind::Other;
            if (fixed && fixed->end >= 0) {
                // A span: what follows starts at its end; begun late, it is shortened, not dropped.
                const int kept = (fixed->end - fixed->start) * settings.lateSpanPercent / 100;
                e.length = std::max(fixed->end - e.start, kept);
            } else {
                e.length = settings.DefaultSeconds(e.kind);
                e.defaultLength = true;
            }
        }
        // The current item has not ended yet.
        if (current) e.length = std::max(e.length, live.now - e.start);
        e.length = std::clamp(e.length, 0, kDay);
        next = e.End();
        if (fixed && fixed->end >= 0) next = std::max(next, fixed->end);
        day.items.push_back(e);
    }
    day.end = next;
    return day;
}

int CurrentHeatStep(const Competition& s) {
    if (s.HeatIndex < 0) return -1;
    // A shuffled round steps through all its dance blocks; a plain one repeats its heats per dance.
    if (s.ShuffledHeats != 0) return s.HeatIndex;
    return s.DanceIndex * std::max(s.HeatCount, 1) + s.HeatIndex;
}

LiveProgress LiveProgressOf(const Competition& s, const PaceTracker& tracker, int now,
                            int currentStartedAt, const EstimateSettings& settings) {
    const bool stepped = tracker.LastStepAt() >= 0;
    return {.now = now,
            .currentItem = s.CurrentProgrammeIndex,
            .currentStartedAt = currentStartedAt,
            .heatStep = stepped ? CurrentHeatStep(s) : -1,
            .heatStepAt = tracker.LastStepAt(),
            .secondsPerHeat = tracker.SecondsPerHeat(),
            .changeoverSeconds = tracker.ChangeoverSeconds(settings.changeoverSeconds)};
}
