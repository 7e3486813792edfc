// Frame measurements of a benchmark build of the game (SWARM_FRAME_STATS).
#pragma once

// Starts recording frame work times, frame intervals and the time to the
// first presented frame; written as text to the file named by the
// SWARM_FRAME_STATS environment variable when the game ends. Call it once
// the host's clock and services are installed. `peakMemoryKib` is the
// host's reading of the process's peak memory.
void startFrameStats(long (*peakMemoryKib)());
void writeFrameStats();
