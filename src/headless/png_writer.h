#pragma once
// PNG files of surfaces: 24-bit RGB, no interlace, one zlib stream.

#include "base/bytes.h"
#include "gfx/surface.h"

#include <filesystem>
#include <string>

namespace orv {

// The whole PNG file of `surface` (empty for an empty surface).
Bytes EncodePng(const Surface& surface);

// Writes it to `path` through WriteFileAtomic; returns an error text, empty on success.
std::string WritePng(const std::filesystem::path& path, const Surface& surface);

} // namespace orv
