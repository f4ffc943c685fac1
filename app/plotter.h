#pragma once
// The chaos-game plotter: the program's own globals, which keep their values from pass to pass,
// and its main routine.

#include <cstdint>

extern int16_t graphDriver;  // handed to InitGraph by reference; 0 (detect) at every pass
extern int16_t graphMode;    // handed to InitGraph by reference; 2 at every pass
extern int32_t xp;           // the current chaos-game point
extern int32_t yp;
extern int32_t nmax;    // steps of the pass
extern int32_t step;    // 1..nmax
extern int32_t corner;  // the corner chosen for the step, 1..3
extern uint8_t answer;  // the reply to "ancora? s/n"

// The driver path each pass hands to InitGraph.
inline constexpr char kDriverPath[] = "c:\\mirelda\\grafica";

// The drawing of one pass, after InitGraph: the triangle outline in colour 14 filled with solid
// colour 4, then nmax steps of the chaos game from (xp, yp).
void DrawFilledTriangle();
void PlayChaosGame();

// Initialises the layers, runs passes until the reply is a lower-case n, leaves graphics mode
// and ends the process with exit status 0.
[[noreturn]] void PlotterMain();
