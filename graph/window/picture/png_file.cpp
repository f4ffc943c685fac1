#include "graph/window/picture/png_file.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The distinct colours of a picture, as long as there are at most 256 of them.
class PaletteBuilder {
public:
    // False once a 257th colour turns up.
    bool Add(uint32_t rgb) {
        uint32_t slot = Hash(rgb);
        while (used_[slot]) {
            if (keys_[slot] == rgb) return true;
            slot = (slot + 1) & (kSlots - 1);
        }
        if (colours_.size() == 256) return false;
        used_[slot] = true;
        keys_[slot] = rgb;
        indices_[slot] = static_cast<uint8_t>(colours_.size());
        colours_.push_back(rgb);
        return true;
    }
    uint8_t IndexOf(uint32_t rgb) const {
        uint32_t slot = Hash(rgb);
        while (keys_[slot] != rgb) slot = (slot + 1) & (kSlots - 1);
        return indices_[slot];
    }
    const std::vector<uint32_t>& colours() const { return colours_; }

private:
    static constexpr uint32_t kSlots = 1024;
    static uint32_t Hash(uint32_t rgb) { return (rgb * 2654435761u) >> 22; }
    bool used_[kSlots] = {};
    uint32_t keys_[kSlots] = {};
    uint8_t indices_[kSlots] = {};
    std::vector<uint32_t> colours_;
};

struct WriteFailure {
    std::string reason;
};

void OnPngError(png_structp png, png_const_charp message) {
    static_cast<WriteFailure*>(png_get_error_ptr(png))->reason = message;
    png_longjmp(png, 1);
}
void OnPngWarning(png_structp, png_const_charp) {}

// The process's file creation mask (umask can only be read by setting it).
mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

int BitDepthFor(size_t colours) {
    if (colours <= 2) return 1;
    if (colours <= 4) return 2;
    if (colours <= 16) return 4;
    return 8;
}

// What is written: the palette when the picture fits one, and the pixel depth.
struct PngPlan {
    const PngPicture* picture;
    bool fitsPalette;
    int bitDepth;
    PaletteBuilder palette;
    std::vector<png_color> entries;
};

void PlanFor(const PngPicture& picture, PngPlan& plan) {
    plan.picture = &picture;
    plan.fitsPalette = true;
    for (int32_t y = 0; y < picture.height && plan.fitsPalette; ++y) {
        const uint32_t* row = picture.pixels + static_cast<size_t>(y) * picture.stride;
        uint32_t last = ~row[0];
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint32_t rgb = row[x] & 0x00FFFFFF;
            if (rgb == last) continue;
            last = rgb;
            if (!plan.palette.Add(rgb)) {
                plan.fitsPalette = false;
                break;
            }
        }
    }
    if (plan.fitsPalette) {
        for (uint32_t rgb : plan.palette.colours()) {
            plan.entries.push_back(
                {static_cast<png_byte>(rgb >> 16), static_cast<png_byte>(rgb >> 8), static_cast<png_byte>(rgb)});
        }
    }
    plan.bitDepth = plan.fitsPalette ? BitDepthFor(plan.entries.size()) : 8;
}

