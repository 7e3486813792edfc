// Web Audio for the game's sounds. Each file is read and checked as natively
// (bounded, a WAV of plain samples, at most ten seconds), converted here to
// floats and handed to the page's player (shell/page.js, swarmAudio), which
// keeps one buffer per sound and one playing source per channel.
#include "host/web/page/web_audio.h"

#include "sound/sound_file.h"
#include "sound/wav_format.h"

#include <emscripten/emscripten.h>

#include <vector>

// clang-format off
EM_JS(int, webAudioOpen, (int fadeMs), { return swarmAudio.open(fadeMs / 1000) ? 1 : 0; });
EM_JS(void, webAudioStore, (int id, int rate, int channels, int frames, const float* samples), {
    swarmAudio.store(id, rate, channels, HEAPF32.subarray(samples >> 2, (samples >> 2) + frames * channels));
});
EM_JS(void, webAudioPlay, (int id, int channel), { swarmAudio.play(id, channel); });
EM_JS(void, webAudioClose, (), { swarmAudio.close(); });
// clang-format on

namespace {

int loadedCount = 0;

bool open()
{
    loadedCount = 0;
    return webAudioOpen(replacedSoundFadeMs) != 0;
}

int32_t load(const char* fileName, int32_t)
{
    BoundedFile file;
    WavSamples  wav = {};
    if (!readSoundFile(fileName, file) || !soundBytesUsable(file.bytes.data(), file.bytes.size()) ||
        !parseWav(file.bytes.data(), file.bytes.size(), &wav))
        return 0;
    // Interleaved floats, as the page's player splits them into channels.
    std::vector<float> samples(wav.frames * size_t(wav.channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = wavSample(wav, i);
    const int id = ++loadedCount;
    webAudioStore(id, wav.rate, wav.channels, static_cast<int>(wav.frames), samples.data());
    return id;
}

void play(int32_t id, int32_t channel) { webAudioPlay(id, channel); }

void close() { webAudioClose(); }

} // namespace

const SoundBackend webAudioBackend = {open, load, play, close};
