#include "core/display/programme_list.h"

#include <QColor>
#include <QString>

#include "core/display/clean_view.h"
#include "core/platform/cp932.h"

ProgrammeListInputs ProgrammeListInputsOf(const Competition& s) {
    return {
        .current = s.CurrentProgrammeIndex, .codes = s.ProgrammeCodes, .texts = s.ProgrammeTexts};
}

void DrawProgrammeList(const ProgrammeListInputs& list, Canvas& image6) {
    static const QString kCodeFont = QStringLiteral(u"ＭＳ ゴシック");
    static const QString kTextFont = QStringLiteral(u"ＭＳ Ｐゴシック");
    const QColor blue(0, 0, 255);
    CanvasPass painting(image6);

    image6.SetBrushColor(kTeal);
    image6.FillRect(-10, -10, 425, 4000);
    image6.SetFontSize(11);
    image6.SetFontColor(Qt::white);
    image6.SetPenColor(Qt::white);
    image6.SetPenWidth(1);
    image6.Line(0, 0, 425, 0);

    // Every slot gets its row, the empty ones too; texts are drawn on the row's brush.
    for (int i = 0; i < kProgrammeRows; ++i) {
        const int top = 20 * i;
        image6.SetBrushColor(kTeal);
        if (i == list.current) {
            image6.SetBrushColor(blue);
            image6.FillRect(-10, top, 425, top + 21);
        }
        image6.Line(0, top + 20, 425, top + 20);
        const QString code = FromCp932(list.codes[i]);
        const QString text = FromCp932(list.texts[i]);
        image6.SetFontName(kCodeFont);
        if (!code.isEmpty()) image6.TextOut(30 - image6.TextWidth(code), top + 2, code);
        image6.SetFontName(kTextFont);
        if (!text.isEmpty()) image6.TextOut(50, top + 2, text);
    }
}
