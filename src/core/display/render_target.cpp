#include "core/display/render_target.h"

#include <algorithm>

void DrawRule(RenderTarget& t, int y) {
    t->Line(t.Scaled(20), t.Scaled(y), t.Scaled(999), t.Scaled(y));
}

namespace {

// The largest value from low to high at which the texts fit (low when none does), searched from
// an estimate a step or two away, as widths grow with sizes and stretches in proportion;
// set(value) is in effect afterwards.
template <class Set, class Fits>
int LargestFitting(int low, int high, long long estimate, Set set, Fits fits) {
    int value = static_cast<int>(std::clamp<long long>(estimate, low, high));
    set(value);
    if (fits()) {
        while (value < high) {
            set(value + 1);
            if (!fits()) {
                set(value);
                break;
            }
            ++value;
        }
    } else {
        while (value > low && !fits()) set(--value);
    }
    return value;
}

}  // namespace

void FitFontToWidth(RenderTarget& t, const QString& text, int limit) {
    // The rule is one point less while the size is not 0 and the text not narrower than the
    // limit. A text never gets narrower in a larger size, so the rule ends at the largest size
    // up to the start at which the text is narrower, or at 0: found from the size the start's
    // width suggests and a step or two from there, instead of a measurement for every point.
    const int start = t->FontSize();
    const int target = t.Scaled(limit);
    const auto fits = [&] { return t->TextWidth(text) < target; };
    // A negative size has no smaller size to go to.
    if (start <= 0 || fits()) return;
    const long long width = std::max(t->TextWidth(text), 1);
    LargestFitting(
        0, start - 1, start * target / width, [&](int size) { t->SetFontSize(size); }, fits);
}

NumberInBox RightAlignedNumber(RenderTarget& t, int value, int places) {
    NumberInBox n;
    n.digits = QString::number(value);
    const int positions = std::max(places, static_cast<int>(n.digits.size()));
    n.boxWidth = t->TextWidth(QString(positions, QLatin1Char('0')));
    n.offset = n.boxWidth - t->TextWidth(n.digits);
    return n;
}

void CondenseToWidth(RenderTarget& t, std::initializer_list<QString> texts, int room) {
    CondenseToPixels(t, texts, t.Scaled(room));
}

void TextOutWithin(RenderTarget& t, int x, int y, const QString& text, int limit) {
    FontFitScope fit(t);
    CondenseToPixels(t, {text}, limit - x);
    t->TextOut(x, y + fit.Lowered(), text);
}

void CondenseToPixels(RenderTarget& t, std::initializer_list<QString> texts, int target) {
    const auto width = [&] {
        long long sum = 0;
        for (const QString& text : texts) sum += t->TextWidth(text);
        return std::max(sum, 1LL);
    };
    const auto fits = [&] { return width() <= target; };
    if (fits()) return;
    const long long room = std::max(target, 0);
    const int natural = t->FontStretch();
    LargestFitting(
        kMinStretch, std::max(natural - 1, kMinStretch), natural * room / width(),
        [&](int stretch) { t->SetFontStretch(stretch); }, fits);
    if (fits()) return;
    // At the narrowest, smaller: the largest size below the start at which they fit (1 at least).
    const int start = t->FontSize();
    if (start <= 1) return;
    LargestFitting(
        1, start - 1, start * room / width(), [&](int size) { t->SetFontSize(size); }, fits);
}
