#pragma once
// View types of the audience screen.

inline constexpr int kViewClean = 0;
inline constexpr int kViewWelcome = 1;
inline constexpr int kViewJudges = 2;
inline constexpr int kViewHeat = 3;
inline constexpr int kViewFinalists = 4;
inline constexpr int kViewFinalResult = 5;
inline constexpr int kViewAward = 6;
inline constexpr int kViewProgressMessage = 7;
