// The back-end's text routine (DrawTextOp of every window mode).
// AWAITING ITS ALGORITHM (back-end text comes with a later issue): installed with its final signature so the
// mode entries are complete; it draws nothing yet.

#include "graph/window/backend.h"

void BackendDrawText(int16_t, int16_t, const LengthPrefixedString&) {}
