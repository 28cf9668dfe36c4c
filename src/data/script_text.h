#pragma once
// Conversion between script text as people edit it (UTF-8, one script line per text line)
// and the form the engine reads: Shift-JIS lines, each ended by one NUL byte.

#include "base/bytes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// The engine copies a line with its NUL into a 2048-byte buffer.
constexpr size_t kMaxScriptLineBytes = 2047;

// Encodes `utf8Text` line by line. Lines end in LF or CRLF; a UTF-8 byte order mark at the
// start is skipped; a final line break does not start another line, but empty lines
// elsewhere are kept (an empty script line moves the text down a row). Fails on a character
// that code page 932 cannot hold, invalid UTF-8, a NUL character, a line longer than
// kMaxScriptLineBytes once encoded, or a script larger than a text buffer; then
// `errorLine` (1-based) and `errorMessage` say where and why, and `out` is unspecified.
bool EncodeScriptText(std::string_view utf8Text, Bytes& out, size_t* errorLine = nullptr,
                      std::string* errorMessage = nullptr);

// What a decoded script could not carry over faithfully. Line numbers are 1-based.
struct ScriptDecodeNotes {
    std::vector<size_t> UndefinedByteLines; // bytes code page 932 does not define (now U+FFFD)
    std::vector<size_t> LineBreakLines;     // CR or LF inside a line: re-encoding splits it
    bool UnterminatedLastLine = false;      // re-encoding adds the missing NUL
};

// Decodes NUL-terminated Shift-JIS lines to UTF-8 text, each line ended by LF. A last line
// without its NUL is decoded too.
std::string DecodeScriptText(ByteSpan bytes, ScriptDecodeNotes* notes = nullptr);

} // namespace orv
