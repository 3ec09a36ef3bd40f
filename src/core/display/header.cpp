#include "core/display/header.h"

#include <QColor>
#include <QString>

#include "core/competition/programme_item.h"
#include "core/competition/result_list.h"
#include "core/competition/round_names.h"
#include "core/display/clean_view.h"
#include "core/platform/cp932.h"

namespace {

// The header's working values: label, category number and round number of each floor.
struct FloorValues {
    QString label;
    int category = 0;
    int round = 0;
};

struct HeaderValues {
    FloorValues a;
    FloorValues b;
};

// The record the Next header announces: the one after the current record, passing over the
// record of the event running on floor B right now (the scoring system may list it on its own,
// right after the two-floor event).
int NextEventIndex(const Competition& s) {
    const int floorB = s.CurrentEvent().FloorBEvent();
    int index = s.CurrentEventIndex + 1;
    while (floorB != 0 && index < kEventRows &&
           LeadingEventNumber(s.EventNameAt(index)) == floorB) {
        ++index;
    }
    return index;
}

HeaderValues CollectValues(const Competition& s, HeaderMode mode) {
    HeaderValues v;
    switch (mode) {
        case HeaderMode::Now:
        case HeaderMode::Next: {
            // An index outside the table (no current event, or past the last row) reads as an
            // empty record.
            const int index = mode == HeaderMode::Now ? s.CurrentEventIndex : NextEventIndex(s);
            const EventRecord& r = s.EventAt(index);
            v.a.label = FromCp932(s.EventNameAt(index));
            v.a.category = r.Category();
            v.a.round = r.Round();
            v.b.label = QString::number(r.FloorBEvent());
            v.b.category = r.FloorBCategory();
            v.b.round = r.FloorBRound();
            break;
        }
        case HeaderMode::HeatList:
        case HeaderMode::Result: {
            const EventRecord& r = s.CurrentEvent();
            const bool floorB = s.SecondFloorFinal == 1;
            v.a.category = floorB ? r.FloorBCategory() : r.Category();
            v.a.round = floorB ? r.FloorBRound() : r.Round();
            // A result names the category whose final it shows, the row chosen in the result
            // list, whatever item the programme has moved on to since.
            const int shown = ResultListCategory(s, s.ResultListRow);
            if (mode == HeaderMode::Result && shown > 0) v.a.category = shown;
            break;
        }
        case HeaderMode::Judges:
            break;
    }
    return v;
}

QString RoundText(const Competition& s, const FloorValues& f) {
    return FromCp932(
        RoundName(ZeroBasedIndex(f.round), s.CategoryRedanceAt(ZeroBasedIndex(f.category))));
}

// Where a text right-aligned at 990 begins, in pixels.
int RightAlignedX(RenderTarget& t, const QString& text) {
    return t.RightX(990, t->TextWidth(text));
}

void DrawRightAligned(RenderTarget& t, const QString& text, int y) {
    t->TextOut(RightAlignedX(t, text), t.Scaled(y), text);
}

// The end of the room left of a text that begins at pixel x.
int RoomBefore(const RenderTarget& t, int x) { return x - t.Scaled(kTextGap); }

void DrawTwoFloors(const Competition& s, RenderTarget& t, HeaderMode mode, const HeaderValues& v) {
    static const QString kNow = QStringLiteral(u" 現 在 : ");
    static const QString kNext = QStringLiteral(u" 次競技 : ");
    const bool now = mode == HeaderMode::Now;
    const int y1 = now ? 14 : 650;
    const int y2 = now ? 64 : 700;
    t->TextOut(t.Scaled(20), t.Scaled(y1), now ? kNow : kNext);
    const struct {
        const FloorValues& floor;
        const char* prefix;
        int y;
    } rows[2] = {{v.a, "[A] No. ", y1}, {v.b, "[B] No. ", y2}};
    // Each column of a row ends before the next begins: long event or category names are
    // narrowed.
    for (const auto& row : rows) {
        const QString round = RoundText(s, row.floor);
        TextOutWithin(t, t.Scaled(180), t.Scaled(row.y),
                      QLatin1String(row.prefix) + row.floor.label, RoomBefore(t, t.Scaled(420)));
        TextOutWithin(t, t.Scaled(420), t.Scaled(row.y),
                      FromCp932(s.CategoryShortNameAt(ZeroBasedIndex(row.floor.category))),
                      RoomBefore(t, RightAlignedX(t, round)));
        DrawRightAligned(t, round, row.y);
    }
}

void DrawOneFloor(const Competition& s, RenderTarget& t, HeaderMode mode, const HeaderValues& v,
                  const QColor& accent) {
    static const QString kNow = QStringLiteral(u" 現 在  :   ");
    static const QString kNext = QStringLiteral(u" 次競技 :   ");
    static const QString kResult = QStringLiteral(u"結果発表");
    if (mode == HeaderMode::Judges) return;
    const QString longName = FromCp932(s.CategoryNameAt(ZeroBasedIndex(v.a.category)));
    const QString right = mode == HeaderMode::Result ? kResult : RoundText(s, v.a);
    const int rightX = RightAlignedX(t, right);
    int rightY = 14;
    // The category's long name runs at most to the rule's end, and never into the text on the
    // right of its line; neither does the event's number.
    if (mode == HeaderMode::Now || mode == HeaderMode::Next) {
        const bool now = mode == HeaderMode::Now;
        rightY = now ? 64 : 700;
        t->SetFontColor(Qt::white);
        TextOutWithin(t, t.Scaled(20), t.Scaled(rightY), QStringLiteral(" No. ") + v.a.label,
                      RoomBefore(t, rightX));
        t->SetFontColor(accent);
        TextOutWithin(t, t.Scaled(20), t.Scaled(now ? 14 : 650), (now ? kNow : kNext) + longName,
                      t.Scaled(999));
    } else {
        t->SetFontColor(accent);
        TextOutWithin(t, t.Scaled(20), t.Scaled(14), QLatin1Char(' ') + longName,
                      RoomBefore(t, rightX));
    }
    DrawRightAligned(t, right, rightY);
}

}  // namespace

void DrawHeader(const Competition& s, RenderTarget& t, HeaderMode mode) {
    t->SetFontName(FromCp932(s.Config.DataFont));
    t->SetFontSize(t.Scaled(28));
    if (mode != HeaderMode::Next) ClearTarget(s, t);

    const HeaderValues v = CollectValues(s, mode);
    const QColor accent = mode == HeaderMode::Next ? QColor(166, 202, 240) : QColor(128, 255, 160);
    if (v.b.category != 0) {
        t->SetFontColor(accent);
        DrawTwoFloors(s, t, mode, v);
    } else {
        DrawOneFloor(s, t, mode, v, accent);
    }

    t->SetPenColor(Qt::white);
    switch (mode) {
        case HeaderMode::Next:
            DrawRule(t, 120);
            // Dashed rule between the current and the next heats: 10 units drawn, 10 left out.
            for (int x0 = 20; x0 < 999; x0 += 20) {
                t->Line(t.Scaled(x0), t.Scaled(375), t.Scaled(x0 + 10), t.Scaled(375));
            }
            break;
        case HeaderMode::Now:
            DrawRule(t, 630);
            break;
        default:
            DrawRule(t, 60);
            break;
    }
}
