#include "core/display/clean_view.h"

QColor BgrColor(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

void ClearTarget(const Competition& s, RenderTarget& t) {
    const QColor base = BgrColor(s.Config.BaseColor);
    t->SetPenColor(base);
    t->SetBrushColor(base);
    t->Rectangle(0, 0, t.Scaled(1024), t.Scaled(768));
}
