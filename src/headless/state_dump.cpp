#include "headless/state_dump.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "headless/json_writer.h"
#include "headless/state_fields.h"

#include <span>

namespace orv {

namespace {

void CellArray(JsonWriter& json, std::string_view key, const VariableStore& vars, int first,
               int count) {
    json.Key(key);
    json.BeginArray();
    for (int i = 0; i < count; ++i) {
        json.Integer(vars.Cells[static_cast<size_t>(first + i)]);
    }
    json.EndArray();
}

void HexBytes(JsonWriter& json, std::string_view key, std::span<const uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    json.Key(key);
    json.String(hex);
}

// Every name of a keyed family with its value as text (code page 932 converted).
template <typename Names, typename Lookup>
void TextMembers(JsonWriter& json, std::string_view key, Names names, Lookup lookup) {
    json.Key(key);
    json.BeginObject();
    std::string value;
    for (const auto& name : names) {
        value.clear();
        lookup(name, value);
        json.Key(name);
        json.String(cp932::ToUtf8(value));
    }
    json.EndObject();
}

} // namespace

std::string StateDumpJson(const Engine& engine) {
    const VariableStore& vars = engine.vars;
    JsonWriter json;
    json.BeginObject();
    CellArray(json, "V", vars, VariableStore::kV, 1000);
    CellArray(json, "S", vars, VariableStore::kS, 1000);
    CellArray(json, "G", vars, VariableStore::kG, 10);
    HexBytes(json, "E", vars.EFlags);
    HexBytes(json, "F", vars.FFlags);
    HexBytes(json, "T", vars.TFlags);
    // The bytes that hold the read marks' bits; the array's padding after them is left out.
    HexBytes(json, "ReadMarks",
             std::span(vars.ReadMarks).first((VariableStore::kReadMarks + 7) / 8));
    json.Key("strings");
    json.BeginArray();
    for (int i = 0; i < 10; ++i) {
        json.String(cp932::ToUtf8(vars.String(i)));
    }
    json.EndArray();
    json.Key("fields");
    json.BeginObject();
    for (const StateField& field : EngineFields()) {
        FieldValue value = field.Read(engine);
        json.Key(field.Name);
        if (value.Kind == FieldKind::Text) {
            json.String(value.Text);
        } else {
            json.Integer(value.Integer);
        }
    }
    json.EndObject();
    TextMembers(json, "config", GameConfigKeyNames(), [&](std::string_view name, std::string& out) {
        return GameConfigValue(engine.config, name, out);
    });
    TextMembers(json, "settings", UserSettingNames(), [&](std::string_view name, std::string& out) {
        return UserSettingValue(engine.settings, name, out);
    });
    json.EndObject();
    return json.Text();
}

} // namespace orv
