// The text of the high score file: reading its three numbers, checking them, and writing a score.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// What a missing, unreadable or altered file yields.
constexpr int32_t defaultHighScore = 10000;

// No high score: what a file that fails its check holds (a valid one never
// holds a negative score).
constexpr int32_t noHighScore = -1;

// The check of the format: V = S x M - A.
constexpr uint32_t highScoreCheckMultiplier = 7219;
constexpr uint32_t highScoreCheckOffset     = 2468;

// The largest S whose S x M is below 2 to the 32nd. Files whose S is within
// it use 32-bit arithmetic; larger ones (scores that no factor can fit) use 64-bit.
constexpr uint64_t highScoreNarrowLimit = 0xFFFFFFFFull / highScoreCheckMultiplier;

// Reads the three whitespace-separated numbers of a high score file as the
// standard streams' formatted extraction does, from bytes given in one or more
// pieces: leading whitespace skipped, an optional '+', decimal digits (leading
// zeros are decimal, "0x" stops after the 0). The first number is signed 32-bit
// and clamped to the nearest limit when out of range. The second and third are
// unsigned up to 2^64 - 1; beyond that, or with a '-' sign (which the save
// never writes and a stream would wrap around), they fail. A missing number or
// any other character where a number should start fails. Anything after the
// third number is never looked at.
struct HighScoreReader {
    int32_t  first  = 0;
    uint64_t second = 0;
    uint64_t third  = 0;
    bool     failed = false;

    void feed(const char* data, size_t size);          // the next piece of the file
    void finish();                                     // end of the file
    bool done() const { return failed || field == 3; } // nothing more needed

  private:
    void endNumber();

    int      field     = 0;     // the number being read, 0 to 2; 3 when all are read
    bool     inNumber  = false; // a sign or digit of it has been seen
    bool     negative  = false;
    bool     digits    = false; // at least one digit seen
    bool     tooLarge  = false; // beyond the range kept in magnitude
    uint64_t magnitude = 0;
};

// The high score of a file with these numbers, or noHighScore when the check
// fails, the first number is 0 or the result does not fit an int32_t.
int32_t heldHighScore(int32_t first, uint64_t second, uint64_t third);

// As heldHighScore, with defaultHighScore for a file that holds none.
int32_t highScoreFromNumbers(int32_t first, uint64_t second, uint64_t third);

// The high score of a whole file's bytes.
int32_t parseHighScore(const char* data, size_t size);

// The factor written for highScore when drawnFactor (3 to 9) was drawn: the
// largest one from drawnFactor down to 1 that keeps S x M below 2 to the 32nd,
// or 1 when none does. A negative score keeps its drawn factor.
int32_t highScoreFactor(int32_t highScore, int32_t drawnFactor);

// The file's text for highScore: "k S\nV" with no line break after V.
std::string formatHighScore(int32_t highScore, int32_t drawnFactor);
