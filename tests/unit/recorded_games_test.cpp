// Recorded games: key scripts in tests/replays replayed by swarm-replay, each
// compared pass by pass with its expected trace, kept as one hash per pass
// plus readable checkpoints. Run with SWARM_UPDATE_REPLAYS=1 to record the
// expectations anew after an intended change of behaviour, and with
// SWARM_REPLAY_PROGRAM=build-web/swarm-web-replay to hold the browser build
// to the same traces.
#include "process.h"
#include "trace_field.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

const std::string replayDir = std::string(SWARM_SOURCE_DIR) + "/tests/replays";

uint64_t fnv1a(const std::string& text)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::string hex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

// The readable part of a checkpoint: a few top-level fields of the trace line.
std::string summary(const std::string& line)
{
    static const char* names[] = {
        "gameState",  "score", "highScore",       "lives",  "wave",     "enemiesRemaining",
        "shotsFired", "hits",  "enemiesOnScreen", "paused", "gameOver", "waveCleared"};
    std::string out;
    for (const char* name : names)
        out += std::string(out.empty() ? "" : " ") + name + "=" + traceField(line, name);
    return out;
}

struct Expected {
    uint64_t                                      time   = 1000;
    uint64_t                                      frames = 0;
    std::vector<std::string>                      hashes;
    std::vector<std::pair<uint64_t, std::string>> checkpoints;
};

Expected parseExpected(const std::string& text)
{
    Expected e;
    for (const std::string& line : splitLines(text)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("time ", 0) == 0)
            e.time = std::strtoull(line.c_str() + 5, nullptr, 10);
        else if (line.rfind("frames ", 0) == 0)
            e.frames = std::strtoull(line.c_str() + 7, nullptr, 10);
        else if (line[0] == '@') {
            char*          end  = nullptr;
            const uint64_t pass = std::strtoull(line.c_str() + 1, &end, 10);
            e.checkpoints.push_back({pass, std::string(end + 1)});
        } else
            e.hashes.push_back(line);
    }
    return e;
}

std::vector<std::string> scripts()
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(replayDir.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 5 && name.compare(name.size() - 5, 5, ".keys") == 0)
                names.push_back(name.substr(0, name.size() - 5));
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RecordedGame : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedGame, ReplaysAsRecorded)
{
    const std::string name     = GetParam();
    const std::string keys     = replayDir + "/" + name + ".keys";
    const std::string expected = replayDir + "/" + name + ".expected";
    const bool        update   = std::getenv("SWARM_UPDATE_REPLAYS") != nullptr;

    Expected want = parseExpected(readFile(expected));
    if (update) {
        // A new recording takes its length and start time from "# frames N"
        // and "# time T" comments in the key script.
        for (const std::string& line : splitLines(readFile(keys))) {
            if (line.rfind("# frames ", 0) == 0)
                want.frames = std::strtoull(line.c_str() + 9, nullptr, 10);
            if (line.rfind("# time ", 0) == 0)
                want.time = std::strtoull(line.c_str() + 7, nullptr, 10);
        }
    } else
        ASSERT_GT(want.frames, 0u) << "no expectation recorded in " << expected;

    TempDir                  dir; // the replay's HighScore.dat stays in here
    const char*              program = std::getenv("SWARM_REPLAY_PROGRAM");
    std::vector<std::string> args    = {program && *program ? program : SWARM_REPLAY_PATH,
                                     "--keys",
                                     keys,
                                     "--trace",
                                     "-",
                                     "--time",
                                     std::to_string(want.time)};
    // The game's data files, linked into a directory of the test's own.
    std::istringstream dataFiles(SWARM_DATA_FILES);
    for (std::string file; dataFiles >> file;) {
        const std::string from = std::string(SWARM_DATA_DIR) + "/" + file;
        ASSERT_EQ(symlink(from.c_str(), dir.file(file).c_str()), 0) << from;
    }
    args.insert(args.end(), {"--data", dir.path(), "--frames",
                             std::to_string(want.frames ? want.frames : 6000)});
    const CommandResult run = runCommand(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);

    if (update) {
        std::ostringstream out;
        out << "# Expected trace of " << name << ".keys: the FNV-1a hash of each pass's trace\n"
            << "# line, and every 250 passes a readable checkpoint. Made by running the tests\n"
            << "# with SWARM_UPDATE_REPLAYS=1.\n"
            << "time " << want.time << "\nframes " << lines.size() << "\n";
        for (size_t pass = 0; pass < lines.size(); ++pass) {
            if (pass % 250 == 0)
                out << "@" << pass << " " << summary(lines[pass]) << "\n";
            out << hex(fnv1a(lines[pass])) << "\n";
        }
        writeFile(expected, out.str());
        GTEST_SKIP() << "recorded " << lines.size() << " passes into " << expected;
    }

    ASSERT_EQ(lines.size(), want.hashes.size()) << "the run's length changed";
    for (const auto& checkpoint : want.checkpoints) {
        ASSERT_LT(checkpoint.first, lines.size());
        EXPECT_EQ(summary(lines[checkpoint.first]), checkpoint.second)
            << "checkpoint at pass " << checkpoint.first;
    }
    for (size_t pass = 0; pass < lines.size(); ++pass) {
        if (hex(fnv1a(lines[pass])) != want.hashes[pass]) {
            FAIL() << "first pass that differs: " << pass << "\nits trace line now:\n"
                   << lines[pass];
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Replays, RecordedGame, ::testing::ValuesIn(scripts()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RecordedGame);

} // namespace
