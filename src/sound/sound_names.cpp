// Sounds by name: the lookup over the sound archives, the script's voices and what is kept of
// them for the backlog, the replay-voice key and saved games.
#include "engine/engine.h"
#include "save/save_io.h"
#include "sound/sound.h"

#include <algorithm>
#include <cstring>

namespace orv {

void Sound::PlaySoundByName(std::string_view name) {
    if (m_engine.SkipActive) {
        return;
    }
    PlayVoice(name);
}

void Sound::PlayScriptVoice(std::string_view name) {
    NoteVoice(name);
    PlaySoundByName(name);
    m_engine.backlog.AppendVoiceEntry(name);
}

bool Sound::SoundExists(std::string_view name) const {
    // FindEntry ignores case: scripts write sound names in either case.
    const Archives& archives = m_engine.archives;
    auto holds = [name](const auto& slots) {
        return std::any_of(slots.begin(), slots.end(), [name](const ArchiveIndex& index) {
            return FindEntry(index, name) >= 0;
        });
    };
    return holds(archives.Ogg) || holds(archives.Wav) || holds(archives.Se);
}

void Sound::NoteVoice(std::string_view name) {
    name = name.substr(0, std::min(name.find('\0'), name.size()));
    size_t used = ::strnlen(PageVoices, sizeof PageVoices);
    // A page with more voices than the list holds keeps the first ones.
    if (used + name.size() + 1 < sizeof PageVoices) {
        std::memcpy(PageVoices + used, name.data(), name.size());
        PageVoices[used + name.size()] = ' ';
        PageVoices[used + name.size() + 1] = '\0';
    }
    CopyName(LastVoice, name);
}

void Sound::Exchange(SaveIo& io) {
    io.Name(save_layout::name::LoopName, save_layout::name::kSize, LoopName);
    io.Name(save_layout::name::LastVoice, save_layout::name::kSize, LastVoice);
}

} // namespace orv
