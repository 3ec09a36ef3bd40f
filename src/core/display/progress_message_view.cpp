#include "core/display/progress_message_view.h"

#include <QColor>
#include <string>

#include "core/display/clean_view.h"
#include "core/platform/cp932.h"
#include "core/platform/text_utils.h"

namespace {

const QColor kYellow(255, 255, 0);
const QColor kCyan(0, 255, 255);

// Programme item kind that only code sets: the award ceremony screen.
constexpr int kAwardCeremonyItem = 3;

// A programme item as the view reads it; an index outside the table is an empty item, which
// counts as a competition item.
struct Item {
    int kind = 0;
    std::string code;
    std::string codeB;
    std::string text;
    std::string textB;
};

Item ItemAt(const Competition& s, int i) {
    Item item;
    if (i < 0 || i >= kProgrammeRows) return item;
    item.kind = s.ProgrammeNonCompetition[i];
    item.code = s.ProgrammeCodes[i];
    item.codeB = s.ProgrammeCodesB[i];
    item.text = s.ProgrammeTexts[i];
    item.textB = s.ProgrammeTextsB[i];
    return item;
}

bool IsCompetition(const Item& item) { return item.kind == 0; }

struct SplitLines {
    QString line1;
    QString line2;
    bool hasLine2 = false;
};

// Splits the trimmed text at its last ASCII blank. The scan walks whole characters so that only
// a blank of its own counts, never a byte inside a double-byte character.
SplitLines SplitAtLastBlank(const std::string& text) {
    const std::string trimmed = TrimBlanks(text);
    size_t blank = std::string::npos;
    for (size_t i = 0; i < trimmed.size();) {
        const auto b = static_cast<unsigned char>(trimmed[i]);
        if (b == 0x20) blank = i;
        i += IsCp932LeadByte(b) ? 2 : 1;
    }
    SplitLines out;
    if (blank == std::string::npos) {
        out.line1 = FromCp932(trimmed);
        return out;
    }
    out.line1 = FromCp932(trimmed.substr(0, blank));
    out.line2 = FromCp932(trimmed.substr(blank + 1));
    out.hasLine2 = true;
    return out;
}

bool SplitApplies(const Competition& s, const Item& item) {
    return IsCompetition(item) && s.RoundSplit && TrimBlanks(item.textB).empty();
}

void DrawCentred(RenderTarget& t, const QString& text, int y) {
    t->TextOut(t.CenteredX(500, t->TextWidth(text)), t.Scaled(y), text);
}

void DrawFitted(RenderTarget& t, const QString& text, int y) {
    FitMessageFont(t, text);
    DrawCentred(t, text, y);
}

// The split lines of a competition item, each fitted on its own.
void DrawSplitLines(RenderTarget& t, const Item& item, int y1, int y2) {
    const SplitLines lines = SplitAtLastBlank(item.text);
    DrawFitted(t, lines.line1, y1);
    if (lines.hasLine2) {
        FitMessageFont(t, lines.line2);
        if (!lines.line2.isEmpty()) DrawCentred(t, lines.line2, y2);
    }
}

void DrawItemLines(const Competition& s, RenderTarget& t, const Item& item, int y1, int y2) {
    if (SplitApplies(s, item)) {
        DrawSplitLines(t, item, y1, y2);
        return;
    }
    DrawFitted(t, FromCp932(item.text), y1);
    const QString textB = FromCp932(item.textB);
    FitMessageFont(t, textB);
    if (!textB.isEmpty()) DrawCentred(t, textB, y2);
}

QString NumberText(const Item& item) {
    QString text = QStringLiteral("No. ") + FromCp932(item.code);
    if (!item.codeB.empty()) text += QStringLiteral("  / ") + FromCp932(item.codeB);
    return text;
}

void DrawTwoItems(const Competition& s, RenderTarget& t, const Item& current) {
    static const QString kNow = QStringLiteral(u"■ 現在");
    static const QString kNext = QStringLiteral(u"■ 次  ");
    const int nextIndex = s.CurrentProgrammeIndex + 1;
    const bool hasNext = nextIndex < s.ProgrammeCount;
    const Item next = ItemAt(s, nextIndex);

    t->TextOut(t.Scaled(20), t.Scaled(33), kNow);
    if (hasNext) t->TextOut(t.Scaled(20), t.Scaled(293), kNext);
    t->SetPenColor(Qt::white);
    DrawRule(t, 80);
    if (hasNext) DrawRule(t, 340);
    t->SetFontSize(t.Scaled(36));
    t->SetFontColor(kCyan);
    if (IsCompetition(current)) t->TextOut(t.Scaled(220), t.Scaled(25), NumberText(current));
    if (hasNext && IsCompetition(next)) t->TextOut(t.Scaled(220), t.Scaled(285), NumberText(next));
    t->SetFontColor(Qt::white);
    DrawItemLines(s, t, current, 110, 180);
    if (hasNext) DrawItemLines(s, t, next, 370, 440);
}

void DrawSingleItem(const Competition& s, RenderTarget& t, const Item& current) {
    static const QString kNow = QStringLiteral(u"■ 現在");
    static const QString kCeremony = QStringLiteral(u"表 彰 式");
    t->TextOut(t.Scaled(20), t.Scaled(33), kNow);
    t->SetFontSize(t.Scaled(36));
    t->SetFontColor(kCyan);
    if (IsCompetition(current)) t->TextOut(t.Scaled(220), t.Scaled(25), NumberText(current));
    t->SetPenColor(Qt::white);
    DrawRule(t, 80);
    t->SetFontColor(Qt::white);

    if (current.kind == kAwardCeremonyItem) {
        t->SetFontColor(kCyan);
        t->SetFontSize(t.Scaled(72));
        DrawCentred(t, kCeremony, 250);
        return;
    }
    if (SplitApplies(s, current)) {
        DrawSplitLines(t, current, 150, 250);
        return;
    }
    // Both floors' texts share one size, the one that fits the wider text.
    const QString text = FromCp932(current.text);
    const QString textB = FromCp932(current.textB);
    if (textB.isEmpty() || t->TextWidth(text) > t->TextWidth(textB)) {
        FitMessageFont(t, text);
    } else {
        FitMessageFont(t, textB);
    }
    DrawCentred(t, text, 150);
    if (!textB.isEmpty()) DrawCentred(t, textB, 250);
}

}  // namespace

void FitMessageFont(RenderTarget& t, const QString& text) {
    for (int points = 40; points >= 22; points -= 2) {
        t->SetFontSize(t.Scaled(points));
        if (t->TextWidth(text) < 900 * t.scale) return;
    }
}

bool SplitRoundApplies(const Competition& s, int item) { return SplitApplies(s, ItemAt(s, item)); }

void DrawProgressMessageView(const Competition& s, RenderTarget& t) {
    ClearTarget(s, t);
    t->SetFontName(FromCp932(s.Config.MsgFont));
    t->SetFontSize(t.Scaled(26));
    t->SetFontColor(kYellow);
    const Item current = ItemAt(s, s.CurrentProgrammeIndex);
    if (s.SingleItemMode != 0) {
        DrawSingleItem(s, t, current);
    } else {
        DrawTwoItems(s, t, current);
    }
}
