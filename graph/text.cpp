// The generic DrawTextOp.
// AWAITING ITS ALGORITHM (text comes with a later issue): installed with its final signature so the
// slot table is complete; it draws nothing yet.

#include "graph/graph.h"

void GenericDrawText(int16_t, int16_t, const LengthPrefixedString&) {}
