#pragma once
// What the memory display shows in each window after a run of the plotter with the given
// answers (reference_plotter), for the tests that compare real windows with it.

#include <string>
#include <vector>

#include "tests/e2e/x_inspector.h"

// One picture per window, in the order they were opened; none when the reference run failed.
// The last answer ends the program.
std::vector<Picture> ReferencePictures(const std::string& answers, int width, int height);
