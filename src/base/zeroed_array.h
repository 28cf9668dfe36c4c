#pragma once
// Large zero-filled buffers from calloc: the system hands out big blocks as zero pages that
// take no memory until written, where make_unique<T[]>(n) writes every byte at once. The
// fixed buffers reserved at start-up (a script's text, the glyph cache, a saved game's
// image) are mostly never written in full.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

namespace orv {

struct FreeWithFree {
    void operator()(void* block) const { std::free(block); }
};

template <class T>
using ZeroedArray = std::unique_ptr<T[], FreeWithFree>;

// `count` zeroed elements (at least one byte is asked for, so that the pointer is never
// null); throws std::bad_alloc when there is no memory.
template <class T>
ZeroedArray<T> AllocateZeroed(size_t count) {
    static_assert(std::is_trivially_default_constructible_v<T> &&
                  std::is_trivially_destructible_v<T>);
    void* block = std::calloc(count > 0 ? count : 1, sizeof(T));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return ZeroedArray<T>(static_cast<T*>(block));
}

template <class T>
using ZeroedObject = std::unique_ptr<T, FreeWithFree>;

// One object of an aggregate whose members all start at zero ({} or = 0 everywhere), such as
// a table of fixed arrays: calloc's zero bytes are that object (the allocation creates it),
// and only the parts written take memory. A member that starts at anything but zero must
// not be in such a type.
template <class T>
ZeroedObject<T> AllocateZeroedObject() {
    static_assert(std::is_aggregate_v<T> && std::is_trivially_destructible_v<T>);
    void* block = std::calloc(1, sizeof(T));
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return ZeroedObject<T>(static_cast<T*>(block));
}

// `count` zeroed bytes from calloc whose first byte lies on a cache line (64 bytes), so that
// vector loops over them never split a load or a store across two lines where a plain
// calloc'd block (16 bytes past a line) would split every other one.
class CacheAlignedZeroedBytes {
public:
    static constexpr size_t kAlignment = 64;

    CacheAlignedZeroedBytes() = default;
    explicit CacheAlignedZeroedBytes(size_t count)
        : m_block(AllocateZeroed<uint8_t>(count + kAlignment - 1)),
          m_start(reinterpret_cast<uint8_t*>(
              (reinterpret_cast<uintptr_t>(m_block.get()) + kAlignment - 1) & ~(kAlignment - 1))) {}
    CacheAlignedZeroedBytes(CacheAlignedZeroedBytes&& other) noexcept
        : m_block(std::move(other.m_block)), m_start(std::exchange(other.m_start, nullptr)) {}
    CacheAlignedZeroedBytes& operator=(CacheAlignedZeroedBytes&& other) noexcept {
        m_block = std::move(other.m_block);
        m_start = std::exchange(other.m_start, nullptr);
        return *this;
    }

    uint8_t* get() const { return m_start; }
    explicit operator bool() const { return m_start != nullptr; }

private:
    ZeroedArray<uint8_t> m_block;
    uint8_t* m_start = nullptr;
};

} // namespace orv
