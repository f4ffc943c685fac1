// PNG files: what is written decodes to the same pixels, in the smallest fitting form, and a
// write that fails leaves nothing behind and replaces nothing.
#include "graph/window/picture/png_file.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "tests/graph/window/picture/png_decode.h"

namespace {

class PngFile : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/png-file-test-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        folder_ = folder;
    }
    void TearDown() override { std::system(("rm -rf " + folder_).c_str()); }
    std::string PathOf(const char* name) const { return folder_ + "/" + name; }
    std::string folder_;
};

// A width x height picture of `colours` distinct colours, in rows of `stride` pixels (the
// pixels past the width hold a colour of their own, which must not be written).
std::vector<uint32_t> RandomPicture(int32_t width, int32_t height, int32_t stride, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> palette;
    for (int c = 0; c < colours; ++c) palette.push_back(static_cast<uint32_t>(c) * 0x010307u & 0x00FFFFFF);
    std::vector<uint32_t> pixels(static_cast<size_t>(stride) * height, 0x00ABCDEF);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            // Every colour appears at least once; the top byte is the buffer's, never the picture's.
            const size_t at = static_cast<size_t>(y) * width + x;
            const uint32_t colour = at < palette.size() ? palette[at] : palette[random() % palette.size()];
            pixels[static_cast<size_t>(y) * stride + x] = colour | 0xFF000000u * (x & 1);
        }
    }
    return pixels;
}

TEST_F(PngFile, DecodesToTheSamePixelsInTheSmallestForm) {
    struct Case {
        int32_t width, height, stride;
        int colours;
        int colourType, bitDepth;
    };
    const Case cases[] = {
        {13, 7, 16, 2, PNG_COLOR_TYPE_PALETTE, 1},     {17, 5, 17, 4, PNG_COLOR_TYPE_PALETTE, 2},
        {640, 480, 640, 16, PNG_COLOR_TYPE_PALETTE, 4}, {301, 200, 320, 256, PNG_COLOR_TYPE_PALETTE, 8},
        {300, 20, 300, 257, PNG_COLOR_TYPE_RGB, 8},     {1, 1, 1, 1, PNG_COLOR_TYPE_PALETTE, 1},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels = RandomPicture(c.width, c.height, c.stride, c.colours, 42);
        const std::string path = PathOf("picture.png");
        std::string error;
        ASSERT_TRUE(WritePngFile(path, {pixels.data(), c.width, c.height, c.stride}, PngCreation::Replace, error))
            << error;
        DecodedPng decoded = DecodePng(path);
        ASSERT_EQ(decoded.width, c.width);
        ASSERT_EQ(decoded.height, c.height);
        EXPECT_EQ(decoded.colourType, c.colourType) << c.colours << " colours";
        EXPECT_EQ(decoded.bitDepth, c.bitDepth) << c.colours << " colours";
        for (int32_t y = 0; y < c.height; ++y) {
            for (int32_t x = 0; x < c.width; ++x) {
                ASSERT_EQ(decoded.pixels[static_cast<size_t>(y) * c.width + x],
                          pixels[static_cast<size_t>(y) * c.stride + x] & 0x00FFFFFF)
                    << c.colours << " colours at " << x << "," << y;
            }
        }
    }
}

TEST_F(PngFile, ExclusiveNeverOverwritesAndReplaceSwapsWholeFiles) {
    const std::string path = PathOf("kept.png");
    { std::ofstream(path) << "earlier picture"; }
    std::vector<uint32_t> pixels(4, 0x112233);
    std::string error;
    EXPECT_FALSE(WritePngFile(path, {pixels.data(), 2, 2, 2}, PngCreation::Exclusive, error));
    EXPECT_FALSE(error.empty());
    std::stringstream kept;
    kept << std::ifstream(path).rdbuf();
    EXPECT_EQ(kept.str(), "earlier picture");

    chmod(path.c_str(), 0640);
    ASSERT_TRUE(WritePngFile(path, {pixels.data(), 2, 2, 2}, PngCreation::Replace, error)) << error;
    EXPECT_EQ(DecodePng(path).pixels, std::vector<uint32_t>(4, 0x112233));
    EXPECT_EQ(std::system(("test $(ls " + folder_ + " | wc -l) -eq 1").c_str()), 0) << "no temporary file is left";
}

TEST_F(PngFile, FailuresSayWhyAndLeaveNothing) {
    std::vector<uint32_t> pixels(64 * 64, 0x445566);
    std::string error;
    EXPECT_FALSE(WritePngFile(PathOf("missing/picture.png"), {pixels.data(), 64, 64, 64}, PngCreation::Exclusive,
                              error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    // A full disk: the device stays as it was.
    error.clear();
    EXPECT_FALSE(WritePngFile("/dev/full", {pixels.data(), 64, 64, 64}, PngCreation::Replace, error));
    EXPECT_NE(error.find("No space"), std::string::npos) << error;
    struct stat status;
    ASSERT_EQ(stat("/dev/full", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
    EXPECT_FALSE(WritePngFile(PathOf("empty.png"), {pixels.data(), 0, 0, 0}, PngCreation::Exclusive, error));
    EXPECT_EQ(std::system(("test -z \"$(ls " + folder_ + ")\"").c_str()), 0);
}

TEST_F(PngFile, HostileNamesAreRefusedOrWrittenWithoutHarm) {
    std::vector<uint32_t> pixels(4, 0x778899);
    const std::string fifo = PathOf("fifo"), readOnly = PathOf("read-only.png"), dangling = PathOf("dangling.png");
    const std::string linked = PathOf("linked.png"), longName = PathOf(std::string(255, 'n').c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    { std::ofstream(readOnly) << "kept"; }
    chmod(readOnly.c_str(), 0444);
    ASSERT_EQ(symlink("nowhere.png", dangling.c_str()), 0);
    ASSERT_EQ(symlink("read-only.png", linked.c_str()), 0);
    const struct {
        std::string path;
        bool written;
    } cases[] = {{fifo, false}, {readOnly, false}, {dangling, false}, {linked, false}, {longName, true}};
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(WritePngFile(c.path, {pixels.data(), 2, 2, 2}, PngCreation::Replace, error), c.written)
            << c.path.size() << " " << error;
    }
    std::stringstream kept;
    kept << std::ifstream(readOnly).rdbuf();
    EXPECT_EQ(kept.str(), "kept");
    struct stat status;
    ASSERT_EQ(lstat(dangling.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(DecodePng(longName).pixels, pixels);
    // A link to a writable file replaces the file and keeps the link.
    chmod(readOnly.c_str(), 0644);
    std::string error;
    ASSERT_TRUE(WritePngFile(linked, {pixels.data(), 2, 2, 2}, PngCreation::Replace, error)) << error;
    ASSERT_EQ(lstat(linked.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(DecodePng(readOnly).pixels, pixels);
}

}  // namespace
