// The headless host: its virtual clock and calendar, its capturing swap and
// its recording sound backend, as the replay tool and the tests use them.
#include "host/headless/headless_host.h"
#include "process.h"

#include "gfx/gl.h"
#include "sound/sound.h"
#include "system/clock_source.h"
#include "system/frame_clock.h"
#include "system/services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Host : public ::testing::Test {
  protected:
    void SetUp() override
    {
        savedServices = hostServices;
        savedClock    = clockSource;
        savedBackend  = soundBackend;
        installHeadlessHost(5000);
    }
    void TearDown() override
    {
        stopSound();
        hostServices = savedServices;
        clockSource  = savedClock;
        soundBackend = savedBackend;
        headlessHost = HeadlessHost{};
    }
    HostServices        savedServices{};
    ClockSource         savedClock{};
    const SoundBackend* savedBackend = nullptr;
};

TEST_F(Host, ClockAndCalendarFollowThePass)
{
    startFrameClock();
    EXPECT_EQ(readFrameClock(), 0.0);
    headlessHost.pass = 250;
    EXPECT_NEAR(readFrameClock(), 2500.0, 0.01) << "10 ms per pass";
    EXPECT_EQ(hostServices.calendarSeconds(), 5002) << "one second per 100 passes";
    headlessHost.pass = 299;
    EXPECT_EQ(hostServices.calendarSeconds(), 5002);

    // Frames are not paced: the frame end returns at once, however early (a
    // paced wait would run into the test's time-out here).
    frameStart = 1e9f;
    waitForFrameEnd();
}

// The page takes the virtual clock alone: its swap and sound stay its own.
TEST_F(Host, TheClockAloneLeavesSwapAndSoundAsTheyWere)
{
    const SoundBackend* before = soundBackend;
    hostServices.swapBuffers   = [] {};
    soundBackend               = nullptr;
    const auto ownSwap         = hostServices.swapBuffers;
    headlessHost.pass          = 7;
    installVirtualClock(6000);
    EXPECT_EQ(hostServices.swapBuffers, ownSwap);
    EXPECT_EQ(soundBackend, nullptr);
    EXPECT_EQ(headlessHost.pass, 0u) << "the clock starts at pass 0";
    headlessHost.pass = 100;
    EXPECT_EQ(hostServices.calendarSeconds(), 6001);
    soundBackend = before;
}

TEST_F(Host, SwapKeepsThePictureOnlyWhenAsked)
{
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    hostServices.swapBuffers();
    EXPECT_FALSE(headlessHost.pictureTaken);

    std::vector<unsigned char> picture(640 * 480 * 3, 7);
    headlessHost.picture = picture.data();
    hostServices.swapBuffers();
    EXPECT_TRUE(headlessHost.pictureTaken);
    for (size_t i : {size_t{0}, size_t{3 * (640 * 240 + 320)}, picture.size() - 3}) {
        EXPECT_EQ(picture[i], 0);
        EXPECT_EQ(picture[i + 1], 255);
        EXPECT_EQ(picture[i + 2], 0);
    }
    headlessHost.picture = nullptr;
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

TEST_F(Host, RecordsWhatTheGamePlaysWhetherOrNotItsFilesLoad)
{
    startSound();
    const Sound first   = loadSound("NoSuchFile.wav", 2);
    const Sound second  = loadSound("Other.wav", 1);
    const Sound unnamed = {nullptr, 3, 0};
    EXPECT_NE(first.id, 0) << "a missing file still loads, and is noted as silent";
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(headlessHost.silentSounds, (std::vector<std::string>{"NoSuchFile.wav", "Other.wav"}));

    playSound(first, 2);
    playSound(second, 1);
    playSound(unnamed, 3); // never loaded: silent and not recorded
    playSound(first, 4);
    ASSERT_EQ(headlessHost.soundCalls.size(), 3u);
    EXPECT_EQ(headlessHost.soundCalls[0].channel, 2);
    EXPECT_EQ(headlessHost.soundCalls[0].fileName, "NoSuchFile.wav");
    EXPECT_EQ(headlessHost.soundCalls[1].channel, 1);
    EXPECT_EQ(headlessHost.soundCalls[1].fileName, "Other.wav");
    EXPECT_EQ(headlessHost.soundCalls[2].channel, 4) << "the channel played on, not the loaded one";

    // After the sound stops, old handles make no noise and no record.
    stopSound();
    playSound(first, 2);
    EXPECT_EQ(headlessHost.soundCalls.size(), 3u);
}

TEST_F(Host, NotesTheSoundsTheGamesMixerWouldRefuse)
{
    // The game's own sound, and the same with its rate claimed as 1 Hz.
    TempDir           dir;
    const std::string good = readFile(std::string(SWARM_DATA_DIR) + "/PlayerShot.wav");
    ASSERT_GT(good.size(), 44u);
    std::string slow = good;
    slow.replace(24, 4, std::string("\x01\0\0\0", 4));
    writeFile(dir.file("Good.wav"), good);
    writeFile(dir.file("Slow.wav"), slow);

    startSound();
    loadSound(dir.file("Good.wav").c_str(), 2);
    const Sound slowSound = loadSound(dir.file("Slow.wav").c_str(), 3);
    EXPECT_EQ(headlessHost.silentSounds, std::vector<std::string>{dir.file("Slow.wav")});
    playSound(slowSound, 3);
    EXPECT_EQ(headlessHost.soundCalls.size(), 1u) << "what the game asked for is still recorded";
}

} // namespace
