#include "core/display/title_banner.h"

#include <utility>

#include "core/platform/cp932.h"

namespace {

// Shrinks the font until the line is narrower than 820 units, then centres it on (430, y). The
// size carries over to the next line, so a later line is never larger than an earlier one.
void DrawBannerLine(RenderTarget& t, const QString& text, int y) {
    FitFontToWidth(t, text, 820);
    const int w = t->TextWidth(text);
    const int h = t->TextHeight(text);
    t->TextOut(t.CenteredX(430, w), t.CenteredY(y, h), text);
}

}  // namespace

void DrawTitleBannerPass(const Competition& s, RenderTarget& t) {
    t->SetPenColor(Qt::black);
    t->SetBrushColor(Qt::black);
    t->Rectangle(0, 0, t.Scaled(860), t.Scaled(170));
    t->SetFontName(FromCp932(s.Config.TopFont));
    t->SetFontColor(Qt::white);
    t->SetFontSize(t.Scaled(40));

    const QString line1 = FromCp932(s.Config.TopTitleLines[0]);
    const QString line2 = FromCp932(s.Config.TopTitleLines[1]);
    const QString line3 = FromCp932(s.Config.TopTitleLines[2]);
    // Two lines sit lower so that they stay centred in the band.
    int y = s.Config.TopTitleLines[2].empty() ? 55 : 35;
    DrawBannerLine(t, line1, y);
    y += 50;
    // "#1" and "#2" keep a line's place empty.
    if (!line2.contains(QLatin1String("#1"))) DrawBannerLine(t, line2, y);
    y += 45;
    if (!line3.contains(QLatin1String("#2"))) DrawBannerLine(t, line3, y);
}

void DrawTitleBanner(const Competition& s, Canvas& audienceBanner, Canvas& previewBanner) {
    for (auto [canvas, scale] : {std::pair(&audienceBanner, 1.0), std::pair(&previewBanner, 0.5)}) {
        CanvasPass painting(*canvas);
        RenderTarget t{canvas, scale};
        DrawTitleBannerPass(s, t);
    }
}
