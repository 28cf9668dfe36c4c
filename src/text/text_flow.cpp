// Until the typing loop lands, a text line counts as typed at once, so that scripts run on
// through their text.
#include "text/text_flow.h"

#include "engine/engine.h"

namespace orv {

bool TextFlow::TypeText() {
    m_engine.script.NeedLine = 1;
    return m_engine.SkipActive != 0;
}

bool TextFlow::TypeNovelSpeakerName() {
    return TypeText();
}

} // namespace orv
