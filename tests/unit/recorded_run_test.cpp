// A bot plays through the SDL host's own loop, recorded: swarm-replay and a
// watched run of the recording trace the same game, pass for pass; the best
// game is kept only when a new high score is saved; a damaged one is refused.
#include "autoplay.h"
#include "game/game_data.h"
#include "host/headless/offscreen.h"
#include "host/run_session.h"
#include "host/sdl/mixer.h"
#include "host/sdl/sdl_host.h"
#include "host/sdl/window.h"
#include "process.h"
#include "sound/sound.h"
#include "storage/best_game_file.h"
#include "storage/high_score_file.h"
#include "system/clock_source.h"
#include "system/input.h"
#include "system/services.h"
#include "trace.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <sstream>

namespace {

enum class Ending { QuitFromTitle, CloseWindow };

// The bot: the built-in player's keys pushed as SDL key events, one a pass.
// Once the score reaches quitAt it lets go of its keys, then taps Escape
// until the game quits (pause, back to the title, quit), or closes the window.
struct Bot {
    bool        on       = false;
    int32_t     quitAt   = 0;
    Ending      ending   = Ending::QuitFromTitle;
    bool        quitting = false; // the score has reached quitAt
    bool        escape   = false; // Escape is held
    std::string trace;
} bot;

void pushKey(bool down, int key)
{
    SDL_Event e      = {};
    e.type           = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = key == VK_SPACE   ? SDLK_SPACE
                       : key == VK_LEFT  ? SDLK_LEFT
                       : key == VK_RIGHT ? SDLK_RIGHT
                                         : SDLK_ESCAPE;
    SDL_PushEvent(&e);
}

void botPass(uint64_t pass)
{
    appendTraceLine(pass, &bot.trace);
    if (pass == 20000) // a bot that never gets there must not hang the test
        applyInputEvent({InputEventType::Quit, 0});
    if (!bot.on || SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP) > 0)
        return;
    bot.quitting = bot.quitting || score >= bot.quitAt;
    if (!bot.quitting) {
        if (ScriptEvent e; autoplayEvent(pass + 1, &e))
            pushKey(e.action == ScriptAction::Down, e.key);
        return;
    }
    for (int key : {VK_SPACE, VK_LEFT, VK_RIGHT})
        if (keys[key]) {
            pushKey(false, key);
            return;
        }
    if (bot.ending == Ending::CloseWindow) {
        SDL_Event quit = {};
        quit.type      = SDL_QUIT;
        SDL_PushEvent(&quit);
        bot.on = false;
    } else if (bot.escape || pass % 50 == 0) {
        bot.escape = !bot.escape;
        pushKey(bot.escape, VK_ESCAPE);
    }
}

// The built-in player's game of tests/replays/clears_wave_extra_ship.keys:
// the calendar at 4 and a second per 100 passes.
int64_t testCalendar() { return 4 + static_cast<int64_t>(runSession.pass / 100); }

// The game program's start, loop and end, as main() has them, in the working
// directory; frames not paced. Returns the trace.
std::string runGame(const std::string& watch, int32_t quitAt, Ending ending)
{
    std::memset(keys, 0, sizeof keys);
    quitRequested = false;
    restoreGameData();
    highScoreSwitch = HighScoreSwitch{};
    runSession      = RunSession{};
    bot             = Bot{};
    bot.on          = watch.empty();
    bot.quitAt      = quitAt;
    bot.ending      = ending;
    std::string text, why;

    installSdlHost();
    clockSource.realTime         = false;
    hostServices.calendarSeconds = testCalendar;
    if (watch.empty())
        startRecordedRun();
    else if (!readWatchedRecording(watch, &text, &why) || !startWatchedRun(text, &why))
        ADD_FAILURE() << why;
    runSession.passDone = botPass;
    soundBackend        = &mixerSoundBackend;
    EXPECT_TRUE(createDisplayWindow(&why)) << why;
    filterSdlEvents();
    runSdlMainLoop();
    keepBestGame();
    destroyDisplayWindow();
    stopSound();
    return bot.trace;
}

// A trace without each line's last field, the sounds played.
std::string withoutSounds(const std::string& trace)
{
    std::string out;
    for (const std::string& line : splitLines(trace))
        out += line.substr(0, line.find(",\"sounds\":")) + "\n";
    return out;
}

