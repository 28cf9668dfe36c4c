#pragma once
// Reading a choice list asks the expressions for conditions and the store for `$n` texts.

#include "choices/choice_list.h"
#include "engine/engine.h"

namespace orv {

class StoreSource : public ChoiceListSource {
public:
    explicit StoreSource(Engine& engine) : m_engine(engine) {}
    bool Condition(std::string_view text) override { return m_engine.dispatcher.Condition(text); }
    std::string_view StringVariable(int n) override { return m_engine.vars.String(n); }

private:
    Engine& m_engine;
};

} // namespace orv
