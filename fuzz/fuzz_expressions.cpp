// Expressions, conditions and assignments come from game scripts: any text must evaluate
// without reading or writing outside the variable store.
#include "script/expressions.h"
#include "script/random.h"
#include "script/variables.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::VariableStore vars;
    orv::RandomGenerator random;
    random.Seed(1);
    // Indirect references through V000..V003 aim at the edges of the store and beyond.
    vars.V(0) = -1;
    vars.V(1) = orv::VariableStore::kCellCount;
    vars.V(2) = INT_MIN;
    vars.V(3) = orv::VariableStore::kCellCount - 1;
    vars.V(4) = INT_MAX;
    orv::Expressions expressions(vars, random);
    (void)expressions.Evaluate(text);
    (void)expressions.Condition(text);
    expressions.Assign(text);
    (void)expressions.Condition(text); // again, over what the assignments stored
    orv::FieldList fields;
    int32_t count = orv::SplitFields(text, fields);
    for (int32_t i = 0; i < count; ++i) {
        (void)fields.Text(i);
    }
    return 0;
}
