// Sound through waveOut: a thread keeps a few short buffers queued, each
// mixed from the game channels as the device hands it back.
#include "host/win32/sound_output.h"

#include "host/win32/channel_mix.h"
#include "host/win32/win32_host.h"
#include "sound/sound_file.h"

#include <windows.h>

#include <memory>
#include <mmsystem.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int bufferFrames = 512; // about 12 ms each: a shot is heard when it is fired
constexpr int bufferCount  = 4;

HWAVEOUT                               device = nullptr;
HANDLE                                 ready  = nullptr; // set by the device as buffers return
WAVEHDR                                headers[bufferCount];
int16_t                                samples[bufferCount][bufferFrames * 2];
std::thread                            feeder;
std::mutex                             lock; // guards `mix`, shared with the feeder
ChannelMix                             mix;
bool                                   stopping = false; // under `lock`
std::vector<std::unique_ptr<MixSound>> sounds;           // sound id n is sounds[n - 1]
std::wstring                           soundFolder = L".";

void logFailure(const char* what, MMRESULT result)
{
    logLine(std::string(what) + " (waveOut error " + std::to_string(result) +
            "); playing silently");
}

// Mixes into every buffer the device has handed back and queues it again.
void feed()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(lock);
            if (stopping)
                return;
            for (WAVEHDR& header : headers) {
                if (!(header.dwFlags & WHDR_DONE))
                    continue;
                mixInto(&mix, reinterpret_cast<int16_t*>(header.lpData), bufferFrames);
                header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
                waveOutWrite(device, &header, sizeof header);
            }
        }
        WaitForSingleObject(ready, 50);
    }
}

bool waveOpen()
{
    if (waveOutGetNumDevs() == 0) {
        logLine("no sound device; playing silently");
        return false;
    }
    WAVEFORMATEX format    = {};
    format.wFormatTag      = WAVE_FORMAT_PCM;
    format.nChannels       = 2;
    format.nSamplesPerSec  = mixRate;
    format.wBitsPerSample  = 16;
    format.nBlockAlign     = 4;
    format.nAvgBytesPerSec = mixRate * 4;
    ready                  = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!ready)
        return false;
    const MMRESULT opened = waveOutOpen(&device, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(ready), 0, CALLBACK_EVENT);
    if (opened != MMSYSERR_NOERROR) {
        logFailure("cannot open the sound device", opened);
        CloseHandle(ready);
        ready  = nullptr;
        device = nullptr;
        return false;
    }
    mix = ChannelMix{};
    for (int b = 0; b < bufferCount; ++b) {
        headers[b]                = WAVEHDR{};
        headers[b].lpData         = reinterpret_cast<LPSTR>(samples[b]);
        headers[b].dwBufferLength = sizeof samples[b];
        waveOutPrepareHeader(device, &headers[b], sizeof headers[b]);
        headers[b].dwFlags |= WHDR_DONE; // free for the feeder's first pass
    }
    stopping = false;
    feeder   = std::thread(feed);
    return true;
}

int32_t waveLoad(const char* fileName, int32_t)
{
    // The files are beside the program, not in the working directory, which
    // holds the high score.
    wchar_t     current[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
    BoundedFile file;
    const bool  read = SetCurrentDirectoryW(soundFolder.c_str()) && readSoundFile(fileName, file);
    if (length > 0 && length < MAX_PATH)
        SetCurrentDirectoryW(current);
    WavSamples wav = {};
    if (!read || !soundBytesUsable(file.bytes.data(), file.bytes.size()) ||
        !parseWav(file.bytes.data(), file.bytes.size(), &wav))
        return 0;
    auto sound = std::make_unique<MixSound>(convertWav(wav));
    if (sound->empty())
        return 0;
    std::lock_guard<std::mutex> guard(lock);
    sounds.push_back(std::move(sound));
    return static_cast<int32_t>(sounds.size());
}

void wavePlay(int32_t id, int32_t channel)
{
    if (id < 1 || static_cast<std::size_t>(id) > sounds.size())
        return;
    std::lock_guard<std::mutex> guard(lock);
    startMixSound(&mix, sounds[static_cast<std::size_t>(id) - 1].get(), channel);
}

void waveClose()
{
    if (!device)
        return;
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    SetEvent(ready);
    feeder.join();
    waveOutReset(device);
    for (WAVEHDR& header : headers)
        waveOutUnprepareHeader(device, &header, sizeof header);
    waveOutClose(device);
    CloseHandle(ready);
    device = nullptr;
    ready  = nullptr;
    mix    = ChannelMix{};
    sounds.clear();
}

} // namespace

void setSoundFolder(const std::wstring& folder) { soundFolder = folder; }

const SoundBackend waveOutSoundBackend = {waveOpen, waveLoad, wavePlay, waveClose};
