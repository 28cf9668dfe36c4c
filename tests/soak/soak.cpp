// orvell_soak GAME_DIR PASSES [SEED]: plays a game headlessly for PASSES idle passes with
// random clicks, keys, wheel turns, saves and loads (through the save list, as the player
// makes them), and fails when the heap grows from the 10000th pass on. The engine allocates
// its buffers at start-up, so whatever a long session adds is a leak or a store that grows
// without bound. Exit status 0 when the heap stayed flat, 1 when it grew, 2 on bad
// arguments.
#include "engine/engine.h"
#include "engine/keys.h"
#include "headless/headless_platform.h"

#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define ORVELL_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVELL_SOAK_ASAN 1
#endif
#endif
#ifdef ORVELL_SOAK_ASAN
// Declared here rather than through <sanitizer/allocator_interface.h>, which GCC does not
// ship; both compilers' runtimes define it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

// From the 10000th pass on, the heap may move within this much: the allocator's own slack
// and the few vectors whose capacity settles late.
constexpr size_t kFlatBytes = 1 << 20;
constexpr uint64_t kSettledPass = 10000;
constexpr uint64_t kSampleEvery = 10000;

size_t HeapBytesInUse() {
#ifdef ORVELL_SOAK_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

// The save list takes the player's action when it opens, not before: a key that opens no
// list (saving is off at the title) leaves nothing queued behind.
class SoakPlatform : public orv::HeadlessPlatform {
public:
    using HeadlessPlatform::HeadlessPlatform;
    void RunSaveList(orv::SaveListModel& model) override {
        QueueSaveListAction(NextAction);
        HeadlessPlatform::RunSaveList(model);
    }
    orv::SaveListAction NextAction;
};

// One run of the game, started as the headless front end starts it.
class Session {
public:
    Session(const std::filesystem::path& game, const std::filesystem::path& data, uint32_t seed) {
        orv::EngineOptions options;
        options.GameDirectory = game;
        options.DataDirectory = data;
        options.Seed = seed;
        Engine = std::make_unique<orv::Engine>(Platform, options);
        Platform.Attach(*Engine);
        Engine->FormCreate();
    }
    ~Session() { Platform.StopAudio(); }

    void Pass() {
        Engine->AppIdle();
        Platform.PumpMessages();
    }

private:
    NullBuffer m_nothing;
    std::ostream m_log{&m_nothing};

public:
    SoakPlatform Platform{m_log};
    std::unique_ptr<orv::Engine> Engine;
};

// The player: mostly clicks and passes, now and then a key, a wheel turn, a save or a load.
class RandomPlayer {
public:
    explicit RandomPlayer(uint32_t seed) : m_random(seed) {}

    void Act(Session& s) {
        orv::Engine& e = *s.Engine;
        int pick = Uniform(0, 99);
        if (pick < 40) {
            return;
        }
        if (pick < 70) {
            int x = Uniform(0, orv::kScreenWidth - 1);
            int y = Uniform(0, orv::kScreenHeight - 1);
            e.PBMouseMove(x, y);
            e.PBMouseDown(orv::MouseButton::Left, x, y);
            e.PBMouseUp(orv::MouseButton::Left, x, y);
        } else if (pick < 74) {
            e.PBMouseDown(orv::MouseButton::Right, 400, 300);
            e.PBMouseUp(orv::MouseButton::Right, 400, 300);
        } else if (pick < 80) {
            e.FormMouseWheel(Uniform(0, 1) ? 120 : -120);
        } else if (pick < 94) {
            Key(e);
        } else if (pick < 97) {
            s.Platform.NextAction = {orv::SaveListAction::Kind::Save, Uniform(1, 5), {}};
            Stroke(e, 'S', 's');
        } else {
            s.Platform.NextAction = {orv::SaveListAction::Kind::Load, Uniform(1, 5), {}};
            Stroke(e, 'L', 'l');
        }
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    void Key(orv::Engine& e) {
        namespace k = orv::keys;
        // No Escape: its question to close the window gets OK from the headless platform.
        static constexpr std::array<int, 14> kKeys = {
            k::Return, k::Space,  k::Backspace, k::Up, k::Down, k::Left, k::Right,
            k::Control, k::PageUp, k::PageDown, 'W',   'C',     'Q',     'V'};
        int code = kKeys[static_cast<size_t>(Uniform(0, static_cast<int>(kKeys.size()) - 1))];
        char press = code == k::Return || code == k::Space || code == k::Backspace
                         ? static_cast<char>(code)
                         : code >= 'A' && code <= 'Z' ? static_cast<char>(code - 'A' + 'a') : '\0';
        Stroke(e, code, press);
    }

    static void Stroke(orv::Engine& e, int code, char press) {
        e.FormKeyDown(code);
        if (press != '\0') {
            e.FormKeyPress(press);
        }
        e.FormKeyUp(code);
    }

    std::mt19937 m_random;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: orvell_soak GAME_DIR PASSES [SEED]\n");
        return 2;
    }
    std::filesystem::path game = argv[1];
    uint64_t passes = std::strtoull(argv[2], nullptr, 10);
    auto seed = static_cast<uint32_t>(argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvell-soak-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    std::filesystem::path data = pattern;

    std::vector<size_t> samples;
    int restarts = 0;
    {
        auto session = std::make_unique<Session>(game, data, seed);
        RandomPlayer player(seed);
        for (uint64_t pass = 1; pass <= passes; ++pass) {
            player.Act(*session);
            session->Pass();
            // A random player can end the game (exitgame, the title's quit item); a new
            // session goes on with the same saves.
            if (session->Engine->QuitRequested || session->Platform.WindowClosed()) {
                session.reset();
                session = std::make_unique<Session>(game, data, seed + static_cast<uint32_t>(pass));
                ++restarts;
            }
            if (pass >= kSettledPass && (pass - kSettledPass) % kSampleEvery == 0) {
                samples.push_back(HeapBytesInUse());
                // A million passes take a while under the sanitizers: say how far it got.
                std::fprintf(stderr, "soak: pass %llu of %llu, %zu bytes in use\n",
                             static_cast<unsigned long long>(pass),
                             static_cast<unsigned long long>(passes), samples.back());
            }
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(data, ec);

    size_t first = samples.empty() ? 0 : samples.front();
    size_t highest = first;
    std::printf("soak: %llu passes, %d restarts, heap in use from pass %llu:",
                static_cast<unsigned long long>(passes), restarts,
                static_cast<unsigned long long>(kSettledPass));
    for (size_t bytes : samples) {
        std::printf(" %zu", bytes);
        highest = std::max(highest, bytes);
    }
    std::printf("\n");
    if (highest - first > kFlatBytes) {
        std::printf("soak: the heap grew by %zu bytes after pass %llu\n", highest - first,
                    static_cast<unsigned long long>(kSettledPass));
        return 1;
    }
    std::printf("soak: the heap stayed flat\n");
    return 0;
}
