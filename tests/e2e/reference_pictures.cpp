// reference_pictures: see reference_pictures.h.

#include "tests/e2e/reference_pictures.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/run_program.h"

namespace {

Picture ReadPicture(const std::string& path) {
    Picture picture;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return picture;
    int32_t size[2];
    if (std::fread(size, sizeof size, 1, file) == 1) {
        picture.width = size[0];
        picture.height = size[1];
        picture.pixels.resize(static_cast<size_t>(size[0]) * size[1]);
        if (std::fread(picture.pixels.data(), 4, picture.pixels.size(), file) !=
            picture.pixels.size()) {
            picture = {};
        }
    }
    std::fclose(file);
    return picture;
}

}  // namespace

std::vector<Picture> ReferencePictures(const std::string& answers, int width, int height) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() /
                                            ("chaosplot-reference-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    const ProgramRun reference =
        RunProgram({REFERENCE_PLOTTER, directory.string(), std::to_string(width),
                    std::to_string(height), std::to_string(width), std::to_string(height)},
                   answers);
    std::vector<Picture> pictures;
    if (reference.exitStatus == 0) {
        for (int n = 1;; ++n) {
            Picture picture =
                ReadPicture((directory / ("window-" + std::to_string(n) + ".pixels")).string());
            if (picture.pixels.empty()) break;
            pictures.push_back(std::move(picture));
        }
    }
    std::filesystem::remove_all(directory);
    return pictures;
}

