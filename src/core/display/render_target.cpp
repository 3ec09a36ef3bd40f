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
    int size = std::clamp(static_cast<int>(static_cast<long long>(start) * target /
                                           std::max(width, 1)),
                          0, start - 1);
    if (size > 0 && fits(size)) {
        while (size + 1 < start && fits(size + 1)) ++size;
    } else {
        while (size > 0 && !fits(size)) --size;
    }
    t->SetFontSize(size);
}
