// The generic image-buffer routines RestoreImageOp, SaveImageOp, ImageBufferSizeOp.
// AWAITING THEIR ALGORITHMS (image buffers come with a later issue): installed with their final signatures
// so the slot table is complete; they do nothing yet (the size is reported as 0).

#include "graph/graph.h"

void GenericRestoreImage(int16_t, int16_t, const void*, uint16_t) {}

void GenericSaveImage(int16_t, int16_t, int16_t, int16_t, void*) {}

int32_t GenericImageBufferSize(int16_t, int16_t, int16_t, int16_t) { return 0; }
