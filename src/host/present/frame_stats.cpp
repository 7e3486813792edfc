// Frame measurements of a benchmark build of the game: the work of each frame
// before its pacing wait, the intervals between frame starts, how many
// pictures were put on the screen since the frame before, the time from
// the start of main to the first presented frame, how late each pacing sleep
// woke, and peak memory. Times are read on the host's clock source.
#include "host/present/frame_stats.h"

#include "host/present/present.h"
#include "system/clock_source.h"
#include "system/frame_clock.h"
#include "system/services.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<float>  workMs;  // frame work, frame start to the pacing wait
std::vector<double> startMs; // clock reading at each frame start
std::vector<int>    shown;   // pictures put on the screen since the frame before
long                shownBefore  = 0;
int64_t             processStart = 0;
double              firstFrameMs = -1.0;
void (*realSwap)()               = nullptr;
std::vector<float> wakeLateUs; // how late each pacing sleep woke, in microseconds
void (*realSleepUntil)(int64_t) = nullptr;
long (*readPeakMemory)()        = nullptr;

void recordWork(double clockMs)
{
    workMs.push_back(static_cast<float>(clockMs - frameStart));
    startMs.push_back(frameStart);
    shown.push_back(static_cast<int>(picturesShown - shownBefore));
    shownBefore = picturesShown;
}

void swapAndNote()
{
    realSwap();
    if (firstFrameMs < 0)
        firstFrameMs = static_cast<double>(clockSource.counterNow() - processStart) * 1000.0 /
                       static_cast<double>(clockSource.counterFrequency());
}

void sleepAndNote(int64_t ticks)
{
    realSleepUntil(ticks);
    const double late = static_cast<double>(clockSource.counterNow() - ticks);
    wakeLateUs.push_back(static_cast<float>(late * 1e6 / clockSource.counterFrequency()));
}

} // namespace

void startFrameStats(long (*peakMemoryKib)())
{
    processStart             = clockSource.counterNow();
    readPeakMemory           = peakMemoryKib;
    frameWorkDone            = recordWork;
    realSwap                 = hostServices.swapBuffers;
    hostServices.swapBuffers = swapAndNote;
    realSleepUntil           = clockSource.sleepUntil;
    clockSource.sleepUntil   = sleepAndNote;
}

void writeFrameStats()
{
    const char* path = std::getenv("SWARM_FRAME_STATS");
    if (!path)
        return;
    // Binary, so that Windows writes the same lines, without carriage returns.
    std::FILE* out = std::fopen(path, "wb");
    if (!out)
        return;
    std::fprintf(out, "first_frame_ms %.3f\npeak_memory_kb %ld\n", firstFrameMs, readPeakMemory());
    // Where the frame clock's 0 lies on the host's counter (CLOCK_MONOTONIC
    // in the SDL host), so that frames can be matched to the benchmark's
    // phases.
    std::fprintf(out, "clock_start_ms %.3f\n",
                 static_cast<double>(frameClock.counterStart) * 1000.0 /
                     static_cast<double>(clockSource.counterFrequency()));
    for (size_t i = 0; i < workMs.size(); ++i)
        std::fprintf(out, "frame %.4f %.4f %d\n", startMs[i], workMs[i], shown[i]);
    for (float late : wakeLateUs)
        std::fprintf(out, "wake_late_us %.1f\n", late);
    std::fclose(out);
}
