#pragma once
// A saved game as a fixed buffer (SaveImage) and the stream that moves fields between it and
// the subsystems (SaveIo). Every subsystem with game state has one Exchange(SaveIo&) that
// serves both directions, so that saving and loading cannot drift apart:
//
//     void Dispatcher::Exchange(SaveIo& io) {
//         io.Int(save_layout::RecordOffset(save_layout::record::CallDepth), CallDepth);
//         io.Name(save_layout::name::ReturnScriptName, save_layout::name::kSize, ReturnScriptName);
//     }
//
// Writing takes the field into the image; reading gives it the image's bytes back. A saved
// game is outside data: every read is bounded by the field and by the image, and a text
// always ends with a NUL inside its field.

#include "base/zeroed_array.h"
#include "save/save_layout.h"

#include <cstdint>
#include <memory>
#include <span>
#include <type_traits>

namespace orv {

class SaveImage {
public:
    SaveImage();
    std::span<uint8_t> Bytes() { return {m_bytes.get(), save_layout::kFileSize}; }
    std::span<const uint8_t> Bytes() const { return {m_bytes.get(), save_layout::kFileSize}; }
    void Clear();

private:
    // 220 KB: allocated once with the owner, not on the stack.
    ZeroedArray<uint8_t> m_bytes;
};

class SaveIo {
public:
    enum class Direction { Write, Read };

    SaveIo(SaveImage& image, Direction direction) : m_image(image), m_direction(direction) {}

    bool Reading() const { return m_direction == Direction::Read; }

    // A 32-bit integer; narrower fields (flags kept in a byte) are widened when written and
    // cut back when read.
    void Int(size_t offset, int32_t& value);
    template <typename T>
        requires(std::is_integral_v<T> && !std::is_same_v<T, int32_t>)
    void Int(size_t offset, T& value) {
        auto wide = static_cast<int32_t>(value);
        Int(offset, wide);
        value = static_cast<T>(wide);
    }
    void Flag(size_t offset, bool& value);
    // A NUL-terminated text in a field of `width` bytes of the image, held in `field` of the
    // subsystem. Reading never cuts a double-byte character in half.
    void Name(size_t offset, size_t width, std::span<char> field);
    // Raw bytes, as many as `bytes` holds (at most the rest of the image).
    void Bytes(size_t offset, std::span<uint8_t> bytes);
    void Bytes(size_t offset, std::span<char> bytes);
    // Consecutive 32-bit integers.
    void Ints(size_t offset, std::span<int32_t> values);

private:
    SaveImage& m_image;
    Direction m_direction;
};

} // namespace orv
