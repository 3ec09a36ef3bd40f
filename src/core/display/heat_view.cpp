#include "core/display/heat_view.h"

#include <QColor>

#include "core/competition/progress.h"
#include "core/display/header.h"
#include "core/platform/cp932.h"

namespace {

const QColor kAqua(0, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kSilver(192, 192, 192);

void SetFont(RenderTarget& t, int points, const QColor& color) {
    t->SetFontSize(t.Scaled(points));
    t->SetFontColor(color);
    t->SetBold(true);
}

// The dance name of a dance index, or nothing when the index lies outside the round's dances
// (inconsistent files): such a title is shown without a name.
bool DanceName(const Competition& s, int dance, QString& name) {
    if (dance < 0 || dance >= kDances || dance >= s.DanceCount) return false;
    name = FromCp932(s.RoundDances[dance]);
    return true;
}

QString TitleText(int heat, const Competition& s, int dance, bool withDance) {
    QString name;
    if (withDance && DanceName(s, dance, name)) {
        return QStringLiteral("Heat-%1    [ %2 ]").arg(heat).arg(name);
    }
    return QStringLiteral("Heat-%1").arg(heat);
}

int HeatsPerDanceOrOne(const Competition& s) { return s.HeatsPerDance > 0 ? s.HeatsPerDance : 1; }

void DrawLabelAndTitle(RenderTarget& t, const QString& label, const QString& title, int centreY) {
    SetFont(t, 24, kAqua);
    t->TextOut(t.Scaled(40), t.CenteredY(centreY, t->TextHeight(label)), label);
    SetFont(t, 24, kYellow);
    t->TextOut(t.Scaled(160), t.CenteredY(centreY, t->TextHeight(title)), title);
}

void DrawOneFloorGrid(const Competition& s, RenderTarget& t, int row, int y) {
    SetFont(t, 29, Qt::white);
    DrawHeatGrid(s, t, row, y, 70, 30, 98);
}

void DrawOneFloor(const Competition& s, RenderTarget& t) {
    static const QString kNow = QStringLiteral("Now");
    static const QString kNext = QStringLiteral("Next");
    DrawLabelAndTitle(t, kNow, HeatTitle(s, s.HeatIndex), 160);
    DrawOneFloorGrid(s, t, s.HeatIndex, 210);
    if (s.HeatCount <= 1) return;

    if (s.HeatIndex + 1 < s.HeatRowsA) {
        DrawLabelAndTitle(t, kNext, HeatTitle(s, s.HeatIndex + 1), 415);
        DrawOneFloorGrid(s, t, s.HeatIndex + 1, 465);
    } else if (s.DanceIndex + 1 < s.DanceCount) {
        // Last heat of the dance: the next dance starts again with heat 1 (row 0). Shuffled heats
        // always carry the dance name, so this title does too.
        SetFont(t, 24, kAqua);
        t->TextOut(t.Scaled(40), t.Scaled(400), kNext);
        const bool withDance = s.ShuffledHeats == 1 || s.DanceNameShown != 0;
        const QString title = TitleText(1, s, s.DanceIndex + 1, withDance);
        SetFont(t, 24, kYellow);
        t->TextOut(t.Scaled(160), t.CenteredY(415, t->TextHeight(title)), title);
        DrawOneFloorGrid(s, t, 0, 465);
    }
}

// One block of the two-floor layout for heat step `step`; `top` is the label's y (135 for Now,
// 390 for Next). Each floor shows its own rows; the title counts the heats within the dance, as a
// shuffled floor A steps through all its dances in one run.
void DrawTwoFloorBlock(const Competition& s, RenderTarget& t, const QString& label, int step,
                       int top) {
    static const QString kFloorA = QStringLiteral(u"Ａ ﾌﾛｱ");
    static const QString kFloorB = QStringLiteral(u"Ｂ ﾌﾛｱ");
    SetFont(t, 24, kAqua);
    t->TextOut(t.Scaled(40), t.Scaled(top), label);
    SetFont(t, 22, kYellow);
    t->TextOut(t.Scaled(160), t.Scaled(top),
               QStringLiteral("Heat-%1").arg(HeatOfStep(s, step) + 1));
    t->TextOut(t.Scaled(40), t.Scaled(top + 65), kFloorA);
    t->TextOut(t.Scaled(40), t.Scaled(top + 165), kFloorB);
    SetFont(t, 24, Qt::white);
    DrawHeatGrid(s, t, FloorARow(s, step), top + 45, 40, 160, 85);
    t->SetPenColor(kSilver);
    t->Line(t.Scaled(160), t.Scaled(top + 130), t.Scaled(999), t.Scaled(top + 130));
    DrawHeatGrid(s, t, FloorBRow(s, step), top + 145, 40, 160, 85);
}

void DrawTwoFloors(const Competition& s, RenderTarget& t) {
    DrawTwoFloorBlock(s, t, QStringLiteral("Now"), s.HeatIndex, 135);
    if (s.HeatIndex + 1 < s.HeatCount) {
        DrawTwoFloorBlock(s, t, QStringLiteral("Next"), s.HeatIndex + 1, 390);
    }
}

}  // namespace

QString HeatTitle(const Competition& s, int row) {
    if (s.ShuffledHeats == 1) {
        // A shuffled file holds one block of HeatsPerDance rows per dance.
        const int perDance = HeatsPerDanceOrOne(s);
        return TitleText(row % perDance + 1, s, row / perDance, true);
    }
    return TitleText(row + 1, s, s.DanceIndex, s.HeatCount > 1 && s.DanceNameShown != 0);
}

void DrawHeatGrid(const Competition& s, RenderTarget& t, int row, int y, int pitch, int x0,
                  int dx) {
    if (row < 0 || row >= kHeatRows) return;
    const auto& numbers = s.HeatTable[row];
    bool secondLine = false;
    for (int k = 10; k < kHeatSlots; ++k) secondLine = secondLine || numbers[k] != 0;
    // Ten couples or fewer: the single line sits in the middle of the two lines' place.
    int lineY = secondLine ? y : y + pitch / 2 - 3;
    for (int k = 0; k < kHeatSlots; ++k) {
        if (k == 10) lineY += pitch;
        if (numbers[k] == 0) continue;
        const NumberInBox number = RightAlignedNumber(t, s.ShownNumber(numbers[k]), 3);
        t->TextOut(t.Scaled(x0 + (k % 10) * dx) + number.offset, t.Scaled(lineY), number.digits);
    }
}

void DrawHeatView(const Competition& s, RenderTarget& t) {
    DrawHeader(s, t, HeaderMode::Now);
    DrawHeader(s, t, HeaderMode::Next);
    if (s.CurrentEvent().HasFloorB()) {
        DrawTwoFloors(s, t);
    } else {
        DrawOneFloor(s, t);
    }
    t->SetBold(false);
}
