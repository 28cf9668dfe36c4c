// Saving a game: the header, every subsystem's exchange, the resume position, the thumbnail,
// one write under a temporary name; and the order of the exchange that loading uses too.
#include "save/save_slots.h"

#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace orv {

namespace {

// "セーブしました"
constexpr std::string_view kSavedBanner = "\x83\x5a\x81\x5b\x83\x75\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
constexpr int32_t kSavedBannerMs = 500;
constexpr std::string_view kMapSuffix = "(Map)";
// The player's message when a slot cannot be written (UTF-8, for the message box).
constexpr std::string_view kSaveFailed = "セーブできませんでした。";
constexpr size_t kDateLineLimit = 94;
constexpr size_t kChapterTitleLimit = 63;

} // namespace

void SaveSlots::Locate() {
    Location = SaveLocation(m_engine.Options().GameDirectory, m_engine.Options().DataDirectory,
                            m_engine.config.GAME_ID);
}

void SaveSlots::ExchangeGameState(SaveIo& io) {
    Engine& e = m_engine;
    io.Bytes(save_layout::kReserved, m_reserved);
    e.vars.Exchange(io);
    e.dispatcher.Exchange(io);
    e.text.Exchange(io);
    e.wait.Exchange(io);
    e.screens.Exchange(io);
    e.gfx.Exchange(io);
    io.Int(save_layout::RecordOffset(save_layout::record::KeptFlag), m_keptFlag);
    e.ExchangeLoopState(io);
    e.script.Exchange(io);
    e.choices.Record.Exchange(io);
    e.sound.Exchange(io);
    e.backlog.Exchange(io);
}

void SaveSlots::WriteHeader() {
    std::tm now = m_engine.Host().LocalTime();
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%04d/%02d/%02d %02d:%02d:%02d  ",
                  (now.tm_year + 1900) % 10000, (now.tm_mon + 1) % 100, now.tm_mday % 100,
                  now.tm_hour % 100, now.tm_min % 100, now.tm_sec % 100);
    std::string line = prefix;
    line += cp932::CutToWholeChars(FieldText(m_engine.dispatcher.ChapterTitle), kChapterTitleLimit);
    line = std::string(cp932::CutToWholeChars(line, kDateLineLimit));
    if (m_engine.screens.Mode() == screen_mode::Map) {
        // The suffix stays inside the date line's field, before the comment.
        line = std::string(cp932::CutToWholeChars(line, save_layout::kDateLineSize - 1 - kMapSuffix.size()));
        line += kMapSuffix;
    }
    std::memcpy(Image.Bytes().data() + save_layout::kDateLine, line.data(),
                std::min(line.size(), save_layout::kDateLineSize - 1));
}

int32_t SaveSlots::ResumePosition() const {
    const Engine& e = m_engine;
    if (e.choices.SelectionKind != selection_kind::None) {
        int32_t backTo = e.vars.S(cell::ResumePoint);
        return backTo != 0 ? backTo : e.dispatcher.LineStart;
    }
    if (e.screens.Mode() == screen_mode::Map) {
        return e.dispatcher.LineStart;
    }
    return e.script.ReadPos;
}

void SaveSlots::WriteThumbnail() {
    // SceneSurface sampled every fifth pixel each way: the same scene gives the same bytes.
    const Surface& scene = m_engine.gfx.SceneSurface;
    uint8_t* out = Image.Bytes().data() + save_layout::kThumbnail;
    int stepX = scene.Width() / save_layout::kThumbnailWidth;
    int stepY = scene.Height() / save_layout::kThumbnailHeight;
    if (stepX <= 0 || stepY <= 0) {
        return;
    }
    for (int y = 0; y < save_layout::kThumbnailHeight; ++y) {
        const uint8_t* row = scene.Row(y * stepY);
        for (int x = 0; x < save_layout::kThumbnailWidth; ++x) {
            std::memcpy(out, row + static_cast<size_t>(x * stepX) * 3, 3);
            out += 3;
        }
    }
}

bool SaveSlots::SaveSlot(int32_t slot, bool quiet) {
    Engine& e = m_engine;
    if (slot < 1 || slot > kLastSlot) {
        return false;
    }
    BusyScope busy(e.blocking);
    if (!quiet && slot <= kLastSoundSlot) {
        e.sound.PlaySoundByName("SSE05");
    }
    Image.Clear();
    WriteHeader();
    SaveIo io(Image, SaveIo::Direction::Write);
    ExchangeGameState(io);
    int32_t resume = ResumePosition();
    io.Int(save_layout::RecordOffset(save_layout::record::ResumePosition), resume);
    WriteThumbnail();

    std::string error = Location.MakeSlotFolder()
                            ? WriteFileAtomic(Location.SlotPath(slot), Image.Bytes())
                            : "cannot make the folder " + Location.Folder().string() + "/save";
    if (!error.empty()) {
        Failed(kSaveFailed, error);
        return false;
    }
    // The choice record beside it; a slot whose record could not be written still loads,
    // with recording resumed.
    WriteFileAtomic(RecordPath(slot), e.choices.Record.Choices);
    e.globals.Save();
    if (!quiet) {
        e.prompts.ShowBanner(kSavedBanner, kSavedBannerMs);
    }
    return true;
}

void SaveSlots::QuickSave() {
    // "Quick Save"
    if (SaveSlot(kQuickSlot, false)) {
        SetSaveComment(kQuickSlot, "Quick Save");
    }
}

void SaveSlots::Failed(std::string_view headline, std::string_view reason) {
    std::string text(headline);
    text += "\n";
    text += reason;
    m_engine.Host().MessageBox(text, kMissingDataCaption, MessageBoxButtons::Ok,
                               MessageBoxIcon::Stop);
}

} // namespace orv
