#pragma once
// File access shared by the engine and the tools: whole and ranged reads, writes that go to
// a temporary name and are renamed into place, and name lookup without regard to case
// (games copied from Windows discs often carry upper-case names).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/bytes.h"

namespace orv {

namespace fs = std::filesystem;

std::optional<Bytes> ReadWholeFile(const fs::path& path);

// Reads exactly `size` bytes at `offset` into `out`; false when the file is shorter, cannot
// be opened, or the range does not fit in `out`.
bool ReadFileRange(const fs::path& path, uint64_t offset, std::span<uint8_t> out);

// Size of a regular file, or nothing.
std::optional<uint64_t> FileSize(const fs::path& path);

// Writes `data` to a temporary file beside `path`, flushes it and renames it over `path`,
// so that a crash or a full disk never leaves a half-written file. Returns an error text,
// empty on success.
std::string WriteFileAtomic(const fs::path& path, std::span<const uint8_t> data);
std::string WriteFileAtomic(const fs::path& path, std::string_view data);
// WriteFileAtomic unless the file already holds exactly `data`: a file rewritten at every
// start with the same bytes costs a sync to disk for nothing.
std::string WriteFileIfChanged(const fs::path& path, std::span<const uint8_t> data);
std::string WriteFileIfChanged(const fs::path& path, std::string_view data);

// The steps of WriteFileAtomic that a fault can strike: making the temporary file, writing
// it (a fault there strikes after half the data, as a full disk does), renaming it.
enum class WriteStep { Create, Write, Rename };

// What a fault hook returns for a step: 0 to go on, an errno value for the step to fail
// with, or kCrashBeforeRename to stop as a crash between the write and the rename would:
// the temporary file stays behind, whole, and the target is never touched.
inline constexpr int kCrashBeforeRename = -1;
using WriteFaultHook = std::function<int(const fs::path& path, WriteStep step)>;

// A seam for the tests of what each writer leaves behind and tells the player when a write
// fails. An empty hook (the default) injects nothing.
void SetWriteFaultHook(WriteFaultHook hook);

// The entry of `dir` whose name equals `name` without regard to ASCII case, preferring an
// exact match; nothing when there is none.
std::optional<fs::path> FindFileNoCase(const fs::path& dir, std::string_view name);

// True when `path` names an existing regular file (following links).
bool IsRegularFile(const fs::path& path);

} // namespace orv
