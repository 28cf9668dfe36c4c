// JPEG decoding. libjpeg reports fatal errors through a callback that must not return, so
// the callback jumps back into DecodeJpegPicture, which keeps whatever rows were produced.
#include "gfx/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace orv {

namespace {

// A damaged progressive stream can announce any number of scans, each a pass over the whole
// picture; no real picture needs more than a few dozen.
constexpr int kMaxScans = 200;

struct DecodeState {
    jpeg_error_mgr Errors;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    Surface* Target = nullptr;
    uint64_t MaxPixels = 0;
    volatile int Rows = 0;       // rows of the target written by the decoder
    volatile bool Sized = false; // the target has the decoder's size
    volatile bool HeaderRead = false;
    volatile bool Warned = false;
};

DecodeState& StateOf(j_common_ptr cinfo) {
    // The error manager is the first member, so its address is the state's.
    return *reinterpret_cast<DecodeState*>(cinfo->err);
}

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    std::longjmp(StateOf(cinfo).Jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
    // Level -1 is a warning about corrupt data; the others are traces.
    if (level < 0) {
        StateOf(cinfo).Warned = true;
    }
}

void OutputMessage(j_common_ptr) {}

void CheckProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        ErrorExit(cinfo);
    }
}

// Sizes the target to the picture and zeroes it.
void SizeTarget(DecodeState& state, int width, int height) {
    state.Target->SetSize(width, height);
    for (int y = 0; y < state.Target->Height(); ++y) {
        std::memset(state.Target->Row(y), 0, static_cast<size_t>(state.Target->RowBytes()));
    }
    state.Sized = true;
}

// Swaps red and blue when the library cannot write blue, green, red itself.
[[maybe_unused]] void RgbToBgr(uint8_t* row, int width) {
    for (int x = 0; x < width; ++x, row += 3) {
        uint8_t red = row[0];
        row[0] = row[2];
        row[2] = red;
    }
}

// 1 when the picture was refused for its size, 0 otherwise; fatal errors jump out.
int Run(jpeg_decompress_struct& cinfo, DecodeState& state, ByteSpan data) {
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    state.HeaderRead = true;
    if (uint64_t{cinfo.image_width} * cinfo.image_height > state.MaxPixels) {
        return 1;
    }
#ifdef JCS_EXTENSIONS
    cinfo.out_color_space = JCS_EXT_BGR;
#else
    cinfo.out_color_space = JCS_RGB;
#endif
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    SizeTarget(state, static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = state.Target->Row(static_cast<int>(cinfo.output_scanline));
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            ErrorExit(reinterpret_cast<j_common_ptr>(&cinfo));
        }
#ifndef JCS_EXTENSIONS
        RgbToBgr(row, state.Target->Width());
#endif
        state.Rows = static_cast<int>(cinfo.output_scanline);
    }
    jpeg_finish_decompress(&cinfo);
    return 0;
}

} // namespace

JpegStatus DecodeJpegPicture(ByteSpan data, Surface& target, uint64_t maxPixels) {
    jpeg_decompress_struct cinfo{}; // zeroed: the jump may come before the library set it up
    DecodeState state;
    state.Target = &target;
    state.MaxPixels = maxPixels;
    cinfo.err = jpeg_std_error(&state.Errors);
    state.Errors.error_exit = ErrorExit;
    state.Errors.emit_message = EmitMessage;
    state.Errors.output_message = OutputMessage;
    state.Progress = {};
    state.Progress.progress_monitor = CheckProgress;
    if (setjmp(state.Jump) != 0) {
        // The decoder gave up. The target takes the size it reported: the header's when the
        // whole header was read (a stream cut inside it has the library make up the rest),
        // else nothing.
        if (!state.Sized) {
            uint64_t pixels = uint64_t{cinfo.image_width} * cinfo.image_height;
            bool known = state.HeaderRead && pixels > 0 && pixels <= maxPixels;
            SizeTarget(state, known ? static_cast<int>(cinfo.image_width) : 0,
                       known ? static_cast<int>(cinfo.image_height) : 0);
        }
        jpeg_destroy_decompress(&cinfo);
        return JpegStatus::Damaged;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &state.Progress;
    int refused = Run(cinfo, state, data);
    jpeg_destroy_decompress(&cinfo);
    if (refused) {
        return JpegStatus::Refused;
    }
    return state.Warned ? JpegStatus::Damaged : JpegStatus::Complete;
}

} // namespace orv
