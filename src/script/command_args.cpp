// Readers of command arguments, shared by the handlers of every family.
#include "engine/engine.h"
#include "script/commands.h"

#include <algorithm>

namespace orv {

int32_t ArgumentNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

std::string_view FirstWord(std::string_view text) {
    return text.substr(0, std::min(text.find(' '), text.size()));
}

std::string_view TrimEnd(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsBlankText(std::string_view text) {
    return TrimEnd(text).empty();
}

bool SkippingWithEffectCut(const Engine& engine) {
    return engine.SkipActive != 0 && engine.settings.EFX_CUT;
}

} // namespace orv
