#include "core/display/render_target.h"

void FitFontToWidth(RenderTarget& t, const QString& text, int limit) {
    while (t->FontSize() != 0 && t->TextWidth(text) >= t.Scaled(limit)) {
        t->SetFontSize(t->FontSize() - 1);
    }
}
