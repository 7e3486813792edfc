// Tests of the high score file: its text, its check, and saving and loading in a real directory.
#include "files.h"
#include "game/game_data.h"
#include "game/high_score.h"
#include "game/random.h"
#include "storage/high_score_file.h"
#include "storage/high_score_format.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int32_t int32Max = std::numeric_limits<int32_t>::max();

int32_t parse(const std::string& text) { return parseHighScore(text.data(), text.size()); }

// 4321 with the factor 3: S = 12963, V = 12963 x 7219 - 2468.
const std::string file4321 = "3 12963\n93577429";

// What `run` writes on standard error, caught through a pipe (a file would be
// subject to the file size limit of the test below).
template <typename Run> std::string stderrOf(Run run)
{
    int ends[2];
    if (pipe(ends) != 0)
        return "(no pipe)";
    const int saved = dup(STDERR_FILENO);
    dup2(ends[1], STDERR_FILENO);
    close(ends[1]);
    run();
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string text;
    char        piece[256];
    ssize_t     n;
    while ((n = read(ends[0], piece, sizeof piece)) > 0)
        text.append(piece, static_cast<size_t>(n));
    close(ends[0]);
    return text;
}

} // namespace

TEST(HighScoreText, WritesFactorProductAndCheck)
{
    EXPECT_EQ(formatHighScore(4321, 3), file4321);
    EXPECT_EQ(formatHighScore(10000, 3), "3 30000\n216567532");
    // Zero: V is 0 - A modulo 2 to the 32nd.
    EXPECT_EQ(formatHighScore(0, 5), "5 0\n4294964828");
    // A negative score is written modulo 2 to the 32nd with its drawn factor.
    EXPECT_EQ(formatHighScore(-1, 3), "3 4294967293\n4294943171");
}

TEST(HighScoreText, LowersTheFactorUntilTheCheckFits)
{
    // 66105 x 9 x M is just below 2 to the 32nd; 66106 x 9 x M is not.
    EXPECT_EQ(formatHighScore(66105, 9), "9 594945\n4294905487");
    EXPECT_EQ(formatHighScore(66106, 9), "8 528848\n3817751244");
    EXPECT_EQ(formatHighScore(100000, 9), "5 500000\n3609497532");
    EXPECT_EQ(highScoreFactor(100000, 4), 4) << "a drawn factor that fits is kept";
    EXPECT_EQ(highScoreFactor(594953, 9), 1);
    // No factor fits: the factor 1 and 64-bit S and V.
    EXPECT_EQ(formatHighScore(int32Max, 7), "1 2147483647\n15502684445225");
    EXPECT_EQ(formatHighScore(594954, 3), "1 594954\n4294970458");
}

TEST(HighScoreText, EveryScoreReadsBackWithEveryFactor)
{
    const int32_t scores[] = {0,      1,       2,         99,           4321,
                              10000,  66105,   66106,     100000,       594953,
                              594954, 1000000, 123456789, int32Max - 1, int32Max};
    for (int32_t score : scores)
        for (int32_t k = 3; k <= 9; ++k)
            EXPECT_EQ(parse(formatHighScore(score, k)), score) << score << " with factor " << k;
    EXPECT_EQ(parse(formatHighScore(-1, 3)), defaultHighScore) << "negative scores never read back";
}

TEST(HighScoreText, AlteredNumbersFailTheCheck)
{
    EXPECT_EQ(parse(file4321), 4321);
    EXPECT_EQ(parse("3 12964\n93577429"), defaultHighScore) << "second changed";
    EXPECT_EQ(parse("3 12962\n93577429"), defaultHighScore) << "second changed";
    EXPECT_EQ(parse("3 12963\n93577428"), defaultHighScore) << "third lowered";
    // The check truncates its division by M: raising the third by less than M passes.
    for (uint32_t raise = 1; raise < highScoreCheckMultiplier; ++raise)
        ASSERT_EQ(parse("3 12963\n" + std::to_string(93577429u + raise)), 4321) << raise;
    EXPECT_EQ(parse("3 12963\n" + std::to_string(93577429u + highScoreCheckMultiplier)),
              defaultHighScore);
    // Only the first changed: the second divided by the new first.
    EXPECT_EQ(parse("1 30000\n216567532"), 30000);
    EXPECT_EQ(parse("7 12963\n93577429"), 1851);
}

