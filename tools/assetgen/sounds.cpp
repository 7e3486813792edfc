// Synthesises the five sound effects from oscillators and filtered noise.
#include "sounds.h"

#include "dmath.h"
#include "sound/sound_effects.h"

#include <algorithm>
#include <cmath>

namespace {

using Wave        = std::vector<double>;
const double rate = sampleRate;

Wave silence(double seconds) { return Wave(static_cast<size_t>(seconds * rate), 0.0); }

double softSquare(double phase)
{
    double s = dm::sinD(2 * dm::PI * phase) * 2.2;
    return std::max(-1.0, std::min(1.0, s));
}

// One-pole low-pass coefficient for a cut-off frequency.
double lowPass(double hz) { return 1.0 - dm::expD(-2 * dm::PI * hz / rate); }

double semitone(double n) { return dm::expD(n * 0.69314718055994530942 / 12.0); }

Wave playerShot()
{
    Wave   w     = silence(0.15);
    double phase = 0, phase2 = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = i / rate;
        double f = 600 + 2300 * dm::expD(-t * 28);
        phase += f / rate;
        phase2 += f * 1.503 / rate;
        double env = dm::expD(-t * 18);
        w[i]       = env * (0.7 * softSquare(phase) + 0.3 * dm::sinD(2 * dm::PI * phase2));
    }
    return w;
}

Wave enemyShot()
{
    Wave   w     = silence(0.22);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = i / rate;
        double f = (230 + 700 * dm::expD(-t * 14)) * (1 + 0.08 * dm::sinD(2 * dm::PI * 38 * t));
        phase += f / rate;
        double saw = 2 * (phase - std::floor(phase)) - 1;
        double env = std::min(1.0, t / 0.01) * dm::expD(-t * 9);
        w[i]       = env * (0.6 * saw + 0.4 * dm::sinD(2 * dm::PI * phase * 0.5));
    }
    return w;
}

Wave enemyExplosion()
{
    Wave    w = silence(0.4);
    dm::Rng rng(7);
    double  held = 0, low = 0, band = 0, thump = 0;
    int     hold = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = i / rate;
        // Sample-and-hold noise whose hold grows: a crunch that coarsens as it dies.
        if (hold-- <= 0) {
            held = rng.uniform() * 2 - 1;
            hold = 1 + static_cast<int>(t * 40);
        }
        low += lowPass(5000 * dm::expD(-t * 6) + 200) * (held - low);
        band += lowPass(900) * (low - band);
        thump += 2 * dm::PI * (40 + 120 * dm::expD(-t * 20)) / rate;
        double env = std::min(1.0, t / 0.004) * dm::expD(-t * 9);
        w[i]       = env * (0.75 * low + 0.35 * band + 0.5 * dm::sinD(thump) * dm::expD(-t * 12));
    }
    return w;
}

Wave extraShip()
{
    Wave w = silence(0.8);
    // A rising major arpeggio, the last note held, with a soft echo.
    const double notes[] = {0, 4, 7, 12, 16, 19, 24};
    const double step    = 0.075;
    for (int n = 0; n < 7; ++n) {
        double start = n * step, length = n == 6 ? 0.8 - start : step * 2.2;
        double f     = 523.25 * semitone(notes[n]);
        double phase = 0;
        for (size_t i = static_cast<size_t>(start * rate); i < w.size(); ++i) {
            double t = i / rate - start;
            if (t > length)
                break;
            phase += f / rate;
            double env = std::min(1.0, t / 0.005) * dm::expD(-t * (n == 6 ? 4.0 : 10.0));
            double tri = 4 * std::fabs(phase - std::floor(phase + 0.5)) - 1;
            w[i] += env * (0.55 * tri + 0.45 * dm::sinD(2 * dm::PI * phase * 2) * 0.5);
        }
    }
    size_t delay = static_cast<size_t>(0.11 * rate);
    for (size_t i = w.size(); i-- > delay;)
        w[i] += 0.3 * w[i - delay];
    return w;
}

Wave shipExplosion()
{
    Wave    w = silence(1.2);
    dm::Rng rng(13);
    double  brown = 0, low = 0, crackle = 0, phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t     = i / rate;
        double white = rng.uniform() * 2 - 1;
        brown        = brown * 0.995 + white * 0.1;
        low += lowPass(180 + 1800 * dm::expD(-t * 5)) * (brown - low);
        if (rng.uniform() < 0.004 * dm::expD(-t * 3))
            crackle = rng.uniform() * 2 - 1;
        crackle *= 0.995;
        phase += 2 * dm::PI * (28 + 70 * dm::expD(-t * 3)) / rate;
        double env = std::min(1.0, t / 0.006) * (0.35 + 0.65 * dm::expD(-t * 2.5)) * (1 - t / 1.2);
        w[i] = env * (1.2 * low + 0.35 * crackle + 0.45 * dm::sinD(phase) * dm::expD(-t * 1.5));
    }
    return w;
}

// Scales to the wanted peak, fades both ends and converts to 16-bit samples.
std::vector<int16_t> finish(Wave w, double peak)
{
    double top = 0;
    for (double s : w)
        top = std::max(top, std::fabs(s));
    double gain = top > 0 ? peak / top : 0;
    size_t in = static_cast<size_t>(0.002 * rate), out = static_cast<size_t>(0.012 * rate);
    std::vector<int16_t> pcm(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        double g = gain;
        if (i < in)
            g *= static_cast<double>(i) / in;
        if (w.size() - 1 - i < out)
            g *= static_cast<double>(w.size() - 1 - i) / out;
        pcm[i] = static_cast<int16_t>(std::floor(w[i] * g * 32767.0 + 0.5));
    }
    return pcm;
}

} // namespace

std::vector<SoundFile> makeSounds()
{
    // Peaks at or below -3 dBFS; the shots, heard most often, sit lower.
    return {
        {playerShotEffect.fileName, finish(playerShot(), 0.45)},
        {enemyShotEffect.fileName, finish(enemyShot(), 0.45)},
        {enemyExplodeEffect.fileName, finish(enemyExplosion(), 0.65)},
        {extraShipEffect.fileName, finish(extraShip(), 0.6)},
        {shipExplodeEffect.fileName, finish(shipExplosion(), 0.7)},
    };
}