// The whole encoding; libpng leaves it by longjmp on an error.
void WritePng(png_structp png, png_infop info, const PngPlan& plan) {
    const PngPicture& picture = *plan.picture;
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                 plan.bitDepth, plan.fitsPalette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (plan.fitsPalette) {
        png_set_PLTE(png, info, plan.entries.data(), static_cast<int>(plan.entries.size()));
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_write_info(png, info);
    std::vector<png_byte> line(static_cast<size_t>(picture.width) * (plan.fitsPalette ? 1 : 3));
    const int perByte = 8 / plan.bitDepth;
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint32_t* row = picture.pixels + static_cast<size_t>(y) * picture.stride;
        if (plan.fitsPalette) {
            std::fill(line.begin(), line.end(), 0);
            uint32_t last = ~row[0];
            uint8_t index = 0;
            for (int32_t x = 0; x < picture.width; ++x) {
                const uint32_t rgb = row[x] & 0x00FFFFFF;
                if (rgb != last) {
                    index = plan.palette.IndexOf(rgb);
                    last = rgb;
                }
                const int shift = 8 - plan.bitDepth * (x % perByte + 1);
                line[static_cast<size_t>(x / perByte)] |= static_cast<png_byte>(index << shift);
            }
        } else {
            for (int32_t x = 0; x < picture.width; ++x) {
                line[static_cast<size_t>(x) * 3] = static_cast<png_byte>(row[x] >> 16);
                line[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(row[x] >> 8);
                line[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(row[x]);
            }
        }
        png_write_row(png, line.data());
    }
    png_write_end(png, info);
}

// Only this frame holds libpng's jump buffer: nothing in it changes after setjmp.
bool WritePngGuarded(png_structp png, png_infop info, const PngPlan& plan) {
    if (setjmp(png_jmpbuf(png))) return false;
    WritePng(png, info, plan);
    return true;
}

// Encodes into an open stream; false with the reason on a libpng or stream error.
bool Encode(FILE* stream, const PngPicture& picture, std::string& error) {
    PngPlan plan;
    PlanFor(picture, plan);
    WriteFailure failure;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, OnPngError, OnPngWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    png_init_io(png, stream);
    const bool written = WritePngGuarded(png, info, plan);
    png_destroy_write_struct(&png, &info);
    if (!written) {
        // A failed write of the stream is told by its own reason (a full disk, ...).
        error = std::ferror(stream) ? std::strerror(errno) : failure.reason;
    }
    return written;
}

}  // namespace

namespace {

// Encodes into the descriptor and closes it; false with the reason on failure.
bool WriteTo(int fd, const PngPicture& picture, std::string& error) {
    FILE* stream = fdopen(fd, "wb");
    if (stream == nullptr) {
        error = std::strerror(errno);
        close(fd);
        return false;
    }
    bool written = Encode(stream, picture, error);
    // A full disk may show only when the last bytes go out.
    if (std::fflush(stream) != 0 || std::ferror(stream)) {
        if (written) error = std::strerror(errno);
        written = false;
    }
    if (std::fclose(stream) != 0 && written) {
        error = std::strerror(errno);
        written = false;
    }
    return written;
}

bool IsOtherThanRegularFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

// Renaming over a file needs only the folder's permission: a file nobody may write (or this
// process may not) is not replaced behind its owner's back, root or not.
bool IsReadOnlyFile(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return false;
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// The file a name stands for: a symbolic link's target, so that replacing the file keeps the
// link. A link to nothing is refused rather than replaced by a file.
bool ResolveLink(const std::string& path, std::string& target, std::string& error) {
    struct stat status;
    target = path;
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    target = resolved;
    std::free(resolved);
    return true;
}

// The template of the temporary file beside `path`, its last part shortened so that the added
// suffix keeps it within NAME_MAX.
std::string TemporaryTemplateFor(const std::string& path) {
    constexpr size_t kSuffix = 7;  // ".XXXXXX"
    const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    std::string temporary = path.substr(0, nameStart + std::min(path.size() - nameStart, size_t{NAME_MAX} - kSuffix));
    return temporary + ".XXXXXX";
}

}  // namespace

bool WritePngFile(const std::string& path, const PngPicture& picture, PngCreation creation, std::string& error) {
    if (picture.width <= 0 || picture.height <= 0) {
        error = "the picture is empty";
        return false;
    }
    if (creation == PngCreation::Exclusive) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (WriteTo(fd, picture, error)) return true;
        unlink(path.c_str());
        return false;
    }
    std::string target;
    if (!ResolveLink(path, target, error)) return false;
    if (IsOtherThanRegularFile(target)) {
        // A device or a pipe is written as it is; a pipe nobody reads is refused (ENXIO), not
        // waited on for ever.
        const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            error = std::strerror(errno);
            return false;
        }
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        return WriteTo(fd, picture, error);
    }
    if (IsReadOnlyFile(target)) {
        error = std::strerror(EACCES);
        return false;
    }
    // A file is replaced only once the new one is whole, so a failed write loses nothing.
    std::string temporary = TemporaryTemplateFor(target);
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    fchmod(fd, 0666 & ~CurrentUmask());
    if (!WriteTo(fd, picture, error)) {
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        error = std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
