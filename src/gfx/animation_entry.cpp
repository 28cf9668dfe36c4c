#include "gfx/animation_entry.h"

namespace orv {

namespace {

int32_t LoadS32(const uint8_t* p) {
    return static_cast<int32_t>(LoadU32(p));
}

bool Inside(uint64_t offset, uint64_t size, uint64_t entrySize) {
    return offset <= entrySize && size <= entrySize - offset;
}

} // namespace

uint64_t AnimationTablesEnd(ByteSpan header, uint64_t entrySize) {
    if (header.size() < kAnimationHeaderSize) {
        return 0;
    }
    int32_t count = LoadS32(header.data());
    if (count <= 0 || count > kMaxAnimationFrames) {
        return 0;
    }
    uint64_t end = kAnimationHeaderSize + kAnimationFrameRecordSize * static_cast<uint64_t>(count);
    return end <= entrySize ? end : 0;
}

bool ParseAnimationEntry(ByteSpan head, uint64_t entrySize, AnimationEntry& out) {
    out = AnimationEntry{};
    uint64_t end = AnimationTablesEnd(head, entrySize);
    if (end == 0 || end > head.size()) {
        return false;
    }
    const uint8_t* p = head.data();
    auto count = static_cast<size_t>(LoadS32(p));
    out.FrameTime = LoadS32(p + 4) > 0 ? LoadS32(p + 4) : 1;
    out.Width = LoadS32(p + 8);
    out.Height = LoadS32(p + 12);
    uint32_t soundSize = LoadU32(p + 16), soundOffset = LoadU32(p + 20);
    if (soundSize != 0 && Inside(soundOffset, soundSize, entrySize)) {
        out.SoundSize = soundSize;
        out.SoundOffset = soundOffset;
    }
    out.Frames.resize(count);
    const uint8_t* kinds = p + kAnimationHeaderSize;
    const uint8_t* xs = kinds + 2 * count;
    const uint8_t* ys = kinds + 4 * count;
    const uint8_t* offsets = kinds + 6 * count;
    const uint8_t* sizes = kinds + 10 * count;
    for (size_t i = 0; i < count; ++i) {
        AnimationFrame& frame = out.Frames[i];
        frame.Kind = LoadU16(kinds + 2 * i);
        frame.X = static_cast<int16_t>(LoadU16(xs + 2 * i));
        frame.Y = static_cast<int16_t>(LoadU16(ys + 2 * i));
        frame.Offset = LoadU32(offsets + 4 * i);
        frame.Size = LoadU32(sizes + 4 * i);
        frame.Inside = Inside(frame.Offset, frame.Size, entrySize);
    }
    return true;
}

Bytes BuildAnimationEntry(int32_t frameTime, int32_t width, int32_t height,
                          const std::vector<AnimationFrameInput>& frames, ByteSpan sound) {
    Bytes out;
    auto count = static_cast<uint32_t>(frames.size());
    uint64_t data = kAnimationHeaderSize + kAnimationFrameRecordSize * count;
    uint64_t soundOffset = data;
    for (const AnimationFrameInput& frame : frames) {
        soundOffset += frame.Data.size();
    }
    AppendU32(out, count);
    AppendU32(out, static_cast<uint32_t>(frameTime));
    AppendU32(out, static_cast<uint32_t>(width));
    AppendU32(out, static_cast<uint32_t>(height));
    AppendU32(out, static_cast<uint32_t>(sound.size()));
    AppendU32(out, sound.empty() ? 0 : static_cast<uint32_t>(soundOffset));
    for (const AnimationFrameInput& frame : frames) {
        AppendU16(out, frame.Kind);
    }
    for (const AnimationFrameInput& frame : frames) {
        AppendU16(out, static_cast<uint16_t>(frame.X));
    }
    for (const AnimationFrameInput& frame : frames) {
        AppendU16(out, static_cast<uint16_t>(frame.Y));
    }
    uint64_t offset = data;
    for (const AnimationFrameInput& frame : frames) {
        AppendU32(out, static_cast<uint32_t>(offset));
        offset += frame.Data.size();
    }
    for (const AnimationFrameInput& frame : frames) {
        AppendU32(out, static_cast<uint32_t>(frame.Data.size()));
    }
    for (const AnimationFrameInput& frame : frames) {
        out.insert(out.end(), frame.Data.begin(), frame.Data.end());
    }
    out.insert(out.end(), sound.begin(), sound.end());
    return out;
}

} // namespace orv
