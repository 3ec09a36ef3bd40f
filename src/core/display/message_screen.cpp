#include "core/display/message_screen.h"

#include <QColor>
#include <QString>

#include "core/display/clean_view.h"
#include "core/display/progress_message_view.h"
#include "core/platform/cp932.h"

namespace {

const QColor kYellow(255, 255, 0);

// The texts of the fixed kinds, blanks as the venue knows them: "\u3000" is the ideographic
// space.
QString FixedText(int kind) {
    switch (kind) {
        case kMessageBreak:
            return QStringLiteral(u"■■■\u3000 休\u3000憩\u3000 ■■■");
        case kMessageLunch:
            return QStringLiteral(u"■■■   昼休み\u3000 ■■■");
        case kMessageCeremony:
            return QStringLiteral(u"■■■ セレモニー ■■■");
        case kMessageWait:
            return QStringLiteral(u"■■■\u3000少しお待ち下さい\u3000■■■");
        case kMessageGoodbye:
            return QStringLiteral(u"■■■\u3000さよなら  ■■■");
        case kMessageCheck:
            return QStringLiteral(u"■■■\u3000運用調整中\u3000 ■■■");
        case kMessageDanceTime:
            return QStringLiteral(u"■■■ ダンスタイム ■■■");
        case kMessageAwardCeremony:
            return QStringLiteral(u"■■■ 表彰式 ■■■");
        default:
            return QString();
    }
}

void DrawFittedCentred(RenderTarget& t, const QString& text, int y) {
    FitMessageFont(t, text);
    if (!text.isEmpty()) t->TextOut(t.CenteredX(500, t->TextWidth(text)), t.Scaled(y), text);
}

}  // namespace

std::string CutMessageText(const std::string& text) {
    size_t end = 0;
    while (end < text.size()) {
        const size_t len = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + len > kMessageBytes || end + len > text.size()) break;
        end += len;
    }
    return text.substr(0, end);
}

void DrawMessageScreen(const Competition& s, RenderTarget& t, int kind,
                       const std::string& freeText) {
    static const QString kHeading = QStringLiteral(u"■ 現在");
    static const QString kGoodbyeLine2 = QStringLiteral(u"気を付けてお帰り下さい");
    ClearTarget(s, t);
    t->SetFontName(FromCp932(s.Config.MsgFont));
    t->SetFontSize(t.Scaled(26));
    t->SetFontColor(kYellow);
    t->TextOut(t.Scaled(20), t.Scaled(33), kHeading);
    t->SetPenColor(Qt::white);
    DrawRule(t, 80);
    t->SetFontColor(Qt::white);

    if (kind == kMessageGoodbye) {
        DrawFittedCentred(t, FixedText(kind), 200);
        DrawFittedCentred(t, kGoodbyeLine2, 350);
        return;
    }
    const QString text =
        kind == kMessageFree ? FromCp932(CutMessageText(freeText)) : FixedText(kind);
    DrawFittedCentred(t, text, 280);
}

void ShowMessageScreen(const Competition& s, Renderer& renderer, int kind,
                       const std::string& freeText) {
    renderer.DrawOnNormalSurfaces(
        [&](RenderTarget& t) { DrawMessageScreen(s, t, kind, freeText); });
}
