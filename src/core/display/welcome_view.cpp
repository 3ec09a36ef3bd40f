#include "core/display/welcome_view.h"

#include "core/display/clean_view.h"
#include "core/platform/cp932.h"

void DrawWelcomeView(const Competition& s, RenderTarget& t) {
    struct Line {
        QColor color;
        int size;
        int y;
    };
    static const Line kLines[3] = {
        {QColor(0, 255, 255), 40, 140}, {QColor(255, 255, 0), 36, 260}, {Qt::white, 34, 380}};
    ClearTarget(s, t);
    t->SetFontName(FromCp932(s.Config.TitleFont));
    for (int i = 0; i < 3; ++i) {
        const QString text = FromCp932(s.Config.WelcomeTitleLines[i]);
        t->SetFontColor(kLines[i].color);
        t->SetFontSize(t.Scaled(kLines[i].size));
        FitFontToWidth(t, text, 900);
        const int w = t->TextWidth(text);
        t->TextOut(t.CenteredX(500, w), t.Scaled(kLines[i].y), text);
    }
}
