// The stream codec's encoder. Each byte is the code that takes the decoder's running value
// closest to the sample: the nearest delta step times the scale, or the nearest absolute
// value. The scale is the one of 1..255 under which that choice leaves the least squared
// error: over the whole sound when it is short, over excerpts spread across it otherwise.
#include "sound/wady.h"
#include "sound/wady_codes.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>

namespace orv {

namespace {

// Samples each trial scale is measured on: the whole of a sound effect or a short tune,
// and enough of a long piece of music that its loud and quiet parts all count.
constexpr size_t kTrialSamples = 1 << 16;
constexpr size_t kTrialExcerpts = 32;

// The delta steps before the scale, in order, and for every half unit of a step (from
// -1000.5 to 1000.5) the one nearest to it. Scaling keeps the order and the distances'
// ratios, so under any scale the step nearest to a difference d is the one nearest to
// d / scale, and that is found with one division instead of a search.
struct StepTable {
    static constexpr int32_t kHalfUnits = 2001;
    std::array<int16_t, 127> Steps{};
    std::array<uint8_t, 127> Bytes{};
    std::array<uint8_t, 2 * kHalfUnits + 1> Nearest{};

    StepTable() {
        std::array<std::pair<int16_t, uint8_t>, 127> steps{};
        size_t n = 0;
        for (size_t b = 0; b < 128; ++b) {
            if (b != 64) { // the negative of 0
                steps[n++] = {wady::DeltaTable1[b], static_cast<uint8_t>(b)};
            }
        }
        std::sort(steps.begin(), steps.end());
        for (size_t i = 0; i < steps.size(); ++i) {
            Steps[i] = steps[i].first;
            Bytes[i] = steps[i].second;
        }
        // The half unit q holds x in [q / 2, (q + 1) / 2); no midpoint between two steps
        // falls strictly inside it, so its middle decides for all of it.
        size_t i = 0;
        for (int32_t q = -kHalfUnits; q <= kHalfUnits; ++q) {
            double x = q / 2.0 + 0.25;
            while (i + 1 < Steps.size() && std::abs(Steps[i + 1] - x) <= std::abs(Steps[i] - x)) {
                ++i;
            }
            Nearest[static_cast<size_t>(q + kHalfUnits)] = static_cast<uint8_t>(i);
        }
    }
};

const StepTable& Steps() {
    static const StepTable table;
    return table;
}

int32_t FloorDiv(int32_t a, int32_t b) {
    int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The bytes of one scale.
class CodeBook {
public:
    explicit CodeBook(int32_t scale) : m_table(Steps()), m_scale(scale) {
        m_reach = 1000 * scale + 32768;
    }

    // The byte that takes `running` closest to `want`; `running` becomes what it reaches.
    uint8_t Nearest(int16_t& running, int32_t want) const {
        // The absolute bytes set multiples of 512 from -32768 to 32256.
        int32_t k = std::clamp((want + 256) >> 9, -64, 63);
        uint8_t best = static_cast<uint8_t>(0x80 | (k & 0x7F));
        int16_t reached = static_cast<int16_t>(k * 512);
        int32_t bestError = std::abs(reached - want);
        // A step may also arrive by wrapping around the 16-bit range.
        int32_t direct = want - running;
        for (int32_t wrap = -4 * 65536; wrap <= 4 * 65536; wrap += 65536) {
            int32_t difference = direct + wrap;
            if (difference < -m_reach || difference > m_reach) {
                continue;
            }
            int32_t q = std::clamp(FloorDiv(2 * difference, m_scale), -StepTable::kHalfUnits,
                                   StepTable::kHalfUnits);
            size_t i = m_table.Nearest[static_cast<size_t>(q + StepTable::kHalfUnits)];
            int16_t value = wady::Wrap16(running + m_table.Steps[i] * m_scale);
            int32_t error = std::abs(value - want);
            if (error < bestError) {
                bestError = error;
                reached = value;
                best = m_table.Bytes[i];
            }
        }
        running = reached;
        return best;
    }

private:
    const StepTable& m_table;
    int32_t m_scale;
    int32_t m_reach;
};

// The squared error of coding `samples` under `book` from the running values `running`,
// stopping once it passes `limit`.
double TrialError(const CodeBook& book, std::span<const int16_t> samples, size_t channels,
                  std::array<int16_t, 2> running, double limit) {
    double sum = 0;
    size_t channel = 0;
    for (int16_t sample : samples) {
        int16_t& value = running[channel];
        book.Nearest(value, sample);
        double error = value - sample;
        sum += error * error;
        channel = channels == 2 ? channel ^ 1 : 0;
        if (sum >= limit) { // a tie does not replace the scale found first
            break;
        }
    }
    return sum;
}

uint8_t ChooseScale(std::span<const int16_t> samples, size_t channels) {
    struct Excerpt {
        std::span<const int16_t> Samples;
        std::array<int16_t, 2> Running;
    };
    std::vector<Excerpt> excerpts;
    if (samples.size() <= kTrialSamples) {
        excerpts.push_back({samples, {0, 0}});
    } else {
        // Excerpts begin on a frame, from running values that the encoder would have come
        // close to: the samples just before.
        size_t length = kTrialSamples / kTrialExcerpts / channels * channels;
        size_t stride = (samples.size() - length) / (kTrialExcerpts - 1) / channels * channels;
        for (size_t i = 0; i < kTrialExcerpts; ++i) {
            size_t start = i * stride;
            std::array<int16_t, 2> running{};
            if (start >= channels) {
                running[0] = samples[start - channels];
                running[1] = channels == 2 ? samples[start - 1] : 0;
            }
            excerpts.push_back({samples.subspan(start, length), running});
        }
    }
    uint8_t best = 1;
    double bestError = std::numeric_limits<double>::max();
    for (int32_t scale = 1; scale <= 255; ++scale) {
        CodeBook book(scale);
        double error = 0;
        for (const auto& excerpt : excerpts) {
            error += TrialError(book, excerpt.Samples, channels, excerpt.Running,
                                bestError - error);
            if (error >= bestError) {
                break;
            }
        }
        if (error < bestError) {
            bestError = error;
            best = static_cast<uint8_t>(scale);
        }
    }
    return best;
}

} // namespace

Bytes EncodeStreamSound(const PcmClip& pcm, std::optional<size_t> loopFrame,
                        uint32_t framesPerBlock) {
    auto header = wady::ClipHeader(pcm);
    size_t frames = pcm.Frames();
    auto channels = static_cast<size_t>(pcm.Channels);
    // The PCM size is the largest of the header's 32-bit counts.
    if (!header || frames > 0xFFFFFFFFu / (2 * channels)) {
        return {};
    }
    std::span<const int16_t> samples(pcm.Samples.data(), frames * channels);
    header->Scale = ChooseScale(samples, channels);
    header->FramesPerBlock =
        std::clamp<uint32_t>(framesPerBlock, 1, MaxStreamFramesPerBlock(pcm.Channels));
    header->DataLength = static_cast<uint32_t>(samples.size());
    header->Frames = static_cast<uint32_t>(frames);
    header->PcmBytes = static_cast<uint32_t>(samples.size() * 2);
    size_t loop = loopFrame && *loopFrame < frames ? *loopFrame : 0;
    header->LoopStart = static_cast<uint32_t>(loop * channels);

    Bytes out = WriteWadyHeader(*header);
    out.resize(kWadyHeaderSize + samples.size());
    uint8_t* coded = out.data() + kWadyHeaderSize;
    CodeBook book(header->Scale);
    std::array<int16_t, 2> running{};
    for (size_t f = 0; f < frames; ++f) {
        if (f == loop) {
            // The player restores these before it decodes the loop's first byte again.
            header->LoopLeft = running[0];
            header->LoopRight = running[1];
        }
        for (size_t c = 0; c < channels; ++c) {
            size_t i = f * channels + c;
            coded[i] = book.Nearest(running[c], samples[i]);
        }
    }
    Bytes finished = WriteWadyHeader(*header);
    std::copy(finished.begin(), finished.end(), out.begin());
    return out;
}

} // namespace orv
