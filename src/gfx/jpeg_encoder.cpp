// libjpeg reports errors through a callback that must not return; it jumps back here.
#include "gfx/jpeg_encoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace orv {

namespace {

struct EncodeErrors {
    jpeg_error_mgr Errors; // first, so that its address is the whole state's
    std::jmp_buf Jump;
};

[[noreturn]] void EncodeErrorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<EncodeErrors*>(cinfo->err)->Jump, 1);
}

void Silent(j_common_ptr) {}

} // namespace

Bytes EncodeJpegPicture(const Surface& picture, int quality) {
    if (picture.Empty()) {
        return {};
    }
    jpeg_compress_struct cinfo{};
    EncodeErrors errors;
    cinfo.err = jpeg_std_error(&errors.Errors);
    errors.Errors.error_exit = EncodeErrorExit;
    errors.Errors.output_message = Silent;
    // Set by the library as the stream grows and when it ends; only a finished stream's
    // buffer is taken (an encoder failure is a fault of the caller, not of data).
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    Bytes result;
    if (setjmp(errors.Jump) == 0) {
        jpeg_create_compress(&cinfo);
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = static_cast<JDIMENSION>(picture.Width());
        cinfo.image_height = static_cast<JDIMENSION>(picture.Height());
        cinfo.input_components = 3;
#ifdef JCS_EXTENSIONS
        cinfo.in_color_space = JCS_EXT_BGR;
#else
        cinfo.in_color_space = JCS_RGB;
#endif
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, std::clamp(quality, 1, 100), TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        Bytes row(static_cast<size_t>(picture.RowBytes()));
        while (cinfo.next_scanline < cinfo.image_height) {
            const uint8_t* source = picture.Row(static_cast<int>(cinfo.next_scanline));
            std::copy(source, source + row.size(), row.begin());
#ifndef JCS_EXTENSIONS
            for (size_t x = 0; x + 2 < row.size(); x += 3) {
                std::swap(row[x], row[x + 2]);
            }
#endif
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        result.assign(buffer, buffer + size);
        std::free(buffer);
    }
    jpeg_destroy_compress(&cinfo);
    return result;
}

} // namespace orv
