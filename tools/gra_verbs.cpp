// gra decode / encode / info: GRA pictures to and from PNG files.
#include "base/files.h"
#include "gfx/gra_decoder.h"
#include "gfx/gra_encoder.h"
#include "gfx/gra_format.h"
#include "headless/png_writer.h"
#include "png_reader.h"
#include "tool_common.h"
#include "verbs.h"

#include <cstdio>
#include <string>

namespace orv::tool {

namespace {

constexpr std::string_view kGraUsage =
    "Usage: orvtool gra decode IN OUT.png\n"
    "       orvtool gra encode [--rle] [--delta] [--fast] [--mask side|stacked] IN.png OUT\n"
    "       orvtool gra info IN\n"
    "\n"
    "decode: a GRA picture (an entry extracted from ov_gra*.orv) to a 24-bit PNG. A damaged\n"
    "  picture is written as far as it could be decoded, and the exit status is 1.\n"
    "encode: a PNG (any colour type) to a GRA picture.\n"
    "  --rle     add the run-length stage (pictures with long runs of one colour)\n"
    "  --delta   add the delta stage (smooth and photographic pictures pack better)\n"
    "  --fast    take only matches that save several bytes: larger, but decodes faster\n"
    "  --mask side|stacked\n"
    "            write the PNG's alpha channel as the picture's mask: to the right of the\n"
    "            colour (character pictures, composite overlays, effect sprites) or below it\n"
    "            (window parts, buttons); without it the alpha channel is dropped\n"
    "info: the header of a GRA picture and whether it decodes cleanly.\n";

const char* StatusText(GraStatus status) {
    switch (status) {
    case GraStatus::Complete:
        return "complete";
    case GraStatus::Damaged:
        return "damaged: the data ends early or breaks a rule";
    case GraStatus::Refused:
        return "refused: no header, or a picture too large";
    }
    return "";
}

int Decode(const std::string& in, const std::string& out) {
    auto entry = ReadInput(in);
    if (!entry) {
        return kExitDataError;
    }
    Surface picture;
    GraStatus status = DecodeGraPicture(*entry, picture);
    if (status == GraStatus::Refused) {
        PrintError(in + ": " + StatusText(status));
        return kExitDataError;
    }
    if (picture.Empty()) {
        PrintError(in + ": the picture has no pixels; a PNG cannot hold it");
        return kExitDataError;
    }
    if (std::string error = WritePng(out, picture); !error.empty()) {
        PrintError(error);
        return kExitDataError;
    }
    if (status == GraStatus::Damaged) {
        PrintWarning(in + ": damaged; wrote the part that could be decoded");
        return kExitDataError;
    }
    return kExitOk;
}

// The colour with its mask beside it or below it.
Surface WithMask(const PngPicture& png, bool side) {
    const Surface& colour = png.Colour;
    int w = colour.Width(), h = colour.Height();
    Surface out(side ? w * 2 : w, side ? h : h * 2);
    out.CopyFrom(colour, {0, 0, w, h}, 0, 0);
    if (png.Alpha.Empty()) {
        Surface opaque(w, h);
        opaque.Fill(0xFFFFFF);
        out.CopyFrom(opaque, {0, 0, w, h}, side ? w : 0, side ? 0 : h);
    } else {
        out.CopyFrom(png.Alpha, {0, 0, w, h}, side ? w : 0, side ? 0 : h);
    }
    return out;
}

int Encode(const std::string& in, const std::string& out, const Arguments& arguments) {
    std::optional<std::string> mask = arguments.Value("mask");
    if (mask && *mask != "side" && *mask != "stacked") {
        return UsageError("gra ", "--mask takes side or stacked, not '" + *mask + "'");
    }
    PngPicture png;
    std::string error;
    if (!ReadPng(in, png, error)) {
        PrintError(error);
        return kExitDataError;
    }
    if (!mask && !png.Alpha.Empty()) {
        PrintWarning(in + ": the alpha channel is dropped (--mask side|stacked keeps it)");
    }
    if (mask && png.Alpha.Empty()) {
        PrintWarning(in + ": no alpha channel; the mask is fully opaque");
    }
    Surface picture = mask ? WithMask(png, *mask == "side") : std::move(png.Colour);
    GraEncodeOptions options;
    options.RunLength = arguments.Has("rle");
    options.Delta = arguments.Has("delta");
    if (arguments.Has("fast")) {
        options.TokenPenaltyBits = kGraFastPenalty;
    }
    auto entry = EncodeGraPicture(picture, options);
    if (!entry) {
        PrintError(in + ": a GRA picture is at most 65535 pixels wide and high");
        return kExitDataError;
    }
    if (std::string problem = WriteFileAtomic(out, *entry); !problem.empty()) {
        PrintError(problem);
        return kExitDataError;
    }
    std::printf(
        "%s: %d x %d, %zu bytes (%.1f%% of %zu)\n", out.c_str(), picture.Width(), picture.Height(),
        entry->size(),
        100.0 * static_cast<double>(entry->size()) /
            static_cast<double>(std::max<size_t>(1, size_t(picture.RowBytes()) * picture.Height())),
        static_cast<size_t>(picture.RowBytes()) * picture.Height());
    return kExitOk;
}

int Info(const std::string& in) {
    auto entry = ReadInput(in);
    if (!entry) {
        return kExitDataError;
    }
    auto header = ParseGraHeader(*entry);
    if (!header) {
        PrintError(in + ": shorter than a GRA header (16 bytes)");
        return kExitDataError;
    }
    std::printf("%s: GRA picture %u x %u, %u bytes a pixel\n", in.c_str(), header->Width,
                header->Height, header->BytesPerPixel);
    std::printf("  flags 0x%02X:%s%s%s\n", header->Flags, header->RunLength() ? " run-length" : "",
                header->Delta() ? " delta" : "",
                header->RunLength() || header->Delta() ? "" : " LZ only");
    std::printf("  coded data %u bytes (%zu in the file after the header)\n", header->CodedLength,
                entry->size() - kGraHeaderSize);
    if (header->RunLength()) {
        std::printf("  LZ output %u bytes\n", header->LzLength);
    }
    std::printf("  raw size %llu bytes\n", static_cast<unsigned long long>(header->RawSize()));
    Surface picture;
    GraStatus status = DecodeGraPicture(*entry, picture);
    std::printf("  decoding: %s\n", StatusText(status));
    return status == GraStatus::Complete ? kExitOk : kExitDataError;
}

} // namespace

int RunGra(std::span<char* const> args) {
    static constexpr OptionSpec kEncodeSpecs[] = {
        {"rle", 0, false}, {"delta", 0, false}, {"fast", 0, false}, {"mask", 0, true}};
    static constexpr Action kActions[] = {{"decode", {}, 2, "IN and OUT"},
                                          {"encode", kEncodeSpecs, 2, "IN and OUT"},
                                          {"info", {}, 1, "IN"}};
    Arguments arguments;
    int status = kExitOk;
    std::optional<size_t> action = ParseAction(args, "gra", kActions, kGraUsage, arguments, status);
    if (!action) {
        return status;
    }
    const auto& files = arguments.Positional();
    switch (*action) {
    case 0:
        return Decode(files[0], files[1]);
    case 1:
        return Encode(files[0], files[1], arguments);
    default:
        return Info(files[0]);
    }
}

} // namespace orv::tool
