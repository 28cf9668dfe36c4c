// The stream codec's decoder: music block by block, and animation sounds whole.
#include "sound/wady.h"
#include "sound/wady_codes.h"

#include <algorithm>

namespace orv {

void StreamDecoder::Start(const WadyHeader& header) {
    m_channels = header.Channels == 2 ? 2 : 1;
    m_running[0] = m_running[1] = 0;
    m_next = 0;
    int32_t scale = header.Scale;
    for (int b = 0; b < 256; ++b) {
        auto i = static_cast<size_t>(b);
        if (b >= 0x80) {
            m_keep[i] = 0;
            m_add[i] = static_cast<uint16_t>(b << 9);
        } else {
            m_keep[i] = 0xFFFF;
            m_add[i] = static_cast<uint16_t>(wady::DeltaTable1[i] * scale);
        }
    }
}

template <bool Silent>
size_t StreamDecoder::DecodeInto(std::span<const uint8_t> coded, std::span<int16_t> out) {
    size_t count = std::min(coded.size(), out.size());
    const uint8_t* in = coded.data();
    int16_t* to = out.data();
    auto step = [this](uint16_t running, uint8_t b) {
        return static_cast<uint16_t>((running & m_keep[b]) + m_add[b]);
    };
    auto put = [](uint16_t running) { return Silent ? int16_t{0} : static_cast<int16_t>(running); };
    if (m_channels == 1) {
        uint16_t running = m_running[0];
        for (size_t i = 0; i < count; ++i) {
            running = step(running, in[i]);
            to[i] = put(running);
        }
        m_running[0] = running;
        return count;
    }
    // Stereo in pairs, after a right byte left over from the previous call.
    uint16_t left = m_running[0];
    uint16_t right = m_running[1];
    size_t i = 0;
    if (m_next == 1 && count > 0) {
        right = step(right, in[0]);
        to[0] = put(right);
        i = 1;
    }
    for (; i + 1 < count; i += 2) {
        left = step(left, in[i]);
        right = step(right, in[i + 1]);
        to[i] = put(left);
        to[i + 1] = put(right);
    }
    size_t next = (m_next + count) & 1;
    if (i < count) {
        left = step(left, in[i]);
        to[i] = put(left);
    }
    m_running[0] = left;
    m_running[1] = right;
    m_next = next;
    return count;
}

size_t StreamDecoder::Decode(std::span<const uint8_t> coded, std::span<int16_t> out,
                             bool silent) {
    return silent ? DecodeInto<true>(coded, out) : DecodeInto<false>(coded, out);
}

void StreamDecoder::SetRunning(int16_t left, int16_t right) {
    m_running[0] = static_cast<uint16_t>(left);
    m_running[1] = static_cast<uint16_t>(right);
}

int16_t StreamDecoder::Running(int channel) const {
    return static_cast<int16_t>(m_running[channel == 1 ? 1 : 0]);
}

bool DecodeStreamSound(std::span<const uint8_t> entry, PcmClip& out) {
    auto header = ParseWadyHeader(entry);
    // Frames per block do not matter to a sound decoded whole, but the interleaving does.
    if (!header || header->Channels != header->FormatChannels) {
        return false;
    }
    size_t channels = header->Channels;
    std::span<const uint8_t> coded = entry.subspan(kWadyHeaderSize);
    uint64_t frames = std::min<uint64_t>(header->Frames, coded.size() / channels);
    frames = std::min<uint64_t>(frames,
                                std::min(header->PcmBytes, kWadyMaxPcmBytes) / (2 * channels));
    if (frames == 0) {
        return false;
    }
    size_t samples = static_cast<size_t>(frames) * channels;
    out.Channels = static_cast<int32_t>(channels);
    out.Rate = header->Rate;
    out.Samples.resize(samples);
    StreamDecoder decoder;
    decoder.Start(*header);
    decoder.Decode(coded.first(samples), out.Samples, false);
    return true;
}

} // namespace orv
