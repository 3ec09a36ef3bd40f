#pragma once
// What the console tells the operator in words: what a picture on the venue screen shows (the
// on-air line), what the next press of the clicker will do, and why a command did nothing.

#include <QString>
#include <string>

#include "core/competition/competition_state.h"

// The picture of view `type` as the state stands while it is drawn: "Heat-2/3 W", "表彰 3/10",
// "Final B", ...
QString ViewDescription(const Competition& s, int type);
// An announcement screen of `kind` ("お知らせ 休憩"); the free message shows its start.
QString AnnouncementDescription(int kind, const std::string& freeText);

// What the clicker's forward step (Page Down, Right, B) will do now: "▶ Heat-3 へ",
// "▶ T Heat-1 へ", "▶ No. 016 へ（会場も変わる）", or "■ ..." when it will do nothing.
QString NextStepHint(const Competition& s);

// The reasons a command does nothing, as the console says them.
namespace NothingDone {
inline constexpr const char* kNoEvent = "■ この項目は競技ではありません（ヒートなし）";
inline constexpr const char* kNotHeatView = "■ ヒートは Heat の表示中だけ進みます";
inline constexpr const char* kLastHeat = "■ ラウンドの最後のヒートです";
inline constexpr const char* kFirstHeat = "■ ラウンドの最初のヒートです";
inline constexpr const char* kLastItem = "■ 進行の最後の項目です";
inline constexpr const char* kFirstItem = "■ 進行の最初の項目です";
inline constexpr const char* kReadyFirst = "■ 先に Ready を押してください";
inline constexpr const char* kAwardDone = "■ 表彰は全順位を表示済みです";
inline constexpr const char* kNoRound = "■ ヒートが読み込まれていません（Heat を押す）";
}  // namespace NothingDone
