// `anim` and `animq`: frame animations from the animation archives, paced against the tick
// count from their start. A player that falls behind by more than a frame skips frames
// (partial frames are not even decoded) and lets the next catch-up marker redraw the key
// frames it passed, so that the picture keeps up with the sound.
#include "gfx/animation.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/enlarge.h"
#include "gfx/jpeg_decoder.h"
#include "script/commands.h"
#include "sound/music_player.h"

#include <algorithm>
#include <array>

namespace orv {

namespace {

// Sounds of this many bytes or more are streamed from the archive instead of read whole.
constexpr uint32_t kStreamedSoundSize = 4000000;
// A frame waits in slices of at most this many ms with messages pumped in between, so that
// a click or the close box is answered at once even during a long frame.
constexpr int64_t kLongestSleep = 50;
// A frame stream larger than this is taken for damage, not read into memory.
constexpr uint32_t kMaxFrameBytes = 64u << 20;
constexpr uint32_t kWhite = 0xFFFFFF;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The coded sound of an animation, read from its entry as the music ring asks for it.
class AnimationSoundSource final : public CodedSource {
public:
    AnimationSoundSource(const Archives& archives, const ArchiveIndex& index, int pos,
                         uint32_t offset, uint32_t size)
        : m_archives(archives), m_index(index), m_pos(pos), m_offset(offset), m_size(size) {}

    bool Read(uint64_t offset, std::span<uint8_t> out) override {
        if (offset > m_size || out.size() > m_size - offset) {
            return false;
        }
        return m_archives.ReadEntryRange(m_index, m_pos, m_offset + offset, out);
    }
    uint64_t Size() const override { return m_size; }

private:
    const Archives& m_archives;
    const ArchiveIndex& m_index;
    int m_pos;
    uint64_t m_offset;
    uint64_t m_size;
};

class Player {
public:
    Player(Engine& engine, AnimationBuffers& buffers, const ArchiveIndex& index, int pos,
           bool enlarged)
        : m_engine(engine), m_gfx(engine.gfx), m_host(engine.Host()), m_buffers(buffers),
          m_entry(buffers.Entry), m_index(index), m_pos(pos), m_enlarged(enlarged) {}

    // Reads the header and tables; false when the entry has nothing to play.
    bool Open() {
        std::array<uint8_t, kAnimationHeaderSize> header{};
        uint64_t entrySize = m_index.Sizes[static_cast<size_t>(m_pos)];
        if (!m_engine.archives.ReadEntryRange(m_index, m_pos, 0, header)) {
            return false;
        }
        uint64_t end = AnimationTablesEnd(header, entrySize);
        if (end == 0) {
            return false;
        }
        m_buffers.Head.resize(static_cast<size_t>(end));
        if (!m_engine.archives.ReadEntryRange(m_index, m_pos, 0, m_buffers.Head) ||
            !ParseAnimationEntry(m_buffers.Head, entrySize, m_entry)) {
            return false;
        }
        m_entrySize = entrySize;
        if (!m_enlarged) {
            return true;
        }
        // The area never exceeds the screen; a width or height under 2 cannot be enlarged.
        int width = std::min(m_entry.Width, kScreenWidth);
        int height = std::min(m_entry.Height, kScreenHeight);
        Rect larger = EnlargedSize(width, height);
        if (larger.Width == 0) {
            return false;
        }
        m_buffers.Area.SetSize(width, height);
        m_buffers.Area.Fill(0);
        m_buffers.Larger.SetSize(larger.Width, larger.Height);
        m_buffers.Larger.Fill(0);
        return true;
    }

    void Play(const AnimationArguments& arguments, bool skip) {
        m_x = arguments.X;
        m_y = arguments.Y;
        m_skip = skip;
        AnimationSoundSource source(m_engine.archives, m_index, m_pos, m_entry.SoundOffset,
                                    m_entry.SoundSize);
        StartSound(source);
        {
            BlockingState& blocking = m_engine.blocking;
            InterruptibleScope interruptible(blocking);
            blocking.InterruptRequest = 0;
            if (m_enlarged) {
                m_gfx.BackBuffer.Fill(kWhite);
            }
            RunFrames();
            ShowLastFrame();
            // The click has been answered; a close request stays for the command to ask.
            if (blocking.InterruptRequest == 1) {
                blocking.InterruptRequest = 0;
            }
        }
        StopSound();
    }

private:
    void StartSound(CodedSource& source) {
        uint32_t size = m_entry.SoundSize;
        if (size == 0) {
            return;
        }
        Sound& sound = m_engine.sound;
        if (size >= kStreamedSoundSize) {
            m_streamed = sound.StartAnimMusic(source) == 2;
            return;
        }
        Bytes data(size);
        if (source.Read(0, data)) {
            sound.PlayAnimSound(data);
            m_played = true;
        }
    }

