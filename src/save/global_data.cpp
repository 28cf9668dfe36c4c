#include "save/global_data.h"

#include "base/diagnostics.h"
#include "base/files.h"
#include "data/settings_store.h"
#include "engine/engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace orv {

namespace gl = global_layout;

namespace {

constexpr std::array<uint32_t, 256> MakeChecksumTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> kChecksumTable = MakeChecksumTable();

// "The system data could not be saved."
constexpr std::string_view kGlobalDataNotWritten = "システムデータを保存できませんでした。";

void TellWriteFailed(Engine& engine, std::string_view problem) {
    std::string text(kGlobalDataNotWritten);
    text += "\n";
    text += problem;
    engine.Host().MessageBox(text, kMissingDataCaption, MessageBoxButtons::Ok, MessageBoxIcon::Stop);
}

void OrInto(std::span<uint8_t> memory, std::span<const uint8_t> file) {
    for (size_t i = 0; i < memory.size() && i < file.size(); ++i) {
        memory[i] = static_cast<uint8_t>(memory[i] | file[i]);
    }
}

} // namespace

uint32_t GlobalChecksum(std::span<const uint8_t> bytes, uint32_t state) {
    for (uint8_t b : bytes) {
        state = (state >> 8) ^ kChecksumTable[(state ^ b) & 0xFF];
    }
    return state;
}

Bytes GlobalData::MemoryBlocks() const {
    const VariableStore& vars = m_engine.vars;
    Bytes blocks(gl::kChecksum, 0);
    std::copy_n(vars.EFlags.begin(), gl::kEFlagsSize, blocks.begin() + gl::kEFlags);
    std::copy_n(vars.PictureUnlocked.begin(), gl::kPictureBitsSize,
                blocks.begin() + gl::kPictures);
    StoreU32(blocks.data() + gl::kPictures + gl::kChangeCount,
             static_cast<uint32_t>(CharacterChangeCount));
    std::copy_n(vars.ScenesSeen.begin(), VariableStore::kSceneBits / 8,
                blocks.begin() + gl::kScenes);
    std::copy_n(vars.ReadMarks.begin(), gl::kReadMarksSize, blocks.begin() + gl::kReadMarks);
    return blocks;
}

void GlobalData::MergeFile(const Bytes& file) {
    VariableStore& vars = m_engine.vars;
    std::span<const uint8_t> bytes(file);
    OrInto(vars.EFlags, bytes.subspan(gl::kEFlags, gl::kEFlagsSize));
    // The change count shares the picture block; it is a number, never merged as bits.
    OrInto(std::span(vars.PictureUnlocked).first(gl::kPictureBitsSize),
           bytes.subspan(gl::kPictures, gl::kPictureBitsSize));
    OrInto(std::span(vars.ScenesSeen).first(VariableStore::kSceneBits / 8),
           bytes.subspan(gl::kScenes, VariableStore::kSceneBits / 8));
    OrInto(vars.ReadMarks, bytes.subspan(gl::kReadMarks, gl::kReadMarksSize));
}

void GlobalData::Sync(bool startUp) {
    const SaveLocation& location = m_engine.saves.Location;
    std::filesystem::path path = location.GlobalPath();
    std::optional<Bytes> file = ReadWholeFile(path);
    bool valid = file && file->size() == gl::kFileSize &&
                 GlobalChecksum(std::span(*file).first(gl::kChecksum)) ==
                     LoadU32(file->data() + gl::kChecksum);
    if (valid) {
        MergeFile(*file);
        if (startUp) {
            CharacterChangeCount =
                static_cast<int32_t>(LoadU32(file->data() + gl::kPictures + gl::kChangeCount));
        }
    } else {
        // A missing or damaged file takes the read marks gathered so far with it, as the
        // games have always done; a damaged one is kept aside before it is rebuilt.
        m_engine.vars.ReadMarks.fill(0);
        if (file) {
            std::error_code ec;
            std::filesystem::rename(path, path.string() + ".bad", ec);
        }
    }
    Bytes blocks = MemoryBlocks();
    uint32_t checksum = GlobalChecksum(blocks);
    AppendU32(blocks, checksum);
    // Unchanged data is not written again: a start-up or a save that changed no mark or
    // variable does not sync the file to disk.
    std::string problem;
    if (!file || *file != blocks) {
        problem = WriteFileAtomic(path, blocks);
    }

    SettingsStore store(SettingsRoot(m_engine.Options().DataDirectory));
    for (int i = 0; i < 10 && problem.empty(); ++i) {
        // Room for any int: the compiler cannot see that the loop stops at 9.
        char name[16];
        std::snprintf(name, sizeof name, "GV%02d", i);
        if (!WriteSetting(store, m_engine.config, name, m_engine.vars.G(i))) {
            problem = std::string("cannot store ") + name + " in " + store.Root().string();
        }
    }
    if (std::string written = WriteFileIfChanged(location.RecollectionPath(), RecollectionFile());
        problem.empty()) {
        problem = written;
    }
    // What stays in memory is written again at the next sync; the files on disk keep what
    // they had. One message a sync, however many of its writes failed.
    if (!problem.empty()) {
        TellWriteFailed(m_engine, problem);
    }
}

void GlobalData::CreateRecollectionFileIfMissing() {
    std::filesystem::path path = m_engine.saves.Location.RecollectionPath();
    if (!FileSize(path)) {
        WriteFileAtomic(path, Bytes(gl::kRecollectionFileSize, 0));
    }
}

void GlobalData::ReadRecollection() {
    std::optional<Bytes> file = ReadWholeFile(m_engine.saves.Location.RecollectionPath());
    Bytes bytes = file.value_or(Bytes());
    // A short file reads as zeros where it ends.
    bytes.resize(gl::kRecollectionFileSize, 0);
    for (int slot = 0; slot < gl::kRecordSlots; ++slot) {
        for (int k = 0; k < gl::kRecordEntries; ++k) {
            size_t at = 4 * static_cast<size_t>(slot * gl::kRecordEntries + k);
            RecordSlots[slot][k] = static_cast<int32_t>(LoadU32(bytes.data() + at));
        }
        size_t name = 4 * gl::kRecordSlots * gl::kRecordEntries + slot * gl::kRecordNameSize;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(name), gl::kRecordNameSize,
                    RecordNames[slot].begin());
        RecordNames[slot].back() = '\0';
    }
}

void GlobalData::WriteRecollection() {
    if (std::string problem =
            WriteFileAtomic(m_engine.saves.Location.RecollectionPath(), RecollectionFile());
        !problem.empty()) {
        Diagnostic(problem);
        TellWriteFailed(m_engine, problem);
    }
}

Bytes GlobalData::RecollectionFile() const {
    Bytes out;
    out.reserve(gl::kRecollectionFileSize);
    for (const auto& slot : RecordSlots) {
        for (int32_t entry : slot) {
            AppendU32(out, static_cast<uint32_t>(entry));
        }
    }
    for (const auto& name : RecordNames) {
        out.insert(out.end(), name.begin(), name.end());
    }
    return out;
}

void GlobalData::GameCleared() {
    // The clear counter lives under one fixed key shared by the maker's games.
    SettingsStore store(SettingsRoot(m_engine.Options().DataDirectory));
    SettingsLocation location = ClearCounterLocation();
    int32_t clear = ReadSettingInt(store.Load(location), "Clear", 0) + 1;
    store.Write(location, "Clear", std::to_string(clear));
    m_engine.vars.S(cell::ClearCount) = clear;
    m_engine.vars.SetFlag(FlagKind::E, 999);
    Sync(false);
}

} // namespace orv
