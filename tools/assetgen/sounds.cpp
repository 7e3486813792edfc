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
    // A short falling buzz, softer than the player's shot: two partials, no saw edges.
    Wave   w     = silence(0.11);
    double phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t = i / rate;
        double f = (260 + 640 * dm::expD(-t * 22)) * (1 + 0.06 * dm::sinD(2 * dm::PI * 45 * t));
        phase += f / rate;
        double p   = 2 * dm::PI * phase;
        double env = std::min(1.0, t / 0.004) * dm::expD(-t * 14);
        w[i]       = env * (0.45 * dm::sinD(p) + 0.15 * dm::sinD(2 * p) + 0.4 * dm::sinD(p * 0.5));
    }
    return w;
}

// A soft limiter: linear for small values, approaching +-1 for large ones.
double saturate(double x) { return x / std::sqrt(1 + x * x); }

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
        double dry = 0.75 * low + 0.35 * band + 0.5 * dm::sinD(thump) * dm::expD(-t * 12);
        // Driven into the limiter so that it is loud without a tall peak.
        w[i] = env * saturate(dry * 3);
    }
    return w;
}

Wave extraShip()
{
    Wave w = silence(0.8);
    // A rising major arpeggio, the last note held, with a soft echo. Every note ends with
    // a short release to zero, so that none stops mid-waveform.
    const double notes[] = {0, 4, 7, 12, 16, 19, 24};
    const double step = 0.075, release = 0.015;
    for (int n = 0; n < 7; ++n) {
        double start = n * step, length = n == 6 ? 0.8 - start : step * 2.2;
        double f     = 523.25 * semitone(notes[n]);
        double phase = 0;
        for (size_t i = static_cast<size_t>(start * rate); i < w.size(); ++i) {
            double t = i / rate - start;
            if (t > length)
                break;
            phase += f / rate;
            double env  = std::min(1.0, t / 0.005) * dm::expD(-t * (n == 6 ? 4.0 : 10.0));
            double tail = dm::clamp01(static_cast<float>((length - t) / release));
            env *= tail * tail * (3 - 2 * tail);
            // Two partials, both below 4.5 kHz: a bell-like tone with no sharp corners.
            double p = 2 * dm::PI * phase;
            w[i] += env * (0.55 * dm::sinD(p) + 0.25 * dm::sinD(2 * p));
        }
    }
    size_t delay = static_cast<size_t>(0.11 * rate);
    for (size_t i = w.size(); i-- > delay;)
        w[i] += 0.3 * w[i - delay];
    return w;
}

Wave shipExplosion()
{
    // A crack of broadband noise in the first tenth of a second, then a long body of
    // noise between about 100 and 800 Hz with a falling growl: it plays on small speakers.
    const double length = 1.7;
    Wave         w      = silence(length);
    dm::Rng      rng(13);
    double       hiLow = 0, b1 = 0, b2 = 0, bodyHigh = 0, crackle = 0, phase = 0;
    for (size_t i = 0; i < w.size(); ++i) {
        double t     = i / rate;
        double white = rng.uniform() * 2 - 1;
        // Crack: white noise limited to about 8 kHz.
        hiLow += lowPass(8000) * (white - hiLow);
        double crack = hiLow * dm::expD(-t * 18);
        // Body: two low-passes at a falling cut-off, then a high-pass at 100 Hz.
        double cut = 260 + 600 * dm::expD(-t * 2.5);
        b1 += lowPass(cut) * (white - b1);
        b2 += lowPass(cut) * (b1 - b2);
        bodyHigh += lowPass(100) * (b2 - bodyHigh);
        double body = (b2 - bodyHigh) * 14;
        if (rng.uniform() < 0.003 * dm::expD(-t * 2))
            crackle = rng.uniform() * 2 - 1;
        crackle *= 0.993;
        phase += 2 * dm::PI * (150 - 60 * t / length) / rate;
        double growl = dm::sinD(phase) * 0.35 * dm::expD(-t * 1.2);
        double env   = std::min(1.0, t / 0.04) * (0.4 + 0.6 * dm::expD(-t * 1.5));
        double dry   = 5.0 * crack + env * (body + growl + 0.25 * crackle);
        double fade  = dm::clamp01(static_cast<float>((length - t) / 0.5));
        w[i]         = saturate(dry * 0.3) * fade * fade;
    }
    return w;
}

// Scales to the wanted loudness (the loudest 50 ms, RMS), fades both ends and converts to
// 16-bit samples.
std::vector<int16_t> finish(Wave w, double loudness)
{
    const size_t window = static_cast<size_t>(0.05 * rate);
    double       top    = 0;
    for (size_t at = 0; at + window <= w.size(); at += window / 10) {
        double power = 0;
        for (size_t i = at; i < at + window; ++i)
            power += w[i] * w[i];
        top = std::max(top, std::sqrt(power / window));
    }
    double gain = top > 0 ? loudness / top : 0;
    size_t in = static_cast<size_t>(0.004 * rate), out = static_cast<size_t>(0.012 * rate);
    std::vector<int16_t> pcm(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        double g = gain;
        if (i < in)
            g *= static_cast<double>(i) / in;
        if (w.size() - 1 - i < out)
            g *= static_cast<double>(w.size() - 1 - i) / out;
        double v = std::max(-1.0, std::min(1.0, w[i] * g));
        pcm[i]   = static_cast<int16_t>(std::floor(v * 32767.0 + 0.5));
    }
    return pcm;
}

// A level in dB of full scale as a factor.
double level(double dB) { return dm::expD(dB / 20 * 2.302585092994046); }

} // namespace

std::vector<SoundFile> makeSounds()
{
    // Levels of the loudest 50 ms: the enemy's shot, heard most often, well under the
    // player's; the extra ship over both; the explosions loudest.
    return {
        {playerShotEffect.fileName, finish(playerShot(), level(-13.5))},
        {enemyShotEffect.fileName, finish(enemyShot(), level(-20.5))},
        {enemyExplodeEffect.fileName, finish(enemyExplosion(), level(-9))},
        {extraShipEffect.fileName, finish(extraShip(), level(-10.5))},
        {shipExplodeEffect.fileName, finish(shipExplosion(), level(-9))},
    };
}
