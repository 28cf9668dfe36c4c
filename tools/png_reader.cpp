#include "png_reader.h"

#include "base/files.h"
#include "gfx/gra_decoder.h"

#include <cstring>
#include <png.h>
#include <vector>

namespace orv::tool {

bool ReadPng(const std::filesystem::path& path, PngPicture& out, std::string& error) {
    auto bytes = ReadWholeFile(path);
    if (!bytes || !IsRegularFile(path)) {
        error = "cannot read " + path.string();
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes->data(), bytes->size())) {
        error = path.string() + ": not a readable PNG (" + image.message + ")";
        return false;
    }
    if (uint64_t{image.width} * image.height > kMaxPicturePixels || image.width > 0xFFFF ||
        image.height > 0xFFFF) {
        png_image_free(&image);
        error = path.string() + ": picture too large";
        return false;
    }
    bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    const size_t channels = alpha ? 4 : 3;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        error = path.string() + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    const int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    out.Colour.Allocate(w, h);
    out.Alpha = Surface();
    if (alpha) {
        out.Alpha.Allocate(w, h);
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = pixels.data() + static_cast<size_t>(y) * w * channels;
        uint8_t* colour = out.Colour.Row(y);
        for (int x = 0; x < w; ++x, in += channels, colour += 3) {
            std::memcpy(colour, in, 3);
        }
        if (alpha) {
            uint8_t* mask = out.Alpha.Row(y);
            in = pixels.data() + static_cast<size_t>(y) * w * channels;
            for (int x = 0; x < w; ++x, in += 4, mask += 3) {
                std::memset(mask, in[3], 3);
            }
        }
    }
    return true;
}

} // namespace orv::tool
