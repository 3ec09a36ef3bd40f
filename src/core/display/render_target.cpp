#include "core/display/render_target.h"

#include <algorithm>

void DrawRule(RenderTarget& t, int y) {
    t->Line(t.Scaled(20), t.Scaled(y), t.Scaled(999), t.Scaled(y));
}

void FitFontToWidth(RenderTarget& t, const QString& text, int limit) {
    // The rule is one point less while the size is not 0 and the text not narrower than the
    // limit. A text never gets narrower in a larger size, so the rule ends at the largest size
    // up to the start at which the text is narrower, or at 0: found from the size the start's
    // width suggests and a step or two from there, instead of a measurement for every point.
    const int start = t->FontSize();
    const int target = t.Scaled(limit);
    const auto fits = [&](int size) {
        t->SetFontSize(size);
        return t->TextWidth(text) < target;
    };
    // A negative size has no smaller size to go to.
    if (start <= 0 || fits(start)) {
        t->SetFontSize(start);
        return;
    }
    const int width = t->TextWidth(text);
    int size =
        std::clamp(static_cast<int>(static_cast<long long>(start) * target / std::max(width, 1)), 0,
                   start - 1);
    if (size > 0 && fits(size)) {
        while (size + 1 < start && fits(size + 1)) ++size;
    } else {
        while (size > 0 && !fits(size)) --size;
    }
    t->SetFontSize(size);
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
        return sum;
    };
    const auto fits = [&] { return width() <= target; };
    if (fits()) return;

    // Widths grow with the stretch in proportion: the estimate is a step or two from the answer.
    const int natural = t->FontStretch();
    int stretch =
        std::clamp(static_cast<int>(natural * std::max(target, 0) / std::max(width(), 1LL)),
                   kMinStretch, std::max(natural - 1, kMinStretch));
    t->SetFontStretch(stretch);
    while (stretch > kMinStretch && !fits()) t->SetFontStretch(--stretch);
    while (stretch + 1 < natural && fits()) {
        t->SetFontStretch(++stretch);
        if (!fits()) {
            t->SetFontStretch(--stretch);
            break;
        }
    }
    if (fits()) return;

    // At the narrowest, smaller: the largest size below the start at which they fit (1 at least).
    const int start = t->FontSize();
    if (start <= 1) return;
    int size = std::clamp(static_cast<int>(start * std::max(target, 0) / std::max(width(), 1LL)), 1,
                          start - 1);
    t->SetFontSize(size);
    while (size > 1 && !fits()) t->SetFontSize(--size);
    while (size + 1 < start) {
        t->SetFontSize(size + 1);
        if (!fits()) {
            t->SetFontSize(size);
            break;
        }
        ++size;
    }
}
