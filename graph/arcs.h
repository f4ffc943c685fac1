#pragma once
// Arcs, circles and ellipses: the public operations. The generic EllipseOp and CircleOp and
// IgnoreSpan are declared in graph/graph.h.

#include <cstdint>

// The centre and end points of the last arc drawn, in the order of GraphState.lastArc.
struct LastArcPoints {
    int16_t centreX;
    int16_t centreY;
    int16_t fromX;
    int16_t fromY;
    int16_t toX;
    int16_t toY;
};

// Angles in whole degrees, counter-clockwise from 3 o'clock; 0 to 360 is the whole outline.
void DrawArc(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t radius);
void DrawEllipse(int16_t x, int16_t y, uint16_t startAngle, uint16_t endAngle, uint16_t xRadius,
                 uint16_t yRadius);
void DrawCircle(int16_t x, int16_t y, uint16_t radius);
// A full ellipse outlined in the drawing colour with its inside filled in the fill pattern and
// colour (the FillPatternSpan slot).
void FillEllipseArea(int16_t x, int16_t y, uint16_t xRadius, uint16_t yRadius);
LastArcPoints ReadLastArc();
