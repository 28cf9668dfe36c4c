// Decoding a full-screen photo-like picture: GRA with each combination of stages, against
// libjpeg-turbo on the same picture at quality 90, and against a plain copy of its bytes.
#include "gfx/gra_decoder.h"
#include "gfx/gra_encoder.h"
#include "gfx/jpeg_decoder.h"
#include "picture_samples.h"

#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

using orv::Bytes;
using orv::Surface;

// Picture 0 is photo-like (gradients and noise), picture 1 a drawn background.
const Surface& Sample(int picture) {
    static const Surface photo = orv::bench::PhotoLike();
    static const Surface drawn = orv::bench::IllustrationLike();
    return picture == 0 ? photo : drawn;
}

// The GRA entry of a sample: `stages` bit 0 the run-length stage, bit 1 the delta stage;
// `fast` the encoder's speed-minded setting.
const Bytes& GraEntry(int picture, int stages, bool fast) {
    static std::vector<Bytes> entries(16);
    Bytes& entry = entries[static_cast<size_t>(picture * 8 + stages * 2 + (fast ? 1 : 0))];
    if (entry.empty()) {
        orv::GraEncodeOptions options;
        options.RunLength = (stages & 1) != 0;
        options.Delta = (stages & 2) != 0;
        options.TokenPenaltyBits = fast ? orv::kGraFastPenalty : orv::kGraBalancedPenalty;
        entry = *orv::EncodeGraPicture(Sample(picture), options);
    }
    return entry;
}

const Bytes& JpegEntry(int picture) {
    static std::vector<Bytes> entries(2);
    Bytes& entry = entries[static_cast<size_t>(picture)];
    if (entry.empty()) {
        entry = [&] {
            const Surface& photo = Sample(picture);
            jpeg_compress_struct c;
            jpeg_error_mgr errors;
            c.err = jpeg_std_error(&errors);
            jpeg_create_compress(&c);
            unsigned char* out = nullptr;
            unsigned long size = 0;
            jpeg_mem_dest(&c, &out, &size);
            c.image_width = static_cast<JDIMENSION>(photo.Width());
            c.image_height = static_cast<JDIMENSION>(photo.Height());
            c.input_components = 3;
            c.in_color_space = JCS_EXT_BGR;
            jpeg_set_defaults(&c);
            jpeg_set_quality(&c, 90, TRUE);
            jpeg_start_compress(&c, TRUE);
            while (c.next_scanline < c.image_height) {
                auto row = const_cast<JSAMPROW>(photo.Row(static_cast<int>(c.next_scanline)));
                jpeg_write_scanlines(&c, &row, 1);
            }
            jpeg_finish_compress(&c);
            Bytes bytes(out, out + size);
            jpeg_destroy_compress(&c);
            std::free(out);
            return bytes;
        }();
    }
    return entry;
}

constexpr int64_t kRawBytes = int64_t{orv::kScreenWidth} * orv::kScreenHeight * 3;

void BM_GraDecode(benchmark::State& state) {
    const Bytes& entry = GraEntry(static_cast<int>(state.range(0)),
                                  static_cast<int>(state.range(1)), state.range(2) != 0);
    orv::GraDecoder decoder;
    Surface target;
    for (auto _ : state) {
        benchmark::DoNotOptimize(decoder.Decode(entry, target));
        benchmark::ClobberMemory();
    }
    state.counters["entry_bytes"] = static_cast<double>(entry.size());
    state.SetBytesProcessed(state.iterations() * kRawBytes);
}
// picture: 0 photo-like, 1 drawn; stages: 0 LZ only, 1 runs, 2 delta, 3 runs and delta;
// fast: the encoder's speed-minded setting.
BENCHMARK(BM_GraDecode)
    ->ArgNames({"picture", "stages", "fast"})
    ->ArgsProduct({{0, 1}, {0, 1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_JpegDecode(benchmark::State& state) {
    const Bytes& entry = JpegEntry(static_cast<int>(state.range(0)));
    Surface target;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::DecodeJpegPicture(entry, target));
        benchmark::ClobberMemory();
    }
    state.counters["entry_bytes"] = static_cast<double>(entry.size());
    state.SetBytesProcessed(state.iterations() * kRawBytes);
}
BENCHMARK(BM_JpegDecode)->ArgName("picture")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RawCopy(benchmark::State& state) {
    const Surface& photo = Sample(0);
    Bytes raw(photo.Data(), photo.Data() + kRawBytes);
    Surface target(orv::kScreenWidth, orv::kScreenHeight);
    for (auto _ : state) {
        std::memcpy(target.Data(), raw.data(), raw.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kRawBytes);
}
BENCHMARK(BM_RawCopy)->Unit(benchmark::kMicrosecond);

void BM_GraEncode(benchmark::State& state) {
    orv::GraEncodeOptions options;
    options.RunLength = true;
    options.Delta = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(orv::EncodeGraPicture(Sample(0), options));
    }
    state.SetBytesProcessed(state.iterations() * kRawBytes);
}
BENCHMARK(BM_GraEncode)->Unit(benchmark::kMillisecond);

} // namespace
