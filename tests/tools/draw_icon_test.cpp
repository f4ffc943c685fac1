// The icon tool as the build runs it: the plotter's picture drawn on the memory display.

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tools/icon/rgba_image.h"

namespace {

TEST(DrawIcon, WritesTheTriangleOnAClearBackground) {
    const std::string path = ::testing::TempDir() + "icon_test.png";
    struct RemovedAtEnd {
        const std::string& path;
        ~RemovedAtEnd() { std::remove(path.c_str()); }
    } removed{path};
    const ProgramRun run = RunProgram({CHAOSPLOT_ICON_TOOL, path, "32"}, "");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
    image.format = PNG_FORMAT_RGBA;
    ASSERT_EQ(image.width, 32u);
    ASSERT_EQ(image.height, 32u);
    struct {
        RgbaImage image{32, 32, std::vector<RgbaPixel>(32 * 32)};
    } reading;
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, reading.image.pixels.data(), 0, nullptr)) << image.message;
    // The triangle points down: the corners below it are clear, its middle is drawn.
    EXPECT_EQ(reading.image.At(0, 31).alpha, 0);
    EXPECT_EQ(reading.image.At(31, 31).alpha, 0);
    const RgbaPixel middle = reading.image.At(16, 12);
    EXPECT_EQ(middle.alpha, 255);
    // Red fill and yellow lines: red is always the strongest channel or tied with green.
    EXPECT_GE(middle.red, middle.green);
    EXPECT_GT(middle.red, middle.blue);
}

TEST(DrawIcon, RefusesAMissingOrSenselessSize) {
    EXPECT_EQ(RunProgram({CHAOSPLOT_ICON_TOOL, "icon.png"}, "").exitStatus, 2);
    EXPECT_EQ(RunProgram({CHAOSPLOT_ICON_TOOL, "icon.png", "0"}, "").exitStatus, 2);
}

TEST(DrawIcon, ReportsAFileItCannotWrite) {
    const ProgramRun run = RunProgram({CHAOSPLOT_ICON_TOOL, "/nonexistent/icon.png", "16"}, "");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.err.find("/nonexistent/icon.png"), std::string::npos);
}

}  // namespace
