#pragma once
// What every fuzz target shares: an offscreen toolkit, a scratch copy of the demo folder in which
// a target replaces one file by the fuzzer's bytes, the competition as the console's start-up
// loads it, and the code that uses the tables after a load: the programme walked item by item
// with each round loaded and stepped, and every view drawn at both sizes onto offscreen canvases.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/competition/competition_state.h"

// Once per process, from LLVMFuzzerInitialize: the offscreen toolkit, the fonts and the scratch
// folder.
void InitFuzzing();

// The scratch folder: a copy of data/demo made at start, removed at a normal exit.
const std::string& ScratchFolder();

// Puts bytes into the scratch folder as name ("Assist/H_03_1.dat" works); RestoreDemoFile puts
// the demo's own file back.
void WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);
void RestoreDemoFile(const std::string& name);

// The competition the console's start-up makes of the scratch folder, loaded once; a target
// copies it and changes what its file feeds.
const Competition& DemoCompetition();

// The programme walked from its first item to its last as the operator steps it: each item made
// current, followed, its round loaded and stepped heat by heat to the end and back. The heat view
// is drawn for the first drawnRounds rounds.
void WalkProgramme(Competition& s, int drawnRounds);

// The round of the current event loaded, stepped heat by heat to its end and back to its start;
// when drawn, the heat view is drawn along the first steps and at the end, then the finalists.
void StepRound(Competition& s, bool drawn);

// Up to maxFinals final events made current in turn: their finalists on each floor, then the
// award sequence of their category's final file, the layouts and reveal orders taken in turn.
void ShowFinals(Competition& s, int maxFinals);

// Every view type, the announcement screens, the title banner, the clock, the programme list and
// the result list drawn at both sizes.
void DrawEverything(Competition& s);
void DrawView(Competition& s, int type);

// The award sequence as "Ready" and "Go !" run it, in the given reveal order, until the step stops
// (one press past the rows read).
void RunAwardSequence(Competition& s, RevealOrder order);

// Lines that end in a line feed: no loader may make more rows of a file than it has lines.
int CountLineEnds(const uint8_t* data, size_t size);

// A broken invariant: prints what and where, then aborts so the fuzzer keeps the input.
[[noreturn]] void FuzzFailure(const char* what, const char* file, int line);
#define FUZZ_CHECK(cond) ((cond) ? static_cast<void>(0) : FuzzFailure(#cond, __FILE__, __LINE__))
