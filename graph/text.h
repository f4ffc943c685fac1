#pragma once
// Text output shared by the generic text routine and the window back-end's: the measuring and
// justification rules, the optional character translation, and the stroke-font decoder and
// drawing path. The text operations a program calls are in graph/graph.h.

#include <cstdint>

#include "graph/graph.h"
#include "runtime/length_prefixed.h"

// ---- Measuring and justification ------------------------------------------------------------

// A stroke font's pixels per glyph step at a text size: size / 4, so size 4 draws one pixel per
// glyph coordinate step.
float StrokeScaleForSize(uint16_t size);
// True when text is drawn in a stroke font: textFont names a registered font that has stroke
// data. Every other font number, and a font without data, is drawn and measured as font 0.
bool UsesStrokeFont();
// The current stroke font's record; only valid while UsesStrokeFont() is true.
const FontRecord& CurrentStrokeFont();

// The amounts by which the reference point moves: the text starts at (x - dx, y + dy).
void TextJustifyOffsets(int32_t& dx, int32_t& dy, const LengthPrefixedString& text);
// The text passed through charTranslation, or the text itself when none is installed.
LengthPrefixedString TranslateText(const LengthPrefixedString& text);

// ---- Stroke fonts ---------------------------------------------------------------------------

// The commands of the glyph being drawn.
extern StrokeCommand glyphStrokes[kGlyphStrokeCapacity];

// One two-byte command: returns the op (0..3) and the 7-bit signed coordinates.
uint8_t DecodeStrokeCommand(uint8_t b1, uint8_t b2, int16_t& x, int16_t& y);
// Decodes the glyph starting at offset into destination; returns the number of commands, the
// end command included. Never reads past dataSize bytes nor writes more than
// kGlyphStrokeCapacity records: a glyph cut short by either ends with an end command there.
int32_t DecodeGlyph(const uint8_t* data, int32_t dataSize, uint16_t offset,
                    StrokeCommand* destination);
// Draws text (already translated or not, as the caller decides) in the current stroke font
// from the start point (x, y), through the DrawLine slot with solid thin lines. The line
// settings are restored afterwards.
void DrawStrokeText(int16_t x, int16_t y, const LengthPrefixedString& text);
