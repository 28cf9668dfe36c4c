#pragma once
// The state dump of a headless run: the variable store and every engine field of the
// registry, as JSON.

#include <string>

namespace orv {

class Engine;

// "V", "S", "G": integer arrays; "E", "F", "T", "ReadMarks": their bytes in hex; "strings":
// $0..$9 in UTF-8; "fields": every engine field by name.
std::string StateDumpJson(const Engine& engine);

} // namespace orv
