#include "core/display/render_target.h"

void DrawRule(RenderTarget& t, int y) {
    t->Line(t.Scaled(20), t.Scaled(y), t.Scaled(999), t.Scaled(y));
}

void FitFontToWidth(RenderTarget& t, const QString& text, int limit) {
    while (t->FontSize() != 0 && t->TextWidth(text) >= t.Scaled(limit)) {
        t->SetFontSize(t->FontSize() - 1);
    }
}
