// The Win32 host's sound reaches the device: with the ALSA device writing
// what it plays to a file (tests/windows/sound.sh), a sound played on a game
// channel comes out as samples that are not silent, and the backend closes.
//   swarm-sound-test.exe CAPTURE_FILE
#include "host/win32/sound_output.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The loudest 16-bit sample in the capture so far.
int loudestCaptured(const wchar_t* capture)
{
    const HANDLE file = CreateFileW(capture, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    int   loudest = 0;
    short samples[4096];
    DWORD read = 0;
    while (ReadFile(file, samples, sizeof samples, &read, nullptr) && read > 0)
        for (DWORD i = 0; i < read / 2; ++i)
            loudest = samples[i] < 0 ? (-samples[i] > loudest ? -samples[i] : loudest)
                                     : (samples[i] > loudest ? samples[i] : loudest);
    CloseHandle(file);
    return loudest;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;
    // 0.1 s of a square wave at half the full level, 16-bit mono at 22050 Hz.
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"swarm-sound-" + std::to_wstring(GetCurrentProcessId());
    const unsigned      frames   = 2205;
    const unsigned char header[] = {'R', 'I', 'F',  'F',  0,   0,   0,    0,    'W', 'A', 'V',
                                    'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                    1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,   2,
                                    0,   16,  0,    'd',  'a', 't', 'a',  0,    0,   0,   0};
    std::string         wav(reinterpret_cast<const char*>(header), sizeof header);
    const unsigned      dataBytes = frames * 2, riffBytes = dataBytes + 36;
    for (int i = 0; i < 4; ++i) {
        wav[4 + i]  = static_cast<char>(riffBytes >> (8 * i));
        wav[40 + i] = static_cast<char>(dataBytes >> (8 * i));
    }
    for (unsigned f = 0; f < frames; ++f) {
        const short level = (f / 50) % 2 ? 16384 : -16384;
        wav += static_cast<char>(level & 0xFF);
        wav += static_cast<char>((level >> 8) & 0xFF);
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    const HANDLE file    = CreateFileW((folder + L"\\PlayerShot.wav").c_str(), GENERIC_WRITE, 0,
                                       nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD        written = 0;
    WriteFile(file, wav.data(), static_cast<DWORD>(wav.size()), &written, nullptr);
    CloseHandle(file);
    setSoundFolder(folder);

    if (!waveOutSoundBackend.open()) {
        std::printf("FAIL: the sound device does not open\n");
        return 1;
    }
    const int32_t id = waveOutSoundBackend.load("PlayerShot.wav", 2);
    waveOutSoundBackend.play(id, 2);
    // Waits for the sound in the capture; the device plays at its own pace.
    int loudest = 0;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000 && loudest < 8000;)
        loudest = loudestCaptured(argv[1]);
    waveOutSoundBackend.close();
    if (id != 1 || loudest < 8000) {
        std::printf("FAIL: the sound (id %d) is not heard: the loudest sample is %d\n", id,
                    loudest);
        return 1;
    }
    std::printf("a sound played on a game channel reaches the device\n");
    return 0;
}
