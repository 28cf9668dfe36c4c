#pragma once
// PNG files read for the tools through libpng: any colour type and depth, as 8-bit blue,
// green, red (and alpha when the file has any transparency).

#include "gfx/surface.h"

#include <filesystem>
#include <string>

namespace orv::tool {

struct PngPicture {
    Surface Colour;
    Surface Alpha; // same size, alpha in all three bytes; empty when the file has none
};

// False with a reason in `error` when the file cannot be read or is not a PNG, or the
// picture is larger than the engine can hold.
bool ReadPng(const std::filesystem::path& path, PngPicture& out, std::string& error);

} // namespace orv::tool
