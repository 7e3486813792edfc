// Fuzz target for the high score file's text: any bytes read without a crash,
// the same in any pieces, and every score written reads back.
#include "storage/high_score_format.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char*   text  = reinterpret_cast<const char*>(data);
    const int32_t whole = parseHighScore(text, size);

    // Read in two pieces, split at a point the input picks.
    const size_t    split = size ? data[0] % (size + 1) : 0;
    HighScoreReader reader;
    reader.feed(text, split);
    reader.feed(text + split, size - split);
    reader.finish();
    const int32_t pieces = reader.failed
                               ? defaultHighScore
                               : highScoreFromNumbers(reader.first, reader.second, reader.third);
    if (pieces != whole)
        std::abort();

    // The first five bytes as a score and a drawn factor: a score of 0 or
    // more written with any factor reads back as itself.
    if (size >= 5) {
        int32_t score;
        std::memcpy(&score, data, sizeof score);
        const int32_t     drawn   = 3 + data[4] % 7;
        const std::string written = formatHighScore(score, drawn);
        const int32_t     read    = parseHighScore(written.data(), written.size());
        if (score >= 0 && read != score)
            std::abort();
        if (std::to_string(highScoreFactor(score, drawn)) != written.substr(0, written.find(' ')))
            std::abort();
    }
    return 0;
}
