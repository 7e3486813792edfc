// The text of the high score file: reading its three numbers, checking them, and writing a score.
#include "storage/high_score_format.h"

#include <limits>

namespace {

bool isSpace(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

} // namespace

void HighScoreReader::feed(const char* data, size_t size)
{
    size_t i = 0;
    while (i < size && !done()) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (!inNumber) {
            if (isSpace(c)) {
                ++i;
            } else if (c == '+' || c == '-') {
                // A negative second or third number is refused, not wrapped.
                if (c == '-' && field > 0)
                    failed = true;
                inNumber = true;
                negative = c == '-';
                ++i;
            } else if (isDigit(c)) {
                inNumber = true;
            } else {
                failed = true; // not a number where one should start
            }
        } else if (isDigit(c)) {
            digits           = true;
            const uint64_t d = c - '0';
            if (tooLarge || magnitude > (std::numeric_limits<uint64_t>::max() - d) / 10)
                tooLarge = true;
            else
                magnitude = magnitude * 10 + d;
            ++i;
        } else {
            endNumber(); // this byte is looked at again as what follows the number
        }
    }
}

void HighScoreReader::finish()
{
    if (done())
        return;
    if (inNumber)
        endNumber();
    if (field < 3)
        failed = true; // the file ended before the third number
}

void HighScoreReader::endNumber()
{
    inNumber = false;
    if (!digits) {
        failed = true; // a sign with no digits after it
        return;
    }
    if (field == 0) {
        // Out of range: the nearest 32-bit limit, without failing.
        constexpr uint64_t maxMagnitude = std::numeric_limits<int32_t>::max();
        if (negative)
            first = tooLarge || magnitude > maxMagnitude + 1
                        ? std::numeric_limits<int32_t>::min()
                        : static_cast<int32_t>(-static_cast<int64_t>(magnitude));
        else
            first = tooLarge || magnitude > maxMagnitude ? std::numeric_limits<int32_t>::max()
                                                         : static_cast<int32_t>(magnitude);
    } else if (tooLarge) {
        failed = true;
    } else if (field == 1) {
        second = magnitude;
    } else {
        third = magnitude;
    }
    ++field;
    negative  = false;
    digits    = false;
    tooLarge  = false;
    magnitude = 0;
}

int32_t heldHighScore(int32_t first, uint64_t second, uint64_t third)
{
    const uint32_t divisor =
        static_cast<uint32_t>(first); // a negative factor as its unsigned value
    if (second <= highScoreNarrowLimit) {
        // The 32-bit file: the third number is an unsigned 32-bit value, and
        // the check wraps modulo 2 to the 32nd.
        if (third > std::numeric_limits<uint32_t>::max())
            return noHighScore;
        const uint32_t sum = static_cast<uint32_t>(third) + highScoreCheckOffset;
        if (sum / highScoreCheckMultiplier != second || divisor == 0)
            return noHighScore;
        return static_cast<int32_t>(static_cast<uint32_t>(second) / divisor);
    }
    // The 64-bit file of a score too large for the 32-bit check.
    const uint64_t sum = third + highScoreCheckOffset;
    if (sum / highScoreCheckMultiplier != second || divisor == 0)
        return noHighScore;
    const uint64_t result = second / divisor;
    if (result > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return noHighScore;
    return static_cast<int32_t>(result);
}

int32_t highScoreFromNumbers(int32_t first, uint64_t second, uint64_t third)
{
    const int32_t held = heldHighScore(first, second, third);
    return held == noHighScore ? defaultHighScore : held;
}

int32_t parseHighScore(const char* data, size_t size)
{
    HighScoreReader reader;
    reader.feed(data, size);
    reader.finish();
    if (reader.failed)
        return defaultHighScore;
    return highScoreFromNumbers(reader.first, reader.second, reader.third);
}

int32_t highScoreFactor(int32_t highScore, int32_t drawnFactor)
{
    if (highScore < 0)
        return drawnFactor; // written modulo 2 to the 32nd; such a file never reads back
    int32_t k = drawnFactor;
    while (k > 1 &&
           static_cast<uint64_t>(highScore) * static_cast<uint64_t>(k) > highScoreNarrowLimit)
        --k;
    return k;
}

std::string formatHighScore(int32_t highScore, int32_t drawnFactor)
{
    const int32_t  k    = highScoreFactor(highScore, drawnFactor);
    std::string    text = std::to_string(k) + ' ';
    const uint64_t wideProduct =
        highScore >= 0 ? static_cast<uint64_t>(highScore) * static_cast<uint64_t>(k) : 0;
    if (highScore >= 0 && k >= 1 && wideProduct > highScoreNarrowLimit) {
        // Even the factor 1 overflows the 32-bit check: S and V in 64 bits.
        const uint64_t check = wideProduct * highScoreCheckMultiplier - highScoreCheckOffset;
        return text + std::to_string(wideProduct) + '\n' + std::to_string(check);
    }
    const uint32_t product = static_cast<uint32_t>(highScore) * static_cast<uint32_t>(k);
    const uint32_t check   = product * highScoreCheckMultiplier - highScoreCheckOffset;
    return text + std::to_string(product) + '\n' + std::to_string(check);
}