TEST(HighScoreText, ZeroScoreWrapsTheCheck)
{
    EXPECT_EQ(parse("3 0\n4294964828"), 0);
    EXPECT_EQ(parse("3 0\n4294967295"), 0) << "raised to the 32-bit limit";
    EXPECT_EQ(parse("3 0\n4294967296"), defaultHighScore) << "beyond an unsigned 32-bit value";
    EXPECT_EQ(parse("3 0\n4294964827"), defaultHighScore);
}

TEST(HighScoreText, MissingOrNonNumericNumbersFail)
{
    EXPECT_EQ(parse(""), defaultHighScore);
    EXPECT_EQ(parse(" \n\t "), defaultHighScore);
    EXPECT_EQ(parse("3 12963"), defaultHighScore);
    EXPECT_EQ(parse("3 12963\n"), defaultHighScore);
    EXPECT_EQ(parse("3 abc\n93577429"), defaultHighScore);
    EXPECT_EQ(parse("x 12963\n93577429"), defaultHighScore);
    EXPECT_EQ(parse("3x 12963\n93577429"), defaultHighScore) << "a letter right after a number";
    EXPECT_EQ(parse("3 12963\nV"), defaultHighScore);
    EXPECT_EQ(parse("+ 3 12963\n93577429"), defaultHighScore) << "a sign needs digits";
    EXPECT_EQ(parse(std::string("3 12963\n\0 93577429", 18)), defaultHighScore);
}

TEST(HighScoreText, WhitespaceAndWhatFollowsTheThirdNumber)
{
    EXPECT_EQ(parse("3 12963\r\n93577429"), 4321) << "Windows line break";
    EXPECT_EQ(parse("3 12963\n93577429\r\n"), 4321);
    EXPECT_EQ(parse("3 12963 93577429"), 4321) << "one line";
    EXPECT_EQ(parse("\n\t\v\f 3\t\t12963 \r\n\n 93577429"), 4321);
    EXPECT_EQ(parse("3 12963\n93577429xyz"), 4321) << "the rest is ignored";
    EXPECT_EQ(parse("3 12963\n93577429 junk 1 2 3"), 4321);
}

TEST(HighScoreText, SignsAndLeadingZeros)
{
    EXPECT_EQ(parse("+3 +12963\n+93577429"), 4321);
    // Leading zeros are decimal, not octal.
    EXPECT_EQ(parse("03 012963\n0093577429"), 4321);
    // "0x" reads 0 and then stops at the x.
    EXPECT_EQ(parse("0x3 12963\n93577429"), defaultHighScore);
    EXPECT_EQ(parse("3 0x32A3\n93577429"), defaultHighScore);
    // A minus sign on the second or third number is refused, even on 0.
    EXPECT_EQ(parse("3 -12963\n93577429"), defaultHighScore);
    EXPECT_EQ(parse("3 0\n-4294964828"), defaultHighScore);
    EXPECT_EQ(parse("3 -0\n4294964828"), defaultHighScore);
    // A negative first number divides as its unsigned value.
    EXPECT_EQ(parse("-1 12963\n93577429"), 0);
}

