#include "core/display/final_result_view.h"

#include <QColor>

#include "core/competition/result_list.h"
#include "core/display/clean_view.h"
#include "core/display/header.h"
#include "core/display/scaled_shapes.h"
#include "core/platform/cp932.h"

namespace {

const QColor kYellow(255, 255, 0);

void DrawHeadings(RenderTarget& t) {
    static const struct {
        QString text;
        int x;
    } kHeadings[] = {{QStringLiteral(u"順 位"), 50},
                     {QStringLiteral(u"背番号"), 160},
                     {QStringLiteral(u"カップル"), 350},
                     {QStringLiteral(u"所  属"), 880}};
    t->SetFontSize(t.Scaled(24));
    t->SetBold(false);
    t->SetFontColor(kYellow);
    for (const auto& h : kHeadings) t->TextOut(t.Scaled(h.x), t.Scaled(70), h.text);
}

// 192 bands of 4 target pixels, not scaled: the preview shows only the top of the gradient.
void DrawGradientBackground(RenderTarget& t) {
    int g = 122;
    for (int i = 0; i < 192; ++i) {
        if (i % 2 == 0) g = static_cast<int>(g * 0.998);
        SetShapeColor(t, QColor(3, g, 0));
        t->Rectangle(0, 4 * i, 1024, 4 * i + 4);
    }
}

// The banner across the top with the category name fitted to 700 units.
void DrawResultBanner(RenderTarget& t, const QString& categoryName) {
    t->SetFontName(QStringLiteral(u"AR P隷書体M"));
    SetShapeColor(t, QColor(255, 168, 0));
    ScaledPolygon(t, {{85, 10}, {800, 10}, {800, 25}, {70, 25}});
    ScaledEllipse(t, 790, 10, 810, 40);
    SetShapeColor(t, QColor(255, 170, 0));
    ScaledPolygon(t, {{70, 25}, {810, 25}, {810, 45}, {50, 45}});
    SetShapeColor(t, QColor(255, 172, 0));
    ScaledPolygon(t, {{50, 45}, {810, 45}, {810, 65}, {30, 65}});
    SetShapeColor(t, QColor(255, 176, 0));
    ScaledEllipse(t, 30, 65, 45, 80);
    ScaledRectangle(t, 30, 65, 801, 70);
    ScaledRectangle(t, 38, 70, 801, 80);
    ScaledEllipse(t, 790, 50, 810, 80);

    SetShapeColor(t, QColor(255, 171, 0));
    t->SetFontColor(Qt::black);
    t->SetFontSize(t.Scaled(36));
    FitFontToWidth(t, categoryName, 700);
    t->TextOut(t.Scaled(85), t.CenteredY(45, t->TextHeight(categoryName)), categoryName);

    SetShapeColor(t, QColor(57, 12, 255));
    ScaledEllipse(t, 25, 6, 45, 26);
    ScaledPolygon(t, {{78, 6}, {55, 30}, {25, 30}, {25, 16}, {35, 16}, {35, 6}});
    SetShapeColor(t, QColor(49, 232, 2));
    ScaledPolygon(t, {{55, 30}, {25, 60}, {25, 30}});
    SetShapeColor(t, QColor(244, 246, 248));
    t->SetPenWidth(t.Scaled(2));
    ScaledPolyline(t, {{26, 16}, {26, 60}, {78, 8}});
}

}  // namespace

void DrawFinalResultView(const Competition& s, RenderTarget& t) {
    const int category = ResultListCategory(s, s.ResultListRow);
    if (s.AltResultLayout != 0) {
        DrawGradientBackground(t);
        DrawResultBanner(t, FromCp932(s.CategoryNameAt(category - 1)));
        return;
    }
    DrawHeader(s, t, HeaderMode::Result);
    DrawHeadings(t);
}

void DrawResultList(const Competition& s, Canvas& image5) {
    static const QString kFixedFace = QStringLiteral(u"ＭＳ ゴシック");
    static const QString kProportionalFace = QStringLiteral(u"ＭＳ Ｐゴシック");
    CanvasPass painting(image5);
    image5.SetPenColor(kTeal);
    image5.SetBrushColor(kTeal);
    image5.Rectangle(-5, -5, 410, 170);
    image5.SetFontSize(10);
    image5.SetFontColor(Qt::white);
    const FinalFileRead& read = s.LastFinalRead;
    if (!read.opened) return;
    image5.SetFontName(kFixedFace);
    image5.TextOut(5, 2, FromCp932(read.titleLine));
    for (int i = 0; i < read.rows && i < kResultRows; ++i) {
        const ResultRow& row = s.ResultTable[i];
        const int y = 18 + 16 * i;
        image5.SetFontName(kFixedFace);
        image5.TextOut(4, y, FromCp932(row.PlacingText));
        image5.SetFontName(kProportionalFace);
        image5.TextOut(60, y, FromCp932(row.CoupleText));
        const QString affiliation = FromCp932(row.AffiliationText);
        image5.TextOut(396 - image5.TextWidth(affiliation), y, affiliation);
    }
}
