#pragma once
// The announcement screens between competitions (break, lunch, ceremony, wait, goodbye, check,
// dance time, award ceremony, and the operator's free message): the heading "■ 現在" over its
// rule and the message centred in the Msg Font, drawn on the normal surfaces.

#include <string>

#include "core/competition/competition_state.h"
#include "core/display/render_target.h"
#include "core/display/renderer.h"

// The kinds the console's message buttons pass; 8 is not used.
inline constexpr int kMessageBreak = 0;
inline constexpr int kMessageLunch = 1;
inline constexpr int kMessageCeremony = 2;
inline constexpr int kMessageWait = 3;
inline constexpr int kMessageGoodbye = 4;
inline constexpr int kMessageCheck = 5;
inline constexpr int kMessageDanceTime = 6;
inline constexpr int kMessageAwardCeremony = 7;
inline constexpr int kMessageFree = 9;

// A message passes through a buffer of 128 bytes: at most 127 bytes of CP932.
inline constexpr size_t kMessageBytes = 127;

// The longest run of whole CP932 characters at the start of text that fits kMessageBytes; a
// double-byte character is never cut in half.
std::string CutMessageText(const std::string& text);

// One pass of the screen of `kind` onto the target. freeText (CP932) is the message of the free
// kind and is cut to kMessageBytes; an unknown kind shows the heading and the rule only.
void DrawMessageScreen(const Competition& s, RenderTarget& t, int kind,
                       const std::string& freeText);

// The screen of `kind` on both normal surfaces (the preview only while the screen is held), with
// the audience panels switched as for a view.
void ShowMessageScreen(const Competition& s, Renderer& renderer, int kind,
                       const std::string& freeText);