TEST(HighScoreText, FirstNumberClampsSecondAndThirdFailOutOfRange)
{
    HighScoreReader   high;
    const std::string tooHigh = "99999999999999999999999 1 2";
    high.feed(tooHigh.data(), tooHigh.size());
    high.finish();
    EXPECT_FALSE(high.failed);
    EXPECT_EQ(high.first, int32Max);

    HighScoreReader   low;
    const std::string tooLow = "-2147483649 1 2";
    low.feed(tooLow.data(), tooLow.size());
    low.finish();
    EXPECT_FALSE(low.failed);
    EXPECT_EQ(low.first, std::numeric_limits<int32_t>::min());

    EXPECT_EQ(parse("-2147483648 12963\n93577429"), 0);
    EXPECT_EQ(parse("2147483648 12963\n93577429"), 0) << "clamped, not failed";

    HighScoreReader   widest;
    const std::string maxUnsigned = "1 18446744073709551615 18446744073709551615";
    widest.feed(maxUnsigned.data(), maxUnsigned.size());
    widest.finish();
    EXPECT_FALSE(widest.failed);
    EXPECT_EQ(widest.second, std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(widest.third, std::numeric_limits<uint64_t>::max());

    EXPECT_EQ(parse("1 18446744073709551616\n1"), defaultHighScore);
    EXPECT_EQ(parse("1 1\n18446744073709551616"), defaultHighScore);
}

TEST(HighScoreText, FirstNumberZeroGivesTheDefault)
{
    EXPECT_EQ(parse("0 12963\n93577429"), defaultHighScore);
    EXPECT_EQ(parse("0 0\n4294964828"), defaultHighScore);
    EXPECT_EQ(parse("0 2147483647\n15502684445225"), defaultHighScore);
}

TEST(HighScoreText, WideFilesOfHugeScores)
{
    EXPECT_EQ(parse("1 2147483647\n15502684445225"), int32Max);
    EXPECT_EQ(parse("1 2147483647\n15502684445224"), defaultHighScore) << "third lowered";
    EXPECT_EQ(parse("1 2147483647\n15502684452443"), int32Max) << "third raised by M - 1";
    EXPECT_EQ(parse("1 2147483646\n15502684445225"), defaultHighScore) << "second changed";
    EXPECT_EQ(parse("3 2147483647\n15502684445225"), 715827882);
    // 2 to the 32nd passes the check but is no int32_t high score.
    EXPECT_EQ(parse("1 4294967296\n31005368907356"), defaultHighScore);
    EXPECT_EQ(parse("2 4294967296\n31005368907356"), defaultHighScore);
    EXPECT_EQ(parse("4 4294967296\n31005368907356"), 1073741824);
}

TEST(HighScoreText, BytesHoldAScoreOrNone)
{
    // A copy kept elsewhere (the browser's stores) is read as the file is; a
    // valid 10000 differs from one that holds none.
    const std::string lead(maxHighScoreFileBytes - file4321.size(), ' ');
    const struct {
        std::string bytes;
        int32_t     held;
    } cases[] = {
        {file4321, 4321},
        {"3 30000\n216567532", 10000},
        {"3 12963\n93577428", noHighScore},
        {"", noHighScore},
        {lead + file4321, 4321},
        {lead + " " + file4321, noHighScore}, // the numbers end beyond the bytes read
    };
    for (const auto& c : cases)
        EXPECT_EQ(highScoreOfBytes(reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                   c.bytes.size()),
                  c.held)
            << c.bytes.size() << " bytes";
}

TEST(HighScoreText, ReaderTakesTheFileInAnyPieces)
{
    const std::string text = "  +3 \r\n12963\r\n93577429 trailing";
    HighScoreReader   reader;
    for (char c : text)
        reader.feed(&c, 1);
    reader.finish();
    ASSERT_FALSE(reader.failed);
    EXPECT_EQ(highScoreFromNumbers(reader.first, reader.second, reader.third), 4321);
}

// Each test runs in a fresh temporary directory, where "HighScore.dat" lives.
class HighScoreFile : public ::testing::Test {
  protected:
    void SetUp() override
    {
        inDir          = std::make_unique<InDirectory>(tempDir.path());
        dir            = tempDir.path();
        savedHighScore = highScore;
        savedRandom    = randomState();
    }

    void TearDown() override
    {
        inDir.reset();
        highScore = savedHighScore;
        seedRandom(savedRandom);
    }

    static bool exists(const char* name) { return access(name, F_OK) == 0; }

    // The state after one draw from `seed`.
    static uint32_t afterOneDraw(uint32_t seed) { return seed * 214013u + 2531011u; }

    TempDir                      tempDir;
    std::unique_ptr<InDirectory> inDir;
    std::string                  dir;
    int32_t                      savedHighScore = 0;
    uint32_t                     savedRandom    = 0;
};

TEST_F(HighScoreFile, NoFileGivesTheDefault) { EXPECT_EQ(loadHighScore(), 10000); }

TEST_F(HighScoreFile, SaveWritesExactBytesWithOneDraw)
{
    seedRandom(0); // first draw 38: factor 3 + 38 % 7 = 6
    highScore = 4321;
    saveHighScore();
    EXPECT_EQ(readFile("HighScore.dat"), "6 25926\n187157326");
    EXPECT_EQ(randomState(), afterOneDraw(0));
    EXPECT_FALSE(exists("HighScore.dat.tmp"));
    EXPECT_EQ(loadHighScore(), 4321);

    // The next draw, 7719, gives the factor 8: a different file, the same score.
    saveHighScore();
    EXPECT_EQ(readFile("HighScore.dat"), "8 34568\n249543924");
    EXPECT_EQ(loadHighScore(), 4321);
}

TEST_F(HighScoreFile, HugeAndLoweredScoresSurvive)
{
    highScore = int32Max;
    saveHighScore();
    EXPECT_EQ(readFile("HighScore.dat"), "1 2147483647\n15502684445225");
    EXPECT_EQ(loadHighScore(), int32Max);

    seedRandom(1); // first draw 41: factor 9, lowered to 5
    highScore = 100000;
    saveHighScore();
    EXPECT_EQ(readFile("HighScore.dat"), "5 500000\n3609497532");
    EXPECT_EQ(loadHighScore(), 100000);

    highScore = 0;
    saveHighScore();
    EXPECT_EQ(loadHighScore(), 0);
}

TEST_F(HighScoreFile, ReadsFilesFromElsewhere)
{
    writeFile("HighScore.dat", "3 12963\r\n93577429");
    EXPECT_EQ(loadHighScore(), 4321) << "written on Windows";
    writeFile("HighScore.dat", "0 12963\n93577429");
    EXPECT_EQ(loadHighScore(), 10000) << "first number 0";
    writeFile("HighScore.dat", "3 12963\n93577428");
    EXPECT_EQ(loadHighScore(), 10000) << "altered";
    writeFile("HighScore.dat", "3 12963\n93577429" + std::string(10000, ' ') + "tail");
    EXPECT_EQ(loadHighScore(), 4321);
    writeFile("HighScore.dat", std::string(10000, '\n') + "3 12963\n93577429");
    EXPECT_EQ(loadHighScore(), 10000) << "numbers beyond the bytes read";

    std::filesystem::remove("HighScore.dat");
    std::filesystem::create_directory("HighScore.dat");
    EXPECT_EQ(loadHighScore(), 10000) << "a directory in place of the file";
}

TEST_F(HighScoreFile, NumbersMustEndWithinTheBytesRead)
{
    // Numbers ending right at the limit with more behind them, and a file
    // that ends at the limit, read; a number running past the limit does not.
    const std::string numbers = "3 12963\n93577429";
    const std::string lead(maxHighScoreFileBytes - numbers.size() - 1, ' ');
    writeFile("HighScore.dat", lead + numbers + " " + std::string(5000, 'x'));
    EXPECT_EQ(loadHighScore(), 4321);
    writeFile("HighScore.dat", lead + " " + numbers);
    EXPECT_EQ(loadHighScore(), 4321);
    writeFile("HighScore.dat", lead + "  " + numbers);
    EXPECT_EQ(loadHighScore(), 10000) << "the last digit lies beyond the limit";
    writeFile("HighScore.dat", lead + " " + numbers + "9");
    EXPECT_EQ(loadHighScore(), 10000) << "the third number goes on beyond the limit";
}

TEST_F(HighScoreFile, OnlyARegularFileIsRead)
{
    // A FIFO would block the game in open; a device would be read for ever.
    ASSERT_EQ(mkfifo("HighScore.dat", 0644), 0);
    EXPECT_EQ(loadHighScore(), 10000);
    std::filesystem::remove("HighScore.dat");
    ASSERT_EQ(symlink("/dev/zero", "HighScore.dat"), 0);
    EXPECT_EQ(loadHighScore(), 10000);
    std::filesystem::remove("HighScore.dat");

    // A link to a real file is read: the installed game links its files.
    writeFile("real.dat", "3 12963\n93577429");
    ASSERT_EQ(symlink("real.dat", "HighScore.dat"), 0);
    EXPECT_EQ(loadHighScore(), 4321);
}

TEST_F(HighScoreFile, TemporaryFileOfACutShortSaveIsRemovedAtStart)
{
    seedRandom(0);
    highScore = 4321;
    saveHighScore();
    // A kill between creating and renaming leaves the temporary file, empty
    // or with the new numbers; the old file stays as it was.
    for (const std::string& left : {std::string(), std::string("6 600000\n4331399532")}) {
        writeFile("HighScore.dat.tmp", left);
        EXPECT_EQ(loadHighScore(), 4321);
        EXPECT_FALSE(exists("HighScore.dat.tmp"));
        EXPECT_EQ(readFile("HighScore.dat"), "6 25926\n187157326");
    }
    // A link under that name goes, never what it points to.
    writeFile("elsewhere", "keep");
    ASSERT_EQ(symlink("elsewhere", "HighScore.dat.tmp"), 0);
    loadHighScore();
    EXPECT_FALSE(exists("HighScore.dat.tmp"));
    EXPECT_EQ(readFile("elsewhere"), "keep");
    EXPECT_EQ(loadHighScore(), 4321) << "with no temporary file at all";
}

TEST_F(HighScoreFile, FailedSaveKeepsTheOldFile)
{
    seedRandom(0);
    highScore = 4321;
    saveHighScore();
    const std::string old = readFile("HighScore.dat");
    ASSERT_EQ(old, "6 25926\n187157326");
    highScore = 99999;

    // A read-only directory. Root writes there regardless, so this part only
    // runs where the directory really refuses new files.
    ASSERT_EQ(chmod(dir.c_str(), 0555), 0);
    const int probe = open("probe", O_WRONLY | O_CREAT, 0644);
    if (probe >= 0) {
        close(probe);
        unlink("probe");
    } else {
        seedRandom(5);
        saveHighScore();
        EXPECT_EQ(randomState(), afterOneDraw(5)) << "the save still draws";
        EXPECT_EQ(readFile("HighScore.dat"), old);
        EXPECT_FALSE(exists("HighScore.dat.tmp"));
    }
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);

    // The temporary file cannot be created: a directory holds its name.
    std::filesystem::create_directory("HighScore.dat.tmp");
    seedRandom(5);
    saveHighScore();
    EXPECT_EQ(randomState(), afterOneDraw(5)) << "the save still draws";
    EXPECT_EQ(readFile("HighScore.dat"), old);
    EXPECT_EQ(loadHighScore(), 4321);
    EXPECT_TRUE(std::filesystem::is_directory("HighScore.dat.tmp")) << "not ours to remove";
}