    void StopSound() {
        if (m_played) {
            m_engine.sound.StopAnimSound();
        }
        if (m_streamed) {
            m_engine.sound.StopMusicQuiet();
        }
    }

    // When frame `pos` is due, in ms from the start. animq's periods are microseconds, so
    // that 30 and 15 frames a second do not drift.
    int64_t Due(int64_t pos) const {
        if (!m_enlarged) {
            return pos * m_entry.FrameTime;
        }
        int64_t period = EnlargedFramePeriod(m_entry.FrameTime);
        return pos * (period / 1000) + pos * (period % 1000) / 1000;
    }

    void RunFrames() {
        const auto count = static_cast<int64_t>(m_entry.Frames.size());
        const int64_t period = m_entry.FrameTime;
        uint32_t start = m_host.GetTickCount();
        int64_t pos = 0, late = 0;
        while (pos < count) {
            const AnimationFrame& frame = m_entry.Frames[static_cast<size_t>(pos)];
            switch (frame.Kind) {
            case anim_frame::Key:
                DrawFrame(frame, 0, 0);
                late = 0;
                break;
            case anim_frame::Partial:
                if (late == 0) {
                    DrawFrame(frame, frame.X, frame.Y);
                }
                break;
            case anim_frame::CatchUp:
                if (late > 0) {
                    CatchUp(pos, late);
                }
                break;
            default:
                break;
            }
            m_host.PumpMessages();
            // Signed and wide: animq's frames fall due later than T ms apart, and a frame
            // ahead of its time must wait, not count as hopelessly late.
            int64_t elapsed = static_cast<uint32_t>(m_host.GetTickCount() - start);
            int64_t d = elapsed - Due(pos);
            if (d > period) {
                late = d / period;
                SleepFor(period - d % period);
                pos += late + 1;
            } else {
                if (d != period) {
                    SleepFor(period - d);
                }
                pos += 1;
                late = 0;
            }
            if (Ends()) {
                break;
            }
        }
    }

    // The key frames between the last frame drawn and a catch-up marker, redrawn from the
    // copies that follow the marker's own position, newest first; a partial frame on the
    // way ends the walk.
    void CatchUp(int64_t pos, int64_t late) {
        const AnimationFrame& marker = m_entry.Frames[static_cast<size_t>(pos)];
        if (!marker.Inside) {
            return;
        }
        uint64_t readAt = marker.Offset;
        for (int64_t k = pos - 1; k >= std::max<int64_t>(pos - late, 0); --k) {
            const AnimationFrame& passed = m_entry.Frames[static_cast<size_t>(k)];
            if (passed.Kind == anim_frame::Partial) {
                break;
            }
            if (passed.Kind != anim_frame::Key) {
                continue;
            }
            if (readAt > m_entrySize || passed.Size > m_entrySize - readAt) {
                break;
            }
            if (Decode(readAt, passed.Size)) {
                Show(0, 0);
            }
            readAt += passed.Size;
        }
    }

    void DrawFrame(const AnimationFrame& frame, int dx, int dy) {
        if (frame.Inside && Decode(frame.Offset, frame.Size)) {
            Show(dx, dy);
        }
    }

    // The coded frame at `offset` into Frame; false for a frame that cannot be read or is
    // damaged (it is skipped, not drawn half).
    bool Decode(uint64_t offset, uint32_t size) {
        if (size == 0 || size > kMaxFrameBytes) {
            return false;
        }
        Bytes& coded = m_buffers.Coded;
        coded.resize(size);
        if (!m_engine.archives.ReadEntryRange(m_index, m_pos, offset, coded)) {
            return false;
        }
        return DecodeJpegPicture(coded, m_buffers.Frame) == JpegStatus::Complete;
    }

    // anim puts the frame straight on PB; animq into its area, then the area enlarged.
    void Show(int dx, int dy) {
        if (!m_enlarged) {
            PresentClipped(m_buffers.Frame, m_x + dx, m_y + dy);
            return;
        }
        const Surface& frame = m_buffers.Frame;
        m_buffers.Area.CopyFrom(frame, Rect{0, 0, frame.Width(), frame.Height()}, dx, dy);
        Enlarge(m_buffers.Area, m_buffers.Larger);
        PresentClipped(m_buffers.Larger, m_x, m_y);
    }

