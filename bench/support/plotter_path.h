#pragma once
// The plotter's path for the answers 100, 100 and a million steps: from (100, 100) half-way
// towards one of its three corners, picked by the runtime's generator from its fixed start.
// The generator's state is put back where it was.

#include <cstdint>
#include <vector>

#include "runtime/random.h"

struct PlotterPoint {
    int32_t x, y;
};

inline const std::vector<PlotterPoint>& PlotterPath() {
    static const std::vector<PlotterPoint> path = [] {
        constexpr PlotterPoint kCorners[3] = {{10, 10}, {410, 10}, {210, 346}};
        const RandomStateRecord saved = RandomState;
        RandomState = {0, 0, 0, 0, true};
        std::vector<PlotterPoint> points{{100, 100}};
        for (int i = 0; i < 1000000; ++i) {
            const PlotterPoint& c = kCorners[RandomBelow(3)];
            points.push_back({(points.back().x + c.x) / 2, (points.back().y + c.y) / 2});
        }
        RandomState = saved;
        return points;
    }();
    return path;
}
