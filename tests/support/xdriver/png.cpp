#include "tests/support/xdriver/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace xdrive {

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << int(colour.r) << ", " << int(colour.g) << ", " << int(colour.b) << ")";
}

Rgb Image::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const size_t at = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

bool writePng(const Image& image, const std::string& path, std::string* error) {
    auto failWith = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (image.width <= 0 || image.height <= 0 ||
        image.rgb.size() != static_cast<size_t>(image.width) * image.height * 3)
        return failWith("writePng: empty or inconsistent image");
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return failWith("writePng: cannot create " + path + ": " + std::strerror(errno));
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return failWith("writePng: out of memory");
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return failWith("writePng: libpng failed writing " + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, image.rgb.data() + static_cast<size_t>(y) * image.width * 3);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) return failWith("writePng: cannot finish " + path + ": " + std::strerror(errno));
    return true;
}

bool readPng(const std::string& path, Image& image, std::string* error) {
    auto failWith = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    png_image reader;
    std::memset(&reader, 0, sizeof reader);
    reader.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&reader, path.c_str()))
        return failWith("readPng: " + path + ": " + reader.message);
    reader.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(reader));
    if (!png_image_finish_read(&reader, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&reader);
        return failWith("readPng: " + path + ": " + reader.message);
    }
    image.width = static_cast<int>(reader.width);
    image.height = static_cast<int>(reader.height);
    image.rgb = std::move(pixels);
    return true;
}

}  // namespace xdrive
