#include "core/display/finalists_view.h"

#include <QColor>

#include "core/display/header.h"
#include "core/platform/cp932.h"

namespace {

const QColor kEvenRowColor(128, 255, 128);
const QColor kOddRowColor(141, 243, 241);

// Row pitch: the rows share 440 units, at most 80 apart.
int RowPitch(int count) {
    const int pitch = count > 0 ? 440 / count : 50;
    return pitch > 80 ? 80 : pitch;
}

}  // namespace

void DrawHeatListView(const Competition& s, RenderTarget& t) {
    static const std::string kEmpty;
    DrawHeader(s, t, HeaderMode::HeatList);
    const HeatLine& line = s.FinalistsLine;
    const int pitch = RowPitch(line.count);
    t->SetBold(false);
    for (int row = 0; row < kHeatSlots; ++row) {
        const int n = line.numbers[row];
        t->SetFontSize(t.Scaled(30));
        t->SetFontColor(row % 2 == 0 ? kEvenRowColor : kOddRowColor);
        // An empty field ends the list, even with numbers after it.
        if (n == 0) break;
        const int y = t.Scaled(pitch / 2 + pitch * row + 50);
        // The couple is looked up by the number as the round load stores it (modulo Mod), so the
        // heat view and this list name the same couple.
        const int shown = s.ShownNumber(n);
        const QString number = QString::number(shown);
        t->TextOut(t.CenteredX(70, t->TextWidth(number)), y, number);
        const bool known = shown >= 0 && shown < kCoupleRows;
        const QString names = FromCp932(known ? s.CoupleNames[shown] : kEmpty);
        const QString affiliation = FromCp932(known ? s.CoupleAffiliations[shown] : kEmpty);
        // Names and club together within 820 units, so they never meet: condensed first, then
        // smaller, on the row's baseline.
        FontFitScope fit(t);
        CondenseToWidth(t, {names, affiliation}, 820);
        const int top = y + fit.Lowered();
        t->TextOut(t.Scaled(150), top, names);
        t->TextOut(t.RightX(990, t->TextWidth(affiliation)), top, affiliation);
    }
}
