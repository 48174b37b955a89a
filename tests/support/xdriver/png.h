// RGB pictures and their PNG files: what a capture of a window gives, and what xdrive and the tests keep of it.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace xdrive {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
// "(r, g, b)": test messages and GoogleTest's printer show a colour this way.
std::ostream& operator<<(std::ostream& out, const Rgb& colour);

// An RGB picture, 3 bytes a pixel, rows top to bottom.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    // Colour at (x, y); black outside the picture.
    Rgb pixel(int x, int y) const;
};

// Writes / reads an 8-bit RGB PNG file; false with the reason in *error (when given) on any failure.
bool writePng(const Image& image, const std::string& path, std::string* error = nullptr);
bool readPng(const std::string& path, Image& image, std::string* error = nullptr);

}  // namespace xdrive
