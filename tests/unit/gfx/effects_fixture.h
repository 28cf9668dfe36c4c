#pragma once
// An engine for the tests of transitions and screen effects: a game with the pictures a test
// adds, on a platform that can fall behind the frame clock, click, ask to close or take a
// copy of PB at chosen virtual times, and that checks every copy the engine makes to PB.

#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv::test {

class EffectPlatform : public FakePlatform {
public:
    void PumpMessages() override {
        FakePlatform::PumpMessages();
        // A slow machine: every pump finds the clock `Lag` ms further on.
        Now += Lag;
        if (ClickAt && Now >= *ClickAt) {
            ClickAt.reset();
            Engine->PBMouseDown(MouseButton::Left, 400, 300);
            Engine->PBMouseUp(MouseButton::Left, 400, 300);
        }
        if (CloseAt && Now >= *CloseAt) {
            CloseAt.reset();
            CloseMainWindow();
        }
        if (CaptureAt && Now >= *CaptureAt) {
            CaptureAt.reset();
            Captured.Allocate(kScreenWidth, kScreenHeight);
            Captured.CopyFrom(PB, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        }
        DeliverTicks();
        if (OnPump) {
            OnPump();
        }
    }

    // Every copy must lie inside its source and inside PB: nothing outside a surface is read
    // or written on the way to the screen.
    void Present(const Surface& source, Rect from, int x, int y) override {
        bool inside = from.Width > 0 && from.Height > 0 && from.X >= 0 && from.Y >= 0 &&
                      from.X + from.Width <= source.Width() &&
                      from.Y + from.Height <= source.Height() && x >= 0 && y >= 0 &&
                      x + from.Width <= kScreenWidth && y + from.Height <= kScreenHeight;
        if (!inside) {
            ++OutsideCopies;
        }
        FakePlatform::Present(source, from, x, y);
        if (OnPresent) {
            OnPresent(source, from, x, y);
        }
    }

    uint64_t Lag = 0;
    std::optional<uint64_t> ClickAt;
    std::optional<uint64_t> CloseAt;
    std::optional<uint64_t> CaptureAt;
    Surface Captured;
    int OutsideCopies = 0;
    std::function<void()> OnPump;
    std::function<void(const Surface&, Rect, int, int)> OnPresent;
};

// A picture whose every pixel tells where it is: blue the low byte of x, red the low byte of
// y, green the high bits of both (x in the low nibble, y in the high one).
inline uint32_t PositionColour(int x, int y) {
    uint32_t green = static_cast<uint32_t>((x >> 8) & 0xF) | static_cast<uint32_t>((y >> 8) & 0xF)
                                                                 << 4;
    return static_cast<uint32_t>(x & 0xFF) << 16 | green << 8 | static_cast<uint32_t>(y & 0xFF);
}
inline Point PositionOf(uint32_t colour) {
    int green = static_cast<int>(colour >> 8 & 0xFF);
    return Point{static_cast<int>(colour >> 16 & 0xFF) | (green & 0xF) << 8,
                 static_cast<int>(colour & 0xFF) | (green >> 4) << 8};
}
inline Surface PositionPicture(int width, int height) {
    Surface picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, y, PositionColour(x, y));
        }
    }
    return picture;
}

inline bool SamePixels(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return false;
    }
    for (int y = 0; y < a.Height(); ++y) {
        if (std::memcmp(a.Row(y), b.Row(y), static_cast<size_t>(a.RowBytes())) != 0) {
            return false;
        }
    }
    return true;
}

class EffectsTest : public testing::Test {
protected:
    void AddPicture(const std::string& name, const Surface& picture) {
        m_pictures[name] = *EncodeGraPicture(picture, {});
    }
    void AddPicture(const std::string& name, int width, int height, uint32_t bgr) {
        Surface picture(width, height);
        picture.Fill(bgr);
        AddPicture(name, picture);
    }

    // A text resource of the game: its lines, each ended by a NUL as the archive keeps them.
    void AddText(const std::string& name, const std::vector<std::string>& lines) {
        Bytes text;
        for (const std::string& line : lines) {
            text.insert(text.end(), line.begin(), line.end());
            text.push_back(0);
        }
        m_texts[name] = text;
    }

    Engine& Start() {
        std::vector<ArchiveEntryInput> pictures;
        for (auto& [name, bytes] : m_pictures) {
            pictures.push_back({name, bytes});
        }
        WriteFile(m_dir / "ov_gra.orv", MakeArchive(pictures));
        Bytes main = {'!', 'V', '0', '0', '0', '=', '1', 0};
        m_texts["_config"];
        m_texts["main"] = main;
        std::vector<ArchiveEntryInput> texts;
        for (auto& [name, bytes] : m_texts) {
            texts.push_back({name, bytes});
        }
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive(texts));
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        return *m_engine;
    }

    // Old and new screens of a transition: PB and PreviousSurface show `old`, BackBuffer holds
    // `fresh`.
    void PrepareScreens(const Surface& old, const Surface& fresh) {
        Graphics& gfx = m_engine->gfx;
        gfx.PreviousSurface.CopyFrom(old, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        gfx.BackBuffer.CopyFrom(fresh, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        gfx.PresentWhole(gfx.PreviousSurface);
    }

    uint32_t Shown(int x, int y) const { return m_platform.PB.Pixel(x, y); }

    TempDir m_dir;
    std::map<std::string, Bytes> m_pictures;
    std::map<std::string, Bytes> m_texts;
    EffectPlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

} // namespace orv::test
