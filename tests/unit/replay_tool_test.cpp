// swarm-replay's contract: arguments, key scripts, the event queue and the trace.
#include "host/key_script.h"
#include "process.h"
#include "storage/high_score_format.h"
#include "system/input.h"
#include "trace_field.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// swarm-replay, or the program named by SWARM_REPLAY_PROGRAM that must behave
// the same (tests/web/run.sh, tests/windows/replay_tool.sh).
std::string replayProgram()
{
    const char* program = std::getenv("SWARM_REPLAY_PROGRAM");
    return program && *program ? program : SWARM_REPLAY_PATH;
}

CommandResult replay(std::vector<std::string> args)
{
    args.insert(args.begin(), replayProgram());
    return runCommand(args);
}

TEST(ReplayTool, DataDefaultsToTheWorkingDirectory)
{
    TempDir            dir;
    std::istringstream dataFiles(SWARM_DATA_FILES);
    for (std::string file; dataFiles >> file;)
        ASSERT_EQ(
            symlink((std::string(SWARM_DATA_DIR) + "/" + file).c_str(), dir.file(file).c_str()), 0);
    writeFile(dir.file("HighScore.dat"), formatHighScore(43210, 3));
    InDirectory         here(dir.path());
    const CommandResult r = runCommand({replayProgram(), "--frames", "1", "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(traceField(r.out, "highScore"), "43210") << "the high score in the working directory";
}

TEST(ReplayTool, TraceHasOneLinePerPass)
{
    const CommandResult r = replay({"--frames", "500", "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 500u);
    // The fields' names and order are pinned by the recorded games' hashes.
    EXPECT_EQ(traceField(lines[0], "pass"), "0");
    EXPECT_EQ(traceField(lines[499], "pass"), "499");
    EXPECT_EQ(traceField(lines[0], "gameState"), "1") << "Loading falls through into the intro";
    EXPECT_EQ(traceField(lines[0], "introDepth"), "-99.400000000000006");
}

TEST(ReplayTool, ZeroFramesWritesAnEmptyTrace)
{
    TempDir             dir;
    const CommandResult r = replay({"--frames", "0", "--trace", dir.file("t.jsonl")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dir.file("t.jsonl")), "");
}

TEST(ReplayTool, CalendarTimeSeedsTheGenerator)
{
    // The intro draws nothing, so after pass 0 the state is the seed itself,
    // taken modulo 2 to the 32nd.
    const CommandResult r = replay({"--frames", "1", "--time", "4294967301", "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(traceField(r.out, "rng"), "5");
}

TEST(ReplayTool, EventsOfOnePassAreHandledInSuccessivePasses)
{
    TempDir dir;
    // A tap whose key-up is queued behind its key-down is still seen by the
    // frame of the pass that handled the key-down.
    writeFile(dir.file("k"), "# tap\n5 down 65\r\n5 up 65\n\n");
    const CommandResult r = replay({"--frames", "8", "--keys", dir.file("k"), "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(traceField(lines[4], "introApproaching"), "true");
    EXPECT_EQ(traceField(lines[5], "introApproaching"), "false");
    EXPECT_EQ(traceField(lines[5], "introDepth"), "-20.399999999999999");
    EXPECT_EQ(traceField(lines[6], "introDepth"), "-20.399999999999999")
        << "key up: the retreat has ended, so the fade starts";
    EXPECT_EQ(traceField(lines[6], "brightness"), "0.995");
}

TEST(ReplayTool, CloseEndsTheRunAfterTheQuitEventIsTaken)
{
    TempDir dir;
    writeFile(dir.file("k"), "10 close\n");
    const CommandResult r = replay({"--keys", dir.file("k"), "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 12u) << "pass 10 queues the quit, pass 11 takes it and runs its frame";
    EXPECT_EQ(traceField(lines[10], "quitRequested"), "false");
    EXPECT_EQ(traceField(lines[11], "quitRequested"), "true");
}

TEST(ReplayTool, RecordingGivesTimeAndHighScoreAndSavesNothing)
{
    TempDir            dir;
    std::istringstream dataFiles(SWARM_DATA_FILES);
    for (std::string file; dataFiles >> file;)
        ASSERT_EQ(
            symlink((std::string(SWARM_DATA_DIR) + "/" + file).c_str(), dir.file(file).c_str()), 0);
    // Quit from the title at once: the game saves its high score as it quits.
    writeFile(dir.file("r.keys"), "# swarm-recording 1 version 0 game 1 time 7 highscore 43210\n"
                                  "30 down 65\n31 up 65\n300 down escape\n301 up escape\n");
    const CommandResult r =
        replay({"--data", dir.path(), "--keys", dir.file("r.keys"), "--trace", "-"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = splitLines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(traceField(lines[0], "rng"), "7") << "--time from the header";
    EXPECT_EQ(traceField(lines[0], "highScore"), "43210");
    EXPECT_EQ(traceField(lines.back(), "quitRequested"), "true") << "ran until the game quit";
    EXPECT_FALSE(std::ifstream(dir.file("HighScore.dat")).good()) << "a replayed run saves nothing";

    // A time line is what the calendar read in its pass, whatever --time says.
    writeFile(dir.file("t.keys"),
              "# swarm-recording 1 version 0 game 1 time 7 highscore 1\n0 time 9\n");
    const CommandResult t =
        replay({"--keys", dir.file("t.keys"), "--frames", "1", "--time", "8", "--trace", "-"});
    ASSERT_EQ(t.status, 0) << t.err;
    EXPECT_EQ(traceField(t.out, "rng"), "9");
}

TEST(ReplayTool, FilesThatAreNoRegularFilesAreMissingAndNeverHang)
{
    // Every file the game reads is, in turn, a FIFO (which blocks whoever
    // opens it to read), a link to an endless device, or a directory. The game
    // runs without pictures, sound or high score, quits from the title and
    // saves, all in a few hundred passes.
    const char* files[] = {"graphics.dat", "PlayerShot.wav", "EnemyShot.wav", "EExplode.wav",
                           "XtraLife.wav", "PExplode.wav",   "HighScore.dat"};
    for (const char* kind : {"fifo", "zero", "urandom", "directory"}) {
        SCOPED_TRACE(kind);
        TempDir dir;
        for (const char* name : files) {
            const std::string path = dir.file(name);
            const std::string k    = kind;
            const int         made = k == "fifo"        ? mkfifo(path.c_str(), 0644)
                                     : k == "directory" ? mkdir(path.c_str(), 0755)
                                                        : symlink(("/dev/" + k).c_str(), path.c_str());
            ASSERT_EQ(made, 0) << name;
        }
        TempDir keys;
        writeFile(keys.file("k"), "30 down 65\n31 up 65\n300 down escape\n301 up escape\n");
        const CommandResult r = runCommand({replayProgram(), "--data", dir.path(), "--keys",
                                            keys.file("k"), "--frames", "700", "--trace", "-"},
                                           60);
        ASSERT_EQ(r.status, 0) << "killed after a minute, or failed: " << r.err;
        const auto lines = splitLines(r.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(traceField(lines.back(), "quitRequested"), "true");
        EXPECT_EQ(traceField(lines.back(), "highScore"), "10000");
        struct stat info = {};
        ASSERT_EQ(lstat(dir.file("HighScore.dat").c_str(), &info), 0);
        EXPECT_EQ(S_ISDIR(info.st_mode), std::string(kind) == "directory")
            << "the save replaces anything but a directory";
    }
}

TEST(ReplayTool, ScreenshotIsAPicture)
{
    TempDir             dir;
    const CommandResult r = replay({"--frames", "3", "--screenshot", "2:" + dir.file("p.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string png = readFile(dir.file("p.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width and height from the IHDR chunk: 640 x 480.
    EXPECT_EQ(static_cast<unsigned char>(png[18]) * 256 + static_cast<unsigned char>(png[19]), 640);
    EXPECT_EQ(static_cast<unsigned char>(png[22]) * 256 + static_cast<unsigned char>(png[23]), 480);
}

TEST(ReplayTool, BadArgumentsAndScriptsAreRefusedWithStatusTwo)
{
    TempDir dir;
    struct Case {
        std::string script;
        std::string expected;
    };
    const Case cases[] = {
        {"1 down space\n0 up space\n", "line 2"},
        {"1 down space\n\n# fine\n7 press space\n", "line 4"},
        {"3 down 256\n", "line 1"},
        {"-1 down space\n", "line 1"},
        {"x down space\n", "line 1"},
        {"1 down\n", "line 1"},
        {"1 close now\n", "line 1"},
        {"1 down Space\n", "line 1"},
        {"1 down space\n999999 down bogus\n", "line 2"}, // checked even if never reached
    };
    for (const Case& c : cases) {
        writeFile(dir.file("k"), c.script);
        const CommandResult r = replay({"--frames", "1", "--keys", dir.file("k"), "--trace", "-"});
        EXPECT_EQ(r.status, 2) << c.script;
        EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.script << r.err;
        EXPECT_EQ(r.out, "") << "no pass runs";
    }
    const std::vector<std::vector<std::string>> badArgs = {{"--frames", "-3"},
                                                           {"--frames"},
                                                           {"--time", "abc"},
                                                           {"--bogus"},
                                                           {"--screenshot", "12"},
                                                           {"--keys", dir.file("missing")},
                                                           {"--data", dir.file("missing")}};
    for (const auto& args : badArgs) {
        const CommandResult r = replay(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(KeyScript, ParsesWordsCodesAndCrLf)
{
    std::vector<ScriptEvent> events;
    std::string              error;
    ASSERT_TRUE(
        parseKeyScript("0 down escape\r\n0\tup\t27\n12 close\n 12  down 255 \n", &events, &error))
        << error;
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].key, VK_ESCAPE);
    EXPECT_EQ(events[1].action, ScriptAction::Up);
    EXPECT_EQ(events[1].key, 27);
    EXPECT_EQ(events[2].action, ScriptAction::Close);
    EXPECT_EQ(events[3].pass, 12u);
    EXPECT_EQ(events[3].key, 255);
}

} // namespace
