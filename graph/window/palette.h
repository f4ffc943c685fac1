#pragma once
// The back-end's palette: the default table every mode set starts from, the current table's
// life (GraphState.paletteTable, counted in Backend.paletteTableCount, each change bumping
// Backend.paletteGeneration for the colour lookup), and the palette slot routines.

#include <array>
#include <cstdint>

#include "graph/graph_state.h"

extern const std::array<PaletteEntry, 256> defaultPalette;

// A fresh paletteTable of colorCount entries (at least 1, at most 256) from defaultPalette.
void MakePaletteTable();
// Releases paletteTable (LeaveGraphics, and every mode set before its new table).
void ReleasePaletteTable();

void BackendWritePaletteEntry(int16_t index, int16_t red, int16_t green, int16_t blue);
void BackendReadPaletteEntry(int16_t index, int16_t& red, int16_t& green, int16_t& blue);
