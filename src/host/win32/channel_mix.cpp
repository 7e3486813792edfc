// Mixing the four game channels in software, with the replaced sound's fade.
#include "host/win32/channel_mix.h"

#include <algorithm>
#include <cmath>

MixSound convertWav(const WavSamples& wav)
{
    MixSound out;
    if (wav.rate <= 0 || wav.channels <= 0 || wav.frames == 0)
        return out;
    const auto sample = [&](std::size_t frame, int side) {
        const int channel = wav.channels == 1 ? 0 : side;
        return wavSample(wav, frame * static_cast<std::size_t>(wav.channels) +
                                  static_cast<std::size_t>(channel));
    };
    const double      step   = static_cast<double>(wav.rate) / mixRate;
    const std::size_t frames = static_cast<std::size_t>(std::floor((wav.frames - 1) / step)) + 1;
    out.resize(frames * 2);
    for (std::size_t f = 0; f < frames; ++f) {
        const double      at   = f * step;
        const std::size_t from = static_cast<std::size_t>(at);
        const std::size_t next = std::min(from + 1, wav.frames - 1);
        const float       part = static_cast<float>(at - from);
        for (int side = 0; side < 2; ++side)
            out[f * 2 + side] = sample(from, side) * (1.0f - part) + sample(next, side) * part;
    }
    return out;
}

void startMixSound(ChannelMix* mix, const MixSound* sound, int channel)
{
    if (!sound || sound->empty() || channel < 1 || channel > mixGameChannels)
        return;
    MixVoice* const first  = &mix->voices[(channel - 1) * mixVoicesPerGame];
    MixVoice*       target = nullptr;
    MixVoice*       oldest = first;
    for (MixVoice* v = first; v < first + mixVoicesPerGame; ++v) {
        if (!v->sound) {
            if (!target)
                target = v;
            continue;
        }
        if (v->fadeLeft < 0)
            v->fadeLeft = mixFadeFrames;
        if (v->fadeLeft < oldest->fadeLeft || !oldest->sound)
            oldest = v;
    }
    *(target ? target : oldest) = MixVoice{sound, 0, -1};
}

namespace {

// Adds `frames` frames of the voice into `sum`; the voice ends with its sound
// or its fade.
void mixVoice(MixVoice& v, float* sum, int frames)
{
    for (int f = 0; f < frames && v.sound; ++f) {
        if (v.frame >= v.sound->size() / 2 || v.fadeLeft == 0) {
            v = MixVoice{};
            return;
        }
        const float gain = v.fadeLeft < 0 ? 1.0f : static_cast<float>(v.fadeLeft) / mixFadeFrames;
        sum[f * 2] += (*v.sound)[v.frame * 2] * gain;
        sum[f * 2 + 1] += (*v.sound)[v.frame * 2 + 1] * gain;
        ++v.frame;
        if (v.fadeLeft > 0)
            --v.fadeLeft;
    }
}

} // namespace

void mixInto(ChannelMix* mix, int16_t* out, int frames)
{
    constexpr int chunk = 256;
    float         sum[chunk * 2];
    for (int done = 0; done < frames; done += chunk) {
        const int n = std::min(chunk, frames - done);
        std::fill(sum, sum + n * 2, 0.0f);
        for (MixVoice& v : mix->voices)
            mixVoice(v, sum, n);
        for (int i = 0; i < n * 2; ++i)
            out[done * 2 + i] =
                static_cast<int16_t>(std::lround(std::clamp(sum[i], -1.0f, 1.0f) * 32767.0f));
    }
}
