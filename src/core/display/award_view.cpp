#include "core/display/award_view.h"

#include <QColor>
#include <climits>

#include "core/display/scaled_shapes.h"
#include "core/platform/cp932.h"

namespace {

const QColor kOddRowColor(141, 243, 241);

// The number a plain row stands for: the whole NumberText as a decimal integer with an optional
// sign, as the toolkit's string-to-integer conversion takes it.
bool ParseNumberText(const std::string& text, int& value) {
    size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > INT_MAX) return false;
    }
    value = static_cast<int>(negative ? -v : v);
    return true;
}

const std::string& CoupleTextAt(const std::array<std::string, kCoupleRows>& table, int n) {
    static const std::string kEmpty;
    return n >= 0 && n < kCoupleRows ? table[n] : kEmpty;
}

// One plain row; false when its number is not an integer (the placing is drawn, the rest not).
bool DrawPlainRow(const Competition& s, RenderTarget& t, int b) {
    static const QString kPlacingFace = QStringLiteral(u"ＭＳ ゴシック");
    static const QString kNameFace = QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB");
    const ResultRow& row = s.ResultTable[b];
    const int y = t.Scaled(110 + 40 * b);
    t->SetFontColor(b % 2 == 0 ? QColor(Qt::white) : kOddRowColor);
    t->SetFontName(kPlacingFace);
    t->SetBold(true);
    t->TextOut(t.Scaled(30), y, FromCp932(row.PlacingText));
    t->SetFontName(kNameFace);
    t->SetBold(false);
    int n = 0;
    if (!ParseNumberText(row.NumberText, n)) return false;
    const NumberInBox number = RightAlignedNumber(t, s.ShownNumber(n), 3);
    t->TextOut(t.CenteredX(200, number.boxWidth) + number.offset, y, number.digits);
    // A negative number (a minus sign in the file) lies outside the couple tables: no names.
    const QString names = FromCp932(CoupleTextAt(s.CoupleNames, n));
    const QString affiliation = FromCp932(CoupleTextAt(s.CoupleAffiliations, n));
    // The names and the club share the row up to 990: a long pair is narrowed, never overlapped.
    FontFitScope fit(t);
    CondenseToWidth(t, {names, affiliation}, 990 - 280 - kTextGap);
    const int top = y + fit.Lowered();
    t->TextOut(t.Scaled(280), top, names);
    t->TextOut(t.RightX(990, t->TextWidth(affiliation)), top, affiliation);
    return true;
}

int RowCount(const Competition& s) {
    return s.ResultRowCount < kResultRows ? s.ResultRowCount : kResultRows;
}

}  // namespace

bool AwardRowVisible(RevealOrder order, int b, int k, int n) {
    switch (order) {
        case RevealOrder::Upward:
            return b >= n - k - 1;
        case RevealOrder::Downward:
            return b <= k;
        case RevealOrder::Together:
            break;
    }
    return true;
}

void DrawAwardView(const Competition& s, RenderTarget& t) {
    t->SetFontSize(t.Scaled(26));
    t->SetFontColor(Qt::white);
    const int n = RowCount(s);
    for (int b = 0; b < n; ++b) {
        if (!AwardRowVisible(s.Reveal, b, s.HeatIndex, s.ResultRowCount)) continue;
        if (s.AltResultLayout != 0) {
            DrawDecoratedAwardRow(s, t, b);
        } else if (!DrawPlainRow(s, t, b)) {
            return;
        }
    }
}

