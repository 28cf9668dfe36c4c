#pragma once
// Searches through script text: NUL-terminated Shift-JIS lines, where a line starts at offset
// 0 or right after a NUL. Offsets are byte offsets into `script`; a `from` outside the text is
// allowed and never read from.

#include <cstdint>
#include <string_view>

namespace orv {

// What the block searches return when nothing matches. It lies beyond the end of any script,
// so a read position set to it ends the script.
constexpr int32_t kNotFound = 0xFFFFFF;

// Offset of the line after the first label `:label` (case of ASCII letters ignored), or -1.
// Any ':' in the text counts, not only one that starts a line, so a line ending in ":name"
// also names the line after it; the first match in the script wins.
int32_t FindLabel(std::string_view script, std::string_view label);

// Offset of the first line at or after `from` that begins with '}'. Blocks do not nest.
int32_t SkipToBlockEnd(std::string_view script, int32_t from);

// Offset of the first line at or after `from` that reads "}:" followed by exactly `name`
// (ASCII case ignored). Only line starts count: a '}' inside a line, which may be the trail
// byte of a double-byte character, never ends a block.
int32_t SkipNamedBlock(std::string_view script, int32_t from, std::string_view name);

// Offset of the first line at or after `from` that begins with "{:" followed by `prefix`
// (compared over the prefix's length, ASCII case ignored).
int32_t FindNamedBlock(std::string_view script, int32_t from, std::string_view prefix);

// Offset of the first line at or after `from` that begins with `first`, or kNotFound.
int32_t NextLineStartingWith(std::string_view script, int32_t from, char first);

// The text of the line that starts at `pos`, without its NUL; empty outside the text.
std::string_view LineText(std::string_view script, int32_t pos);

// Offset of the line after the line that starts at `pos`; the end of the text when it has
// no NUL or `pos` lies outside the text.
int32_t LineAfter(std::string_view script, int32_t pos);

// Offset of the first `byte` strictly after `from`; `from` itself when there is none.
int32_t FindByte(std::string_view script, int32_t from, uint8_t byte);

} // namespace orv