    void PresentClipped(const Surface& source, int x, int y) {
        Rect from{0, 0, source.Width(), source.Height()};
        if (ClipBlit(source, m_gfx.PaintBoxCopy(), from, x, y)) {
            m_gfx.Present(source, from, x, y);
        }
    }

    // anim leaves its last frame in BackBuffer and on PB, also when it was cut short; the
    // white BackBuffer of animq stays as it is.
    void ShowLastFrame() {
        if (m_enlarged) {
            return;
        }
        const AnimationFrame& last = m_entry.Frames.back();
        if (!last.Inside || !Decode(last.Offset, last.Size)) {
            return;
        }
        int dx = last.Kind == anim_frame::Partial ? last.X : 0;
        int dy = last.Kind == anim_frame::Partial ? last.Y : 0;
        const Surface& frame = m_buffers.Frame;
        m_gfx.BackBuffer.CopyFrom(frame, Rect{0, 0, frame.Width(), frame.Height()}, m_x + dx,
                                  m_y + dy);
        PresentClipped(frame, m_x + dx, m_y + dy);
    }

    // A click ends the animation when the script allows it; closing the window always does.
    bool Ends() {
        int32_t request = m_engine.blocking.InterruptRequest;
        if (request != 0 && m_skip) {
            m_engine.vars.S(cell::AnimationCut) = 1;
            return true;
        }
        return request == 2;
    }

    void SleepFor(int64_t ms) {
        while (ms > 0) {
            int64_t step = std::min(ms, kLongestSleep);
            m_host.Sleep(static_cast<uint32_t>(step));
            ms -= step;
            if (ms > 0) {
                m_host.PumpMessages();
                if (Ends()) {
                    return;
                }
            }
        }
    }

    Engine& m_engine;
    Graphics& m_gfx;
    Platform& m_host;
    AnimationBuffers& m_buffers;
    AnimationEntry& m_entry;
    const ArchiveIndex& m_index;
    int m_pos;
    bool m_enlarged;
    uint64_t m_entrySize = 0;
    int m_x = 0;
    int m_y = 0;
    bool m_skip = false;
    bool m_played = false;
    bool m_streamed = false;
};

void RunAnimation(Engine& engine, AnimationBuffers& buffers, std::string_view argument,
                  bool enlarged) {
    AnimationArguments arguments = ReadAnimationArguments(argument);
    const ArchiveIndex* index = nullptr;
    int pos = -1;
    for (const ArchiveIndex& slot : engine.archives.Anim) {
        pos = FindEntry(slot, arguments.Name);
        if (pos >= 0) {
            index = &slot;
            break;
        }
    }
    if (!index) {
        return;
    }
    bool skip = !arguments.Skip.empty() && engine.dispatcher.Evaluate(arguments.Skip) != 0;
    engine.MenusLocked = 1;
    engine.UpdateMenus();
    Player player(engine, buffers, *index, pos, enlarged);
    if (player.Open()) {
        player.Play(arguments, skip);
    }
    engine.MenusLocked = 0;
    engine.UpdateMenus();
}

} // namespace

AnimationArguments ReadAnimationArguments(std::string_view argument) {
    std::array<std::string_view, 4> fields{};
    size_t i = 0;
    for (size_t n = 0; n < fields.size() && i < argument.size(); ++n) {
        while (i < argument.size() && IsBlank(argument[i])) {
            ++i;
        }
        size_t start = i;
        while (i < argument.size() && argument[i] != ',' && !IsBlank(argument[i])) {
            i += cp932::CharLength(argument, i);
        }
        fields[n] = argument.substr(start, std::min(i, argument.size()) - start);
        while (i < argument.size() && IsBlank(argument[i])) {
            ++i;
        }
        if (i < argument.size() && argument[i] == ',') {
            ++i;
        }
    }
    return AnimationArguments{fields[0], ArgumentNumber(fields[1]), ArgumentNumber(fields[2]),
                              fields[3]};
}

int64_t EnlargedFramePeriod(int32_t frameTime) {
    switch (frameTime) {
    case 33:
        return 33333;
    case 15:
        return 66666;
    default:
        return int64_t{frameTime} * 1000;
    }
}

void Graphics::PlayAnimation(std::string_view argument) {
    RunAnimation(m_engine, m_animation, argument, false);
}

void Graphics::PlayEnlargedAnimation(std::string_view argument) {
    RunAnimation(m_engine, m_animation, argument, true);
}

} // namespace orv
