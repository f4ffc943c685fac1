// Palette entries one at a time and the whole palette, through the palette slots. The slots
// refuse an index themselves; the whole-palette operations check the count first so that a
// refused call changes no entry at all.

#include "graph/graph_internal.h"

namespace {

bool PaletteRefuses(const PaletteEntry* entries, int32_t count) {
    if (entries == nullptr || GraphState.noPalette || count < 0 || count > GraphState.colorCount) {
        GraphState.resultCode = GraphErrorGeneral;
        return true;
    }
    return false;
}

}  // namespace

void ChangePaletteEntry(int16_t index, PaletteEntry entry) {
    DriverSlots.WritePaletteEntry(index, entry.red, entry.green, entry.blue);
}

PaletteEntry ReadPaletteEntryAt(int16_t index) {
    PaletteEntry entry{0, 0, 0};
    DriverSlots.ReadPaletteEntry(index, entry.red, entry.green, entry.blue);
    return entry;
}

void ChangeWholePalette(const PaletteEntry* entries, int32_t count) {
    if (PaletteRefuses(entries, count)) return;
    for (int32_t i = 0; i < count; ++i) ChangePaletteEntry(static_cast<int16_t>(i), entries[i]);
}

int32_t ReadWholePalette(PaletteEntry* entries, int32_t capacity) {
    if (PaletteRefuses(entries, 0)) return 0;
    int32_t count = capacity < GraphState.colorCount ? capacity : GraphState.colorCount;
    if (count < 0) count = 0;
    for (int32_t i = 0; i < count; ++i) entries[i] = ReadPaletteEntryAt(static_cast<int16_t>(i));
    return count;
}
