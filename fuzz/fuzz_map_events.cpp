// "mapctrl" is outside data: any text gives, for every rank, at most four events at each of
// the five places, with titles that fit their field.
#include "fuzz_check.h"
#include "screens/map_screen.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "map events", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int32_t rank : {1, 2, 3, 0, -1, 100}) {
        orv::MapEvents events;
        orv::ReadMapEvents(text, rank, [](int32_t flag) { return flag % 2 == 0; }, events);
        Check(events.Counts[0] == 0, "an event at place 0");
        for (int place = 0; place <= orv::MapEvents::kPlaces; ++place) {
            int count = events.Counts[static_cast<size_t>(place)];
            Check(count >= 0 && count <= orv::MapEvents::kPerPlace, "events at a place");
            for (int k = 0; k < count; ++k) {
                const orv::MapEvent& event = events.Events[static_cast<size_t>(place)][static_cast<size_t>(k)];
                Check(event.TitleLength <= orv::MapEvent::kTitleSize, "title too long");
            }
        }
    }
    return 0;
}
