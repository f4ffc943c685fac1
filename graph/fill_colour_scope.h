#pragma once
// The span routines draw in the drawing colour; a fill holds the fill colour there while it
// hands out spans, and the caller's colour comes back however the fill ends.

#include "graph/graph_state.h"

class FillColourScope {
public:
    FillColourScope() : saved_(GraphState.drawColor) { GraphState.drawColor = GraphState.fillColor; }
    ~FillColourScope() { GraphState.drawColor = saved_; }
    FillColourScope(const FillColourScope&) = delete;
    FillColourScope& operator=(const FillColourScope&) = delete;

private:
    uint16_t saved_;
};
