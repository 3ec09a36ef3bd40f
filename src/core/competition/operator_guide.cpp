#include "core/competition/operator_guide.h"

#include <algorithm>

#include "core/competition/progress.h"
#include "core/competition/view_types.h"
#include "core/platform/cp932.h"
#include "core/platform/text_utils.h"

namespace {

// The letter of a dance as the console's dance labels show it (W T V F Q S C R P J).
QString DanceLetter(const Competition& s, int dance) {
    static const char kLetters[] = "WTVFQSCRPJ";
    if (dance < 0 || dance >= kDances || dance >= s.DanceCount) return {};
    const std::string& name = s.RoundDances[dance];
    const auto& names = DanceNames();
    for (int k = 0; k < kDances; ++k) {
        if (names[k] == name) return QString(QChar::fromLatin1(kLetters[k]));
    }
    return FromCp932(name);
}

int HeatsInDance(const Competition& s) {
    return std::max(s.ShuffledHeats != 0 ? StepsPerDance(s) : s.HeatCount, 1);
}

QString HeatText(const Competition& s, int step, int dance) {
    QString text = QStringLiteral("Heat-%1/%2").arg(HeatOfStep(s, step) + 1).arg(HeatsInDance(s));
    const QString letter = DanceLetter(s, dance);
    if (!letter.isEmpty()) text += u' ' + letter;
    return text;
}

int AwardRows(const Competition& s) { return std::clamp(s.ResultRowCount, 0, kResultRows); }

bool HasProgrammeItem(const Competition& s, int item) {
    return item >= 0 && item < s.ProgrammeCount && item < kProgrammeRows;
}

// A programme item as the list names it: the event number of a competition, else its text.
QString ItemName(const Competition& s, int item) {
    if (s.ProgrammeNonCompetition[item] != 1) {
        const std::string head = TrimBlanks(s.ProgrammeCodes[item].substr(0, 3));
        if (!head.empty()) return QStringLiteral("No. ") + FromCp932(head);
    }
    QString text = FromCp932(TrimBlanks(s.ProgrammeTexts[item])).trimmed();
    if (text.size() > 8) text = text.left(7) + u'…';
    return text.isEmpty() ? QStringLiteral("次の項目") : text;
}

// Whether the picture of the view up now is drawn from the current programme item, so a
// programme step changes it.
bool FollowsItem(int view) {
    return view != kViewClean && view != kViewWelcome && view != kViewAward;
}

}  // namespace

QString ViewDescription(const Competition& s, int type) {
    switch (type) {
        case kViewClean:
            return QStringLiteral("Clean");
        case kViewWelcome:
            return QStringLiteral("Title");
        case kViewJudges:
            return QStringLiteral("Judge");
        case kViewHeat:
            return HeatText(s, s.HeatIndex, s.DanceIndex);
        case kViewFinalists:
            return s.SecondFloorFinal != 0 ? QStringLiteral("Final B") : QStringLiteral("Final");
        case kViewFinalResult:
            return QStringLiteral(u"Ready（結果）");
        case kViewAward: {
            // While a Go ! draws, HeatIndex counts the presses before it: one row more shows.
            const int rows = AwardRows(s);
            if (s.Reveal == RevealOrder::Together) return QStringLiteral(u"表彰 全順位");
            return QStringLiteral(u"表彰 %1/%2")
                .arg(std::clamp(s.HeatIndex + 1, 0, rows))
                .arg(rows);
        }
        case kViewProgressMessage:
            return s.SingleItemMode != 0 ? QStringLiteral(u"Msg 単独") : QStringLiteral("Msg");
        default:
            return QStringLiteral("?");
    }
}

QString AnnouncementDescription(int kind, const std::string& freeText) {
    static const char* const kNames[] = {"休憩",     "昼休み",   "セレモニー",   "お待ち下さい",
                                         "さよなら", "運用調整中", "ダンスタイム", "表彰式"};
    if (kind >= 0 && kind < 8) return QStringLiteral(u"お知らせ ") + QString::fromUtf8(kNames[kind]);
    QString text = FromCp932(freeText).trimmed();
    if (text.size() > 10) text = text.left(9) + u'…';
    return QStringLiteral(u"メッセージ「%1」").arg(text);
}

QString NextStepHint(const Competition& s) {
    if (s.CurrentView == kViewHeat) {
        if (s.HeatCount <= 0) return QString::fromUtf8(NothingDone::kNoRound);
        if (s.HeatIndex + 1 < s.HeatCount) {
            const int next = s.HeatIndex + 1;
            int dance = s.DanceIndex;
            if (s.ShuffledHeats != 0 && next % StepsPerDance(s) == 0) {
                dance = std::min(dance + 1, std::max(s.DanceCount - 1, 0));
            }
            return QStringLiteral(u"▶ %1 へ").arg(HeatText(s, next, dance));
        }
        if (s.DanceIndex + 1 < s.DanceCount) {
            return QStringLiteral(u"▶ %1 へ").arg(HeatText(s, 0, s.DanceIndex + 1));
        }
        return QString::fromUtf8(NothingDone::kLastHeat);
    }
    const int next = s.CurrentProgrammeIndex + 1;
    if (!HasProgrammeItem(s, next)) return QString::fromUtf8(NothingDone::kLastItem);
    QString effect;
    if (s.HoldScreen == 1) {
        effect = QStringLiteral(u"（準備のみ）");
    } else if (FollowsItem(s.CurrentView) || s.ProgrammeNonCompetition[next] == 1) {
        effect = QStringLiteral(u"（会場も変わる）");
    } else {
        effect = QStringLiteral(u"（会場はそのまま）");
    }
    return QStringLiteral(u"▶ %1 へ").arg(ItemName(s, next)) + effect;
}