TEST_F(HighScoreFile, FailedSaveSaysWhichFileAndWhy)
{
    const std::string here = std::filesystem::current_path().string();
    const auto        line = [&](const std::string& name, int error) {
        return "swarm: cannot save the high score to " + here + "/" + name + ": " +
               std::strerror(error) + "\n";
    };
    seedRandom(0);
    highScore = 4321;
    EXPECT_EQ(stderrOf([] { saveHighScore(); }), "") << "a save that works says nothing";
    const std::string old = readFile("HighScore.dat");

    // A full disk, as a file size limit: the write fails part way, for root too.
    rlimit limit = {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small                = limit;
    small.rlim_cur              = 8;
    const auto        oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    bool              written   = true;
    const std::string full      = stderrOf([&] {
        if (setrlimit(RLIMIT_FSIZE, &small) == 0)
            written = writeHighScoreFile("HighScore.dat", 99999, 3);
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    std::signal(SIGXFSZ, oldSignal);
    EXPECT_FALSE(written);
    EXPECT_EQ(full, line("HighScore.dat", EFBIG));
    EXPECT_EQ(readFile("HighScore.dat"), old);
    EXPECT_FALSE(exists("HighScore.dat.tmp"));

    // No directory to write in (its parent is a file): refused to root too.
    writeFile("notADirectory", "");
    EXPECT_EQ(stderrOf([] { writeHighScoreFile("notADirectory/HighScore.dat", 99999, 3); }),
              line("notADirectory/HighScore.dat", ENOTDIR));
}

TEST_F(HighScoreFile, FailedRenameLeavesNoTemporaryFile)
{
    // A directory in place of the file: the temporary file is written but
    // cannot be renamed over it.
    std::filesystem::create_directory("HighScore.dat");
    highScore = 4321;
    saveHighScore();
    EXPECT_FALSE(exists("HighScore.dat.tmp"));
    EXPECT_TRUE(std::filesystem::is_directory("HighScore.dat"));
}

TEST_F(HighScoreFile, LeftoverTemporaryFileIsReplaced)
{
    writeFile("HighScore.dat.tmp", std::string(1000, 'x'));
    seedRandom(0);
    highScore = 4321;
    saveHighScore();
    EXPECT_EQ(readFile("HighScore.dat"), "6 25926\n187157326");
    EXPECT_FALSE(exists("HighScore.dat.tmp"));
}
