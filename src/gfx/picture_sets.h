#pragma once
// The start-up tables of pictures: `_bgset` (composite backgrounds, read into
// Pictures::BgSetLines) and `_sprset` (composite characters, into Pictures::SprSetLines).

#include "gfx/pictures.h"
#include "gfx/surface.h"
#include "script/script_state.h"

#include <filesystem>

namespace orv {

// Reads `_bgset` through the definition buffer: its lines upper-cased, without empty lines
// and `;` comments, up to and including `:END`. A line `$DEBUG_OUT` is not kept but has every
// composite labelled after it drawn into `background` and written as a Windows bitmap into
// the folder BMP of `exportDirectory`, named after its label.
void LoadBgSet(ScriptState& script, Pictures& pictures, Surface& background,
               const std::filesystem::path& exportDirectory);

// Reads `_sprset`: its lines upper-cased, without empty lines and `;` comments, up to and
// including `:END`.
void LoadSprSet(ScriptState& script, Pictures& pictures);

// The file name a composite's label is exported under: the label without its colon, in
// UTF-8, with characters that cannot stand in a file name replaced, and ".bmp".
std::string BgSetExportName(std::string_view label);

} // namespace orv
