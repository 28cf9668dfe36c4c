#pragma once
// Picture loading by name: the JPEG archive first, then the GRA slots 2, 1, 0; the name forms
// of the layer commands (solid colours, composite backgrounds); the background load that
// the gallery watches.

#include "base/bytes.h"
#include "data/archives.h"
#include "gfx/gra_decoder.h"
#include "gfx/surface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// What other subsystems do when a background is loaded. The default does nothing, so that
// pictures load before, and without, the subsystems that fill it in.
struct PictureHooks {
    virtual ~PictureHooks() = default;
    // Every LoadBackground, before the picture is loaded, with the upper-cased name: the
    // gallery sets the seen mark of a picture of its list.
    virtual void BackgroundLoading(std::string_view /*upperName*/) {}
};

PictureHooks& NoPictureHooks();

// One colour digit of a solid-colour name: '0'..'9' give 0, 16, .. 144; 'a'..'f' and
// 'A'..'F' give 160 .. 240; 'g' and 'G' give 255; anything else 0.
uint8_t ColourDigit(char digit);

// The colour (0xBBGGRR) of a solid-colour name: its 2nd, 3rd and 4th characters are the
// red, green and blue digits (a missing one counts as 0).
uint32_t SolidColour(std::string_view name);

// A composite definition keeps at most this many element lines after its label.
constexpr int kMaxCompositeLines = 8;

class Pictures {
public:
    explicit Pictures(const Archives& archives, PictureHooks& hooks = NoPictureHooks());
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    void SetHooks(PictureHooks& hooks) { m_hooks = &hooks; }

    // Fills `target` with the named picture at the picture's own size. False when no index
    // holds the name, or its entry cannot be read: `target` is then untouched. A damaged
    // entry still loads (what could be decoded of it) and is reported on the diagnostic
    // output.
    bool LoadPicture(std::string_view name, Surface& target);

    // The same lookup without decoding.
    bool PictureExists(std::string_view name) const;

    // Honours the S (solid colour: the target keeps its size) and # (composite from
    // BgSetLines) forms, else loads the picture. 0 on success; 1 when a plain picture or a
    // composite's label is not found (the target is then untouched).
    int LoadLayerPicture(std::string_view name, Surface& target);

    // Tells the hooks, then LoadLayerPicture of `name` into `background`.
    int LoadBackground(std::string_view name, Surface& background);

    const Archives& ArchiveSet() const { return m_archives; }

    // Upper-cased lines of `_bgset` and `_sprset` (picture_sets.h reads them at start-up).
    std::vector<std::string> BgSetLines;
    std::vector<std::string> SprSetLines;

private:
    struct Location {
        const ArchiveIndex* Index = nullptr;
        int Position = -1;
        bool Jpeg = false;
    };
    std::optional<Location> Find(std::string_view name) const;
    bool LoadGra(const Location& where, std::string_view name, Surface& target);
    bool LoadJpeg(const Location& where, std::string_view name, Surface& target);
    int LoadComposite(std::string_view name, Surface& target);

    const Archives& m_archives;
    PictureHooks* m_hooks;
    GraDecoder m_gra;
    // The bytes of the entry being decoded; kept so that loads reuse its allocation, and
    // emptied before and after each load.
    Bytes m_entry;
    // Receives each overlay of a composite before it is blended.
    Surface m_overlay;
};

} // namespace orv
