// The generic EllipseOp and CircleOp, and IgnoreSpan.
// AWAITING THEIR ALGORITHMS (arcs come with a later issue): installed with their final signatures so
// the slot table is complete; they draw nothing yet.

#include "graph/graph.h"

void IgnoreSpan(int16_t, int16_t, int16_t) {}

void GenericEllipse(int16_t, int16_t, uint16_t, uint16_t, uint16_t, uint16_t, SpanRoutine) {}

void GenericCircle(int16_t, int16_t, uint16_t) {}
