// Deterministic maths for the asset generator: sine, exponent, hashing, noise.
// Only +, -, *, /, sqrt and floor are used, so the bytes do not depend on libm.
#pragma once
#include <cmath>
#include <cstdint>

namespace dm {

constexpr double PI = 3.14159265358979323846;

inline double sinD(double x)
{
    double k = std::floor(x / (2 * PI) + 0.5);
    double r = x - k * 2 * PI;
    if (r > PI / 2)
        r = PI - r;
    else if (r < -PI / 2)
        r = -PI - r;
    double r2 = r * r;
    return r *
           (1 + r2 * (-1.0 / 6 + r2 * (1.0 / 120 +
                                       r2 * (-1.0 / 5040 +
                                             r2 * (1.0 / 362880 +
                                                   r2 * (-1.0 / 39916800 +
                                                         r2 * (1.0 / 6227020800.0 +
                                                               r2 * (-1.0 / 1307674368000.0))))))));
}

inline double cosD(double x) { return sinD(x + PI / 2); }

inline double expD(double x)
{
    if (x < -700)
        return 0;
    if (x > 700)
        x = 700;
    const double ln2  = 0.69314718055994530942;
    double       k    = std::floor(x / ln2 + 0.5);
    double       r    = x - k * ln2;
    double       term = 1, sum = 1;
    for (int i = 1; i <= 13; ++i) {
        term *= r / i;
        sum += term;
    }
    return std::ldexp(sum, static_cast<int>(k));
}

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline float mix(float a, float b, float t) { return a + (b - a) * t; }
inline float smooth(float e0, float e1, float x)
{
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

inline uint32_t hash(uint32_t a, uint32_t b = 0, uint32_t c = 0)
{
    uint32_t h =
        a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// Uniform value in [0, 1) from a hash.
inline float unit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// A small integer-seeded generator (xorshift with a multiply on output).
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    uint32_t next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<uint32_t>((s * 0x2545F4914F6CDD1Dull) >> 32);
    }
    float uniform() { return unit(next()); }
    float range(float a, float b) { return a + (b - a) * uniform(); }
};

// Value noise on a lattice that repeats every periodX by periodY cells.
inline float noise(float x, float y, int periodX, int periodY, uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int   ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx      = tx * tx * (3 - 2 * tx);
    ty      = ty * ty * (3 - 2 * ty);
    auto at = [&](int cx, int cy) {
        cx = ((cx % periodX) + periodX) % periodX;
        cy = ((cy % periodY) + periodY) % periodY;
        return unit(hash(static_cast<uint32_t>(cx), static_cast<uint32_t>(cy), seed));
    };
    float a = mix(at(ix, iy), at(ix + 1, iy), tx);
    float b = mix(at(ix, iy + 1), at(ix + 1, iy + 1), tx);
    return mix(a, b, ty);
}

// Fractal sum of noise octaves; each octave doubles the lattice, so it repeats too.
inline float fbm(float x, float y, int periodX, int periodY, int octaves, uint32_t seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * noise(x, y, periodX, periodY, seed + 101u * static_cast<uint32_t>(i));
        norm += amp;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

} // namespace dm
