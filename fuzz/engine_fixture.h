#pragma once
// A tiny game for the fuzz targets that need a whole engine (saved games, the global data):
// two scripts that call, choose and wait, a background, a character and an overlay, written
// once into a temporary folder and removed at exit. Each input gets an engine of its own on
// the headless platform and an empty data folder, so that an input that fails replays alone.

#include "base/diagnostics.h"
#include "data/archive_index.h"
#include "engine/engine.h"
#include "gfx/gra_encoder.h"
#include "gfx/surface.h"
#include "headless/headless_platform.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <system_error>
#include <vector>

namespace orv::fuzz {

// Script lines each ended by its NUL, as the text archive stores them.
inline Bytes ScriptEntry(const std::vector<std::string>& lines) {
    Bytes text;
    for (const std::string& line : lines) {
        text.insert(text.end(), line.begin(), line.end());
        text.push_back(0);
    }
    NegateBytes(text.data(), text.size());
    return text;
}

inline Bytes Picture(int width, int height, uint32_t bgr) {
    Surface picture(width, height);
    picture.Fill(bgr);
    return EncodeGraPicture(picture, {}).value_or(Bytes());
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

// The scripts: "main" shows a scene, calls "sub" (which names a speaker and waits), waits on
// a page, then offers a choice behind `backto`.
inline const std::vector<std::string> kMainScript = {
    "*title Fuzz",
    "*bg A010 0",
    "*spr B031",
    "*ovr OV01,1,100,100",
    "First page of the main script.",
    "\\",
    "*call sub",
    "!V001=V001+1",
    "*mark 12",
    "Second page, after the call.",
    "\\",
    "*backto",
    "*select",
    "{one",
    "!V003=1",
    "{two",
    "!V003=2",
    "}",
    "*sleep 10",
    "*chain main",
};
inline const std::vector<std::string> kSubScript = {
    "*seloop SE01",
    ">Aoi",
    "A line in the called script.",
    "\\",
    "*end",
};

class GameFolder {
public:
    GameFolder() {
        // Damaged data is what the targets feed in: a line on stderr for each would bury
        // libFuzzer's own output.
        SetDiagnosticSink([](std::string_view) {});
        // In memory where the machine allows: every save and global file is written with an
        // fsync, which on a disk would cost more than the rest of an input.
        std::error_code ec;
        std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                         ? std::filesystem::path("/dev/shm")
                                         : std::filesystem::temp_directory_path();
        std::string pattern = (base / "orvell-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_root = pattern;
        Bytes text;
        std::string problem;
        if (!BuildArchive(IndexForm::A, 0,
                          {{"main", ScriptEntry(kMainScript)}, {"sub", ScriptEntry(kSubScript)}},
                          text, &problem)) {
            std::fprintf(stderr, "cannot build the text archive: %s\n", problem.c_str());
            std::abort();
        }
        WriteBytes(m_root / "ov_data.orv", text);
        Bytes pictures;
        BuildArchive(IndexForm::B, 32,
                     {{"A010", Picture(kScreenWidth, kScreenHeight, 0x0000FF)},
                      {"B031", Picture(200, 400, 0x00FF00)},
                      {"M031", Picture(200, 400, 0xFFFFFF)},
                      {"OV01", Picture(64, 64, 0xFF0000)}},
                     pictures);
        WriteBytes(m_root / "ov_gra.orv", pictures);
    }
    ~GameFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::filesystem::path& Game() const { return m_root; }
    std::filesystem::path Data() const { return m_root / "data"; }
    // An empty data folder: no settings, saves or global data from the input before.
    void ClearData() const {
        std::error_code ec;
        std::filesystem::remove_all(Data(), ec);
        std::filesystem::create_directories(Data() / "save", ec);
    }

private:
    std::filesystem::path m_root;
};

// Built at the first input, removed when the fuzzer exits.
inline const GameFolder& TheGame() {
    static GameFolder game;
    return game;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

// Thrown out of the engine when an input has used up its share of the virtual clock.
struct OutOfVirtualTime {};

// The headless platform with a bound on the virtual clock. A script may ask for a fade or a
// wait of 24 days, which the engine honours frame by frame, tick by tick and sample by
// sample; no invariant needs that long to show, so past the bound the input is dropped.
class BoundedPlatform : public HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;

    // No bound until one is set: the targets that only start the engine need none.
    void LimitClock(uint64_t ms) { m_limit = ms; }
    void Sleep(uint32_t ms) override {
        if (Now() + ms > m_limit) {
            throw OutOfVirtualTime{};
        }
        HeadlessPlatform::Sleep(ms);
    }

private:
    uint64_t m_limit = UINT64_MAX;
};

// One engine on the tiny game, started as the headless front end starts it.
class EngineRun {
public:
    explicit EngineRun(const GameFolder& game) {
        EngineOptions options;
        options.GameDirectory = game.Game();
        options.DataDirectory = game.Data();
        options.Seed = 1;
        Engine = std::make_unique<orv::Engine>(Platform, options);
        Platform.Attach(*Engine);
        Engine->FormCreate();
    }
    ~EngineRun() { Platform.StopAudio(); }
    EngineRun(const EngineRun&) = delete;
    EngineRun& operator=(const EngineRun&) = delete;

    void Passes(int count) {
        for (int i = 0; i < count; ++i) {
            Engine->AppIdle();
            Platform.PumpMessages();
        }
    }
    void Click() {
        Engine->PBMouseDown(MouseButton::Left, 400, 300);
        Engine->PBMouseUp(MouseButton::Left, 400, 300);
    }

private:
    NullBuffer m_nothing;
    std::ostream m_log{&m_nothing};

public:
    BoundedPlatform Platform{m_log};
    std::unique_ptr<orv::Engine> Engine;
};

} // namespace orv::fuzz
