#include "base/diagnostics.h"

#include <cstdio>
#include <utility>

namespace orv {

namespace {
DiagnosticSink g_sink;
}

void Diagnostic(std::string_view message) {
    if (g_sink) {
        g_sink(message);
        return;
    }
    std::fprintf(stderr, "orvell: %.*s\n", static_cast<int>(message.size()), message.data());
}

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) { return std::exchange(g_sink, std::move(sink)); }

} // namespace orv
