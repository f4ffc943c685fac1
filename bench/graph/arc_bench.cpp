// Circles and ellipses through the library's arc routine against a general 2-D library drawing
// the same outlines without antialiasing, paired in one run on a 1280 x 1024 surface.
#include <benchmark/benchmark.h>

#include <cairo.h>

#include <cmath>
#include <cstdlib>

#include "bench/graph/largest_window.h"
#include "bench/graph/paired.h"

namespace {

constexpr int kWidth = 1280, kHeight = 1024;

struct Surface2D {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    Surface2D() {
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
        cairo_set_line_width(cr, 1.0);
        cairo_set_source_rgb(cr, 1.0, 1.0, 0.0);
    }
    ~Surface2D() {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    void Ellipse(double x, double y, double rx, double ry) {
        cairo_save(cr);
        cairo_translate(cr, x + 0.5, y + 0.5);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_stroke(cr);
    }
};

// 599 circles of radius 1 to 599 about the centre.
void BM_CirclesAgainst2DLibrary(benchmark::State& state) {
    StartLargestWindow(kWidth, kHeight);
    SetDrawColor(14);
    Surface2D other;
    RunPaired(
        state, [] { for (uint16_t r = 1; r < 600; ++r) DrawCircle(640, 512, r); },
        [&] {
            for (int r = 1; r < 600; ++r) {
                cairo_arc(other.cr, 640.5, 512.5, r, 0, 2 * M_PI);
                cairo_stroke(other.cr);
            }
            cairo_surface_flush(other.surface);
        });
}
BENCHMARK(BM_CirclesAgainst2DLibrary)->UseManualTime()->Unit(benchmark::kMillisecond);

// 300 ellipses, twice as wide as tall, up to 600 x 300 pixels of radius.
void BM_EllipsesAgainst2DLibrary(benchmark::State& state) {
    StartLargestWindow(kWidth, kHeight);
    SetDrawColor(14);
    Surface2D other;
    RunPaired(
        state,
        [] {
            for (uint16_t r = 1; r <= 300; ++r) DrawEllipse(640, 512, 0, 360, static_cast<uint16_t>(2 * r), r);
        },
        [&] {
            for (int r = 1; r <= 300; ++r) other.Ellipse(640, 512, 2 * r, r);
            cairo_surface_flush(other.surface);
        });
}
BENCHMARK(BM_EllipsesAgainst2DLibrary)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