void DrawDecoratedAwardRow(const Competition& s, RenderTarget& t, int b) {
    static const QString kPlateFace = QStringLiteral(u"ＭＳ Ｐゴシック");
    static const QString kNameFace = QStringLiteral(u"HG丸ｺﾞｼｯｸM-PRO");
    if (b < 0 || b >= kResultRows) return;
    const ResultRow& row = s.ResultTable[b];
    const int count = s.ResultRowCount;
    // Ten rows 55 apart would put the last plate at 593, off the 600-unit surface: they are
    // drawn 50 apart, the last one ending at 588.
    const int pitch = count <= 6 ? 70 : (count == 7 ? 60 : (count <= 9 ? 55 : 50));
    const int r = (count <= 8 ? 108 : 98) + b * pitch;

    // The name plate with the number and the couple.
    SetShapeColor(t, QColor(0, 96, 144));
    ScaledRectangle(t, 130, r, 820, r + 40);
    t->SetFontName(kPlateFace);
    t->SetFontSize(t.Scaled(26));
    t->SetFontColor(QColor(0, 255, 255));
    const QString number = FromCp932(row.NumberText);
    t->TextOut(t.CenteredX(190, t->TextWidth(number)), t.CenteredY(r + 20, t->TextHeight(number)),
               number);
    t->SetFontName(kNameFace);
    t->SetFontColor(Qt::white);
    t->SetFontSize(t.Scaled(25));
    const QString couple = FromCp932(row.CoupleText);
    {
        // A long couple is condensed first, then smaller, within its 560 units of the plate.
        const FontFitScope fit(t);
        CondenseToWidth(t, {couple}, 560);
        t->TextOut(t.Scaled(240), t.CenteredY(r + 20, t->TextHeight(couple)), couple);
    }

    // The light tag on the left carries the placing.
    SetShapeColor(t, QColor(240, 240, 240));
    ScaledEllipse(t, 20, r, 30, r + 10);
    ScaledRectangle(t, 25, r, 140, r + 5);
    ScaledRectangle(t, 20, r + 5, 140, r + 20);
    ScaledPolygon(t, {{139, r}, {150, r}, {139, r + 20}});
    SetShapeColor(t, QColor(224, 224, 224));
    ScaledRectangle(t, 20, r + 20, 130, r + 35);
    ScaledRectangle(t, 25, r + 35, 130, r + 40);
    ScaledEllipse(t, 20, r + 30, 30, r + 40);
    ScaledPolygon(t, {{130, r + 20}, {140, r + 20}, {130, r + 39}});
    t->SetBrushColor(QColor(232, 232, 232));
    t->SetFontName(kPlateFace);
    t->SetFontSize(t.Scaled(22));
    t->SetFontColor(Qt::black);
    const QString placing = FromCp932(row.PlacingText);
    t->TextOut(t.CenteredX(75, t->TextWidth(placing)), t.Scaled(r + 6), placing);

    // The dark tag on the right carries the affiliation.
    SetShapeColor(t, QColor(48, 48, 48));
    ScaledEllipse(t, 990, r, 1000, r + 10);
    ScaledRectangle(t, 810, r, 995, r + 5);
    ScaledRectangle(t, 810, r + 5, 1000, r + 20);
    ScaledPolygon(t, {{810, r}, {810, r + 20}, {800, r + 20}});
    SetShapeColor(t, QColor(40, 40, 40));
    ScaledRectangle(t, 800, r + 20, 1000, r + 35);
    ScaledRectangle(t, 800, r + 35, 995, r + 40);
    ScaledEllipse(t, 990, r + 30, 1000, r + 40);
    ScaledPolygon(t, {{800, r + 20}, {800, r + 39}, {790, r + 39}});
    t->SetBrushColor(QColor(43, 43, 43));
    t->SetFontName(kNameFace);
    t->SetFontColor(Qt::white);
    t->SetFontSize(t.Scaled(20));
    const QString affiliation = FromCp932(row.AffiliationText);
    const FontFitScope fit(t);
    CondenseToWidth(t, {affiliation}, 160);
    t->TextOut(t.RightX(980, t->TextWidth(affiliation)),
               t.CenteredY(r + 20, t->TextHeight(affiliation)), affiliation);
}

std::optional<std::string> InvalidAwardNumber(const Competition& s) {
    if (s.AltResultLayout != 0) return std::nullopt;
    const int n = RowCount(s);
    for (int b = 0; b < n; ++b) {
        if (!AwardRowVisible(s.Reveal, b, s.HeatIndex, s.ResultRowCount)) continue;
        int value = 0;
        if (!ParseNumberText(s.ResultTable[b].NumberText, value)) {
            return s.ResultTable[b].NumberText;
        }
    }
    return std::nullopt;
}

QString AwardNumberMessage(const std::string& numberText) {
    return QStringLiteral(u"'%1' は整数ではありません").arg(FromCp932(numberText));
}
