#pragma once
// The diagnostic output: problems with game data that the player does not need to see
// (a damaged index, an unreadable entry). Goes to standard error unless redirected.

#include <functional>
#include <string_view>

namespace orv {

using DiagnosticSink = std::function<void(std::string_view message)>;

void Diagnostic(std::string_view message);

// Replaces the sink (an empty function restores standard error); returns the previous one.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

} // namespace orv
