#include "core/display/judges_view.h"

#include <QColor>
#include <QString>
#include <algorithm>

#include "core/display/header.h"
#include "core/platform/cp932.h"

namespace {

const QColor kYellow(255, 255, 0);
const QColor kAqua(0, 255, 255);

// Design x of one column: the code is centred on `code`, the name starts at `name` and the note
// ends at `note`.
struct Column {
    int code;
    int name;
    int note;
};

constexpr Column kChief{40, 80, 500};
constexpr Column kTwoColumns[2] = {{40, 80, 350}, {540, 580, 750}};
constexpr Column kThreeColumns[3] = {{40, 80, 350}, {360, 400, 670}, {680, 720, 990}};

constexpr int kListPoints = 24;
constexpr int kChiefY = 100;
constexpr int kFirstRowY = 160;
constexpr int kPitch = 45;
constexpr int kSurfaceHeight = 600;
// In three columns the last judge closes the right column at this line.
constexpr int kLastJudgeY = 520;

// Where the panel members go. The designed three-column layout puts the last judge at 520 and
// lets rows run on; when a row would start below the surface, or another judge of the right
// column already stands at 520 (29, 31 and 32 judges), the panel is shrunk instead: the columns
// keep their members, the last judge takes the bottom row, and the pitch (and, where a line no
// longer fits its pitch, the font) is reduced until every line is on the surface.
struct PanelLayout {
    int count = 0;  // judges, chief included
    int rows = 0;   // members per column (the right column of three may hold more)
    bool three = false;
    int shrunkRows = 0;  // rows of the shrunk layout; 0 for the designed one
    int pitch = kPitch;

    int ColumnOf(int k) const { return k <= rows ? 0 : (k <= 2 * rows || !three ? 1 : 2); }
    const Column& ColumnAt(int k) const {
        return three ? kThreeColumns[ColumnOf(k)] : kTwoColumns[ColumnOf(k)];
    }
    int Y(int k) const {
        const bool last = k == count - 1;
        if (shrunkRows > 0) {
            const int row = last ? shrunkRows - 1 : k - 1 - ColumnOf(k) * rows;
            return kFirstRowY + row * pitch;
        }
        if (three && last) return kLastJudgeY;
        return (k - 1) % rows * kPitch + kFirstRowY;
    }
};

PanelLayout LayoutOf(int judgeCount) {
    PanelLayout p;
    p.count = std::clamp(judgeCount, 0, kJudgeRows);
    if (p.count < 20) {
        p.rows = p.count <= 8 ? 8 : p.count / 2;
        return p;
    }
    p.three = true;
    p.rows = p.count / 3;
    const int rightMembers = p.count - 1 - 2 * p.rows;  // the last judge among them
    const bool rowsOffSurface = kFirstRowY + (p.rows - 1) * kPitch >= kSurfaceHeight;
    // The others of the right column stand on rows 0 .. rightMembers - 2.
    const bool lastLineTaken = kFirstRowY + (rightMembers - 2) * kPitch >= kLastJudgeY;
    if (rowsOffSurface || lastLineTaken) {
        p.shrunkRows = std::max(p.rows, rightMembers);
        p.pitch = std::min(kPitch, (kSurfaceHeight - kFirstRowY) / p.shrunkRows);
    }
    return p;
}

void DrawJudgeLine(const Competition& s, RenderTarget& t, int k, const Column& c, int y) {
    const QString code = FromCp932(s.JudgeCodes[k]);
    const QString name = FromCp932(s.JudgeNames[k]);
    const QString note = FromCp932(s.JudgeNotes[k]);
    t->SetFontColor(kYellow);
    t->TextOut(t.CenteredX(c.code, t->TextWidth(code)), t.Scaled(y), code);
    t->SetFontColor(Qt::white);
    // The name and the note share the line from the name's start to the note's end: a pair too
    // long for it is narrowed, so that the note never covers the name.
    FontFitScope fit(t);
    CondenseToWidth(t, {name, note}, c.note - c.name - kTextGap);
    const int top = t.Scaled(y) + fit.Lowered();
    t->TextOut(t.Scaled(c.name), top, name);
    t->TextOut(t.RightX(c.note, t->TextWidth(note)), top, note);
}

// A line of the shrunk layout must fit its pitch: one point less until it does.
void FitListFontToPitch(RenderTarget& t, int pitch) {
    const int limit = static_cast<int>(pitch * t.scale);
    while (t->FontSize() > 1 && t->TextHeight(QString()) > limit) {
        t->SetFontSize(t->FontSize() - 1);
    }
}

}  // namespace

void DrawJudgesView(const Competition& s, RenderTarget& t) {
    static const QString kCaption = QStringLiteral(u"[ 審判員 ] ");
    static const QString kChiefMarker = QStringLiteral(u"※ 審判長");
    DrawHeader(s, t, HeaderMode::Judges);

    t->SetFontName(QStringLiteral("Microsoft Sans Serif"));
    t->SetFontColor(kYellow);
    t->SetFontSize(t.Scaled(22));
    t->SetBold(true);
    t->TextOut(t.Scaled(40), t.Scaled(10), kCaption);

    t->SetFontColor(Qt::white);
    t->SetFontSize(t.Scaled(kListPoints));
    t->SetFontName(QStringLiteral(u"HGP創英角ｺﾞｼｯｸUB"));
    t->SetBold(false);

    DrawJudgeLine(s, t, 0, kChief, kChiefY);
    t->SetFontColor(kAqua);
    t->TextOut(t.Scaled(520), t.Scaled(kChiefY), kChiefMarker);
    t->SetFontColor(Qt::white);

    const PanelLayout panel = LayoutOf(s.JudgeCount);
    if (panel.shrunkRows > 0) FitListFontToPitch(t, panel.pitch);
    for (int k = 1; k < panel.count; ++k) {
        DrawJudgeLine(s, t, k, panel.ColumnAt(k), panel.Y(k));
    }
}
