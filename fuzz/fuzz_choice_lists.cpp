// The branch lines of `select` and `clickmap` and the click-map definitions of "map" are
// outside data: any lines give at most 32 choices whose texts fit their fields and whose
// branches start inside the script, and at most 32 regions whose captions fit theirs.
#include "fuzz_check.h"
#include "choices/choice_list.h"
#include "choices/map_definition.h"
#include "script/script_search.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "choice lists", what);
}

// Conditions alternate, so that both the kept and the dropped branch are read.
class AlternatingSource : public orv::ChoiceListSource {
public:
    bool Condition(std::string_view) override { return (++m_asked % 2) == 0; }
    std::string_view StringVariable(int n) override {
        Check(n >= 0 && n <= 9, "a string variable outside $0..$9");
        return "名前";
    }

private:
    int m_asked = 0;
};

// A search that finds no line gives a position past any script, which ends it.
bool InsideOrEnd(int32_t offset, int32_t scriptSize) {
    return (offset >= 0 && offset <= scriptSize) || offset == orv::kNotFound;
}

void CheckList(const orv::ChoiceList& list, int32_t scriptSize) {
    Check(list.Count >= 0 && list.Count <= orv::kMaxChoices, "choice count");
    Check(InsideOrEnd(list.ClosingOffset, scriptSize), "closing line outside");
    for (int32_t k = 0; k < list.Count; ++k) {
        const orv::ChoiceBranch& branch = list.Branches[k];
        Check(branch.Text.View().size() <= orv::kChoiceTextBytes, "choice text too long");
        Check(InsideOrEnd(branch.Offset, scriptSize), "branch outside the script");
    }
    for (int32_t k = -1; k <= list.Count + 1; ++k) {
        int32_t offset = list.OffsetOf(k);
        Check(InsideOrEnd(offset, scriptSize), "OffsetOf outside the script");
    }
    Check(list.LongestText() >= 0 && list.LongestText() <= orv::kChoiceTextBytes, "longest text");
}

void CheckMap(const orv::MapDefinition& map) {
    Check(map.Count >= 0 && map.Count <= orv::kMaxChoices, "region count");
    for (int32_t k = 0; k < map.Count; ++k) {
        Check(map.Regions[k].Caption.View().size() <= orv::kChoiceTextBytes, "caption too long");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Lines end in NUL as the text archive stores them.
    std::string script(reinterpret_cast<const char*>(data), size);
    for (char& c : script) {
        c = c == '\n' ? '\0' : c;
    }
    auto scriptSize = static_cast<int32_t>(script.size());
    // The group starts at the first line and, as after a command line, at the second.
    int32_t second = static_cast<int32_t>(script.find('\0'));
    for (int32_t from : {0, second < 0 ? scriptSize : second + 1}) {
        for (orv::ChoiceListKind kind : {orv::ChoiceListKind::Select, orv::ChoiceListKind::ClickMap}) {
            AlternatingSource source;
            orv::ChoiceList list;
            orv::ReadChoiceList(script, from, kind, source, list);
            CheckList(list, scriptSize);
        }
    }
    for (std::string_view name : {"", "m1", "MAP"}) {
        orv::MapDefinition map;
        orv::ReadMapDefinition(script, name, map);
        CheckMap(map);
    }
    orv::MapRegion region;
    orv::ReadRegion(std::string_view(reinterpret_cast<const char*>(data), size), region);
    uint32_t key = 0;
    orv::ColourKey(std::string_view(reinterpret_cast<const char*>(data), size), key);
    return 0;
}