class RecordedRun : public ::testing::Test {
  protected:
    void SetUp() override
    {
        closeOffscreenContext(); // the game opens its own window
        std::istringstream dataFiles(SWARM_DATA_FILES);
        for (std::string file; dataFiles >> file;)
            ASSERT_EQ(
                symlink((std::string(SWARM_DATA_DIR) + "/" + file).c_str(), dir.file(file).c_str()),
                0);
        here  = std::make_unique<InDirectory>(dir.path());
        saved = hostServices;
    }
    void TearDown() override
    {
        here.reset();
        hostServices    = saved;
        highScoreSwitch = HighScoreSwitch{};
        runSession      = RunSession{};
        std::string error;
        ASSERT_TRUE(openOffscreenContext(&error)) << error;
    }
    TempDir                      dir;
    std::unique_ptr<InDirectory> here;
    HostServices                 saved;
};

TEST_F(RecordedRun, ReplayAndWatchTraceTheLiveGame)
{
    writeHighScoreFile("HighScore.dat", 5, 3);
    const std::string live = runGame("", 10, Ending::QuitFromTitle);
    ASSERT_GT(highScoreSwitch.lastSaved, 5) << "the bot set a new high score";
    const std::string recording = readFile(dir.file(bestGameFileName));
    ASSERT_FALSE(recording.empty()) << "kept as the best game";

    // swarm-replay: the recording's calendar and high score.
    TempDir                  other;
    std::vector<std::string> args = {
        SWARM_REPLAY_PATH,          "--data",  dir.path(),     "--keys",
        dir.file(bestGameFileName), "--trace", other.file("t")};
    const CommandResult r = runCommand(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(withoutSounds(readFile(other.file("t"))) == withoutSounds(live))
        << "swarm-replay traces the live run (its sounds are the SDL mixer's, not traced)";

    writeHighScoreFile("HighScore.dat", 999999, 3);
    EXPECT_TRUE(runGame("best", 0, Ending::QuitFromTitle) == live)
        << "watching traces the live run";
    const Bytes saved = readBytes(dir.file("HighScore.dat"));
    EXPECT_EQ(highScoreOfBytes(saved.data(), saved.size()), 999999) << "watching saves nothing";
    EXPECT_EQ(readFile(dir.file(bestGameFileName)), recording);
}

TEST_F(RecordedRun, BestGameIsKeptOnlyWithANewHighScoreSaved)
{
    const std::string old = "# an older best game\n";
    writeFile(dir.file(bestGameFileName), old);
    const struct {
        int32_t     highScore;
        int32_t     quitAt;
        Ending      ending;
        const char* what;
    } runs[] = {
        {999999, 0, Ending::QuitFromTitle, "saved, but no new high score"},
        {5, 10, Ending::CloseWindow, "a new high score, not saved: the window was closed"},
    };
    for (const auto& run : runs) {
        writeHighScoreFile("HighScore.dat", run.highScore, 3);
        runGame("", run.quitAt, run.ending);
        EXPECT_EQ(readFile(dir.file(bestGameFileName)), old) << run.what;
    }
}

TEST(BestGame, DamagedOrForeignIsRefusedInOneLine)
{
    TempDir           dir;
    const std::string header = "# swarm-recording 1 version 1.0.0 game " +
                               std::to_string(gameBehaviourVersion) + " time 5 highscore 100\n";
    const struct {
        std::string text;
        const char* why;
    } files[] = {
        {header.substr(0, 20), "header"},
        {header + "20 down 32\n10 up 32\n", "line 3"},
        {"# swarm-recording 1 version 0.1 game 9999 time 5 highscore 1\n", "game behaviour 9999"},
        {header + std::string(maxRecordingBytes, '#'), "too long"},
    };
    for (const auto& f : files) {
        writeFile(dir.file(bestGameFileName), f.text);
        InDirectory         in(dir.path());
        const CommandResult r = runCommand({SWARM_GAME_PATH, "--watch", "best"}, 30);
        EXPECT_EQ(r.status, 1) << f.why;
        EXPECT_EQ(splitLines(r.err).size(), 1u) << r.err;
        EXPECT_NE(r.err.find(f.why), std::string::npos) << r.err;
    }
}

} // namespace
