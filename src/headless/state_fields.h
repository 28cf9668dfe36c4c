#pragma once
// The names that play files can `expect` and that state dumps hold: engine fields by name
// and families of numbered (V000, E1023) or keyed (a prefix and a key) members. Each field
// is one line of a table, so a subsystem that lands adds its fields there.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

class Engine;

enum class FieldKind {
    Integer, // decimal
    Flag,    // 0 or 1
    Text,    // UTF-8; the engine holds it in code page 932
};

struct FieldValue {
    FieldKind Kind = FieldKind::Integer;
    int64_t Integer = 0;
    std::string Text;
};

// One engine field.
struct StateField {
    std::string_view Name;
    FieldKind Kind;
    FieldValue (*Read)(const Engine& engine);
};

// A family of names: the prefix followed by a member part (digits, or a key).
struct FieldFamily {
    std::string_view Prefix;
    // The kind of the member named by `member`, or nothing when there is no such member.
    std::optional<FieldKind> (*Member)(std::string_view member);
    FieldValue (*Read)(const Engine& engine, std::string_view member);
};

// A name resolved through the registry. `Member` views into the name that was looked up.
struct FieldRef {
    const StateField* Field = nullptr;
    const FieldFamily* Family = nullptr;
    std::string_view Member;
    FieldKind Kind = FieldKind::Integer;
};

std::optional<FieldRef> FindStateField(std::string_view name);
FieldValue ReadStateField(const Engine& engine, const FieldRef& ref);

// Every engine field, in table order (the families are not listed).
std::span<const StateField> EngineFields();

// A field's value as play files and dumps write it.
std::string FormatFieldValue(const FieldValue& value);

} // namespace orv
