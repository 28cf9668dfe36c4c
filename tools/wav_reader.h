#pragma once
// WAV files read for the tools: 16-bit PCM, mono or stereo, as the sound encoders take them.

#include "base/bytes.h"
#include "sound/pcm.h"

#include <filesystem>
#include <string>

namespace orv::tool {

// False with a reason in `error` when the bytes are not a RIFF WAVE file of 16-bit PCM with
// one or two channels. A data chunk that claims more than the file holds (a recorder that
// stopped before it wrote the sizes) is read up to the end of the file.
bool ParseWav(ByteSpan file, PcmClip& out, std::string& error);

bool ReadWav(const std::filesystem::path& path, PcmClip& out, std::string& error);

} // namespace orv::tool
