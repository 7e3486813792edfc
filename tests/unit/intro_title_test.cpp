// The intro and the title screen: the intro's timeline, its picture and fade,
// the switch to screen space, and the title's pictures, texts and credits line.
#include "game/frame.h"
#include "game/intro_title.h"
#include "game_fixture.h"
#include "gfx/gl.h"
#include "gfx_test_archive.h"
#include "process.h"

#include "trace_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace gfxtest;

namespace {

int swaps = 0;

// The game with the hand-made pictures of gfx_test_archive.h loaded, so every
// pixel of a screen has a known colour.
class IntroTitle : public GameFixture {
  protected:
    static void SetUpTestSuite() { dir = loadHandMadeGraphics(); }
    static void TearDownTestSuite()
    {
        EXPECT_TRUE(loadGameGraphics());
        dir.reset();
    }

    void SetUp() override
    {
        GameFixture::SetUp();
        swaps                    = 0;
        hostServices.swapBuffers = [] { ++swaps; };
    }
    void startIntro()
    {
        gameState        = Intro;
        introDepth       = -100.0;
        introApproaching = true;
        brightness       = 1.0;
        usePerspective();
    }

    // One intro pass as runFrame makes it: the input step, then the intro.
    void introPass()
    {
        handleInput();
        introFrame();
    }

    static std::unique_ptr<TempDir> dir;
};
std::unique_ptr<TempDir> IntroTitle::dir;

constexpr Rgba blue = {0, 0, 255, 255};
using Points        = std::initializer_list<std::pair<int, int>>;

Rgba scaled(Rgba c, double f)
{
    return {uint8_t(std::lround(c.r * f)), uint8_t(std::lround(c.g * f)),
            uint8_t(std::lround(c.b * f)), 255};
}

::testing::AssertionResult near(Rgba expected, Rgba actual)
{
    if (std::abs(expected.r - actual.r) <= 1 && std::abs(expected.g - actual.g) <= 1 &&
        std::abs(expected.b - actual.b) <= 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected " << int(expected.r) << "," << int(expected.g) << "," << int(expected.b)
           << " got " << int(actual.r) << "," << int(actual.g) << "," << int(actual.b);
}

TEST_F(IntroTitle, UntouchedIntroLasts410FramesAndEndsInScreenSpace)
{
    startIntro();
    int frames = 0;
    while (introApproaching) {
        introFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 164);
    EXPECT_EQ(introDepth, -1.6000000000002341);
    while (introDepth >= -20.0) {
        introFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 164 + 46);
    EXPECT_EQ(brightness, 1.0) << "the fade starts in the next frame";
    glEnable(GL_DEPTH_TEST); // the intro's end must switch it off
    while (gameState == Intro && frames < 1000) {
        introFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 410);
    EXPECT_EQ(swaps, 410);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(brightness, 1.0);
    EXPECT_FALSE(fading) << "the intro's fade is its own";

    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLdouble projection[16], modelView[16], colour[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_CURRENT_COLOR, colour);
    const double ortho[16] = {2.0 / 640, 0, 0, 0, 0, 2.0 / 480, 0, 0, 0, 0, -1, 0, -1, -1, 0, 1};
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(projection[i], ortho[i], 1e-7) << i;
        EXPECT_EQ(modelView[i], (i % 5 == 0) ? 1.0 : 0.0) << i;
    }
    EXPECT_EQ(colour[0], 1.0);
    EXPECT_EQ(colour[1], 1.0);
    EXPECT_EQ(colour[2], 1.0);
}

TEST_F(IntroTitle, IntroPictureStandsCentredOnBlue)
{
    startIntro();
    introApproaching = false;
    introDepth       = -20.0;
    introFrame();
    EXPECT_EQ(swaps, 1);
    EXPECT_DOUBLE_EQ(introDepth, -20.4) << "drawn at -20.0, then stepped back";

    const Screen s = Screen();
    EXPECT_TRUE(near(blue, s.at(2, 2)));
    EXPECT_TRUE(near(introColour, s.at(320, 240)));
    // 16 x 4 units at distance 20 under a 45 degree, 4:3 view: 463.5 x 115.9 pixels.
    const auto box = s.inkBox(blue);
    EXPECT_NEAR(box.left, 88, 1);
    EXPECT_NEAR(box.right, 551, 1);
    EXPECT_NEAR(box.bottom, 182, 1);
    EXPECT_NEAR(box.top, 297, 1);
}

TEST_F(IntroTitle, IntroFadeDimsPictureAndBackgroundTogether)
{
    startIntro();
    introApproaching = false;
    introDepth       = -20.4;
    brightness       = 0.5;
    introFrame();
    EXPECT_DOUBLE_EQ(brightness, 0.495);
    EXPECT_DOUBLE_EQ(introDepth, -20.4) << "the picture stays put during the fade";

    const Screen s = Screen();
    EXPECT_TRUE(near({0, 0, 128, 255}, s.at(2, 2)));
    EXPECT_TRUE(near(scaled(introColour, 0.5), s.at(320, 240)));
}

TEST_F(IntroTitle, HeldKeyHoldsTheIntroAndItsFade)
{
    startIntro();
    keys['K'] = 1;
    for (int i = 0; i < 50; ++i) {
        introPass();
        ASSERT_FALSE(introApproaching);
        ASSERT_EQ(introDepth, -20.0 - 0.4) << "frame " << i;
        ASSERT_EQ(brightness, 1.0);
    }
    keys['K'] = 0;
    for (int i = 0; i < 60; ++i)
        introPass();
    const double held = brightness;
    EXPECT_NEAR(held, 0.7, 1e-9);

    keys[VK_LEFT] = 1; // any key holds the fade where it is
    for (int i = 0; i < 30; ++i)
        introPass();
    EXPECT_EQ(brightness, held);
    EXPECT_EQ(gameState, Intro);

    keys[VK_LEFT] = 0;
    int frames    = 0;
    while (gameState == Intro && frames < 1000) {
        introPass();
        ++frames;
    }
    EXPECT_EQ(frames, 140) << "200 fade frames in all";
    EXPECT_EQ(gameState, Title);
}

TEST_F(IntroTitle, TitleShowsBackdropLogoPromptsAndHighScore)
{
    useScreenSpace();
    clearScreen(0, 0, 0);
    highScore = 10000;
    creditsX  = 640;
    titleFrame();
    EXPECT_EQ(swaps, 0) << "the title leaves the swap to the frame";
    EXPECT_EQ(creditsX, 639);

    const Screen s = Screen();
    // Only the upper 34 percent of the backdrop, over the whole screen.
    for (const auto& p :
         Points{{0, 0}, {639, 0}, {0, 479}, {639, 479}, {60, 300}, {630, 200}, {300, 60}, {5, 140}})
        EXPECT_TRUE(near(backdropUpper, s.at(p.first, p.second))) << p.first << "," << p.second;
    int lower = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            lower += s.sameAs(backdropLower, x, y);
    EXPECT_EQ(lower, 0);

    // The logo: 500 x 200 units from (120, 230).
    for (const auto& p : Points{{120, 230}, {619, 230}, {120, 429}, {619, 429}, {370, 330}})
        EXPECT_TRUE(near(logoColour, s.at(p.first, p.second))) << p.first << "," << p.second;
    for (const auto& p : Points{{119, 330}, {620, 330}, {370, 229}, {370, 430}})
        EXPECT_TRUE(near(backdropUpper, s.at(p.first, p.second))) << p.first << "," << p.second;

    EXPECT_EQ(decodeText(s, 100, 150, false, 22, 1), "PRESS SPACEBAR TO PLAY");
    EXPECT_TRUE(s.sameAs({0, 255 - ('P' - 32), 0, 255}, 108, 158)) << "green";
    EXPECT_EQ(decodeText(s, 120, 110, false, 20, 0), "PRESS ESCAPE TO QUIT");
    EXPECT_TRUE(s.sameAs({'P' - 32, 0, 0, 255}, 128, 118)) << "red";
    EXPECT_EQ(decodeText(s, 150, 460, false, 17, 0), "HIGH SCORE  10000");
    EXPECT_TRUE(s.sameAs(fontCellColour('H' - 32), 158, 468)) << "white";
    // Nothing else: the prompts end where their last glyph does.
    EXPECT_TRUE(near(backdropUpper, s.at(100 + 22 * 20 - 4, 158)));
    EXPECT_TRUE(near(backdropUpper, s.at(99, 158)));
}

TEST_F(IntroTitle, CreditsLineRunsAlongTheBottomInHalfSize)
{
    useScreenSpace();
    creditsX = 3;
    titleFrame();
    EXPECT_EQ(creditsX, 2);
    const Screen s = Screen();
    EXPECT_EQ(decodeText(s, 3, 10, true, 63, 0), std::string(creditsText).substr(0, 63));
    EXPECT_TRUE(s.sameAs(fontCellColour(creditsText[0] - 32), 3, 10));
    EXPECT_TRUE(s.sameAs(fontCellColour(creditsText[0] - 32), 10, 17));
    EXPECT_TRUE(near(backdropUpper, s.at(3, 18)));
    EXPECT_TRUE(near(backdropUpper, s.at(3, 9)));
}

TEST_F(IntroTitle, HighScoreWidensBeyondSevenDigits)
{
    useScreenSpace();
    highScore = 123456789;
    titleFrame();
    EXPECT_EQ(decodeText(Screen(), 150, 460, false, 19, 0), "HIGH SCORE123456789");
}

TEST_F(IntroTitle, TitleAtHalfBrightnessIsHalfAsBright)
{
    useScreenSpace();
    brightness = 0.5;
    titleFrame();
    const Screen s = Screen();
    EXPECT_TRUE(near(scaled(backdropUpper, 0.5), s.at(10, 300)));
    EXPECT_TRUE(near(scaled(logoColour, 0.5), s.at(370, 330)));
    const int p = 'P' - 32;
    EXPECT_TRUE(near({0, uint8_t(std::lround((255 - p) * 0.5)), 0, 255}, s.at(108, 158)));
    EXPECT_TRUE(near({uint8_t(std::lround(p * 0.5)), 0, 0, 255}, s.at(128, 118)));
    EXPECT_TRUE(near(scaled(fontCellColour('H' - 32), 0.5), s.at(158, 468)));
}

TEST_F(IntroTitle, CreditsXRunsFrom640DownTo2199ThenStartsAgain)
{
    useScreenSpace();
    // The values drawn, frame by frame: one unit left each frame; -2199 is the
    // last place drawn, so one pass is 640 - (-2199) + 1 = 2840 frames.
    creditsX = 640;
    titleFrame();
    EXPECT_EQ(creditsX, 639);
    creditsX = -2197;
    std::vector<int32_t> drawn;
    for (int i = 0; i < 5; ++i) {
        drawn.push_back(creditsX);
        titleFrame();
    }
    EXPECT_EQ(drawn, (std::vector<int32_t>{-2197, -2198, -2199, 640, 639}));
}

TEST(IntroTitleCredits, CreditsTextIsShortPrintableAndOurOwn)
{
    const std::string text = creditsText;
    EXPECT_LE(text.size(), 220u) << "it must leave the screen before it starts again";
    EXPECT_GT(text.size(), 20u);
    for (char c : text)
        EXPECT_TRUE(c >= 32 && c <= 126) << int(c);
    EXPECT_EQ(text.find('%'), std::string::npos);
    EXPECT_NE(text.find("SWARM!"), std::string::npos);
    EXPECT_NE(text.find("THE SWARM TEAM"), std::string::npos);
}

// --- The whole game, through swarm-replay, with the generated artwork. ---

std::vector<std::string> replayTrace(const TempDir& dir, const std::string& keys, int frames)
{
    std::vector<std::string> args = {
        SWARM_REPLAY_PATH,       "--frames", std::to_string(frames), "--trace",
        dir.file("trace.jsonl"), "--data",   SWARM_DATA_DIR};
    if (!keys.empty()) {
        writeFile(dir.file("keys"), keys);
        args.push_back("--keys");
        args.push_back(dir.file("keys"));
    }
    const CommandResult r = runCommand(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return splitLines(readFile(dir.file("trace.jsonl")));
}

TEST(IntroTitleReplay, UntouchedIntroGivesWayToTheTitleAtPass410)
{
    TempDir    dir;
    const auto lines = replayTrace(dir, "", 412);
    ASSERT_EQ(lines.size(), 412u);
    EXPECT_EQ(traceField(lines[163], "introApproaching"), "false");
    EXPECT_EQ(traceField(lines[163], "introDepth"), "-1.6000000000002341");
    EXPECT_EQ(traceField(lines[408], "gameState"), "1");
    EXPECT_EQ(traceField(lines[409], "gameState"), "2") << "the last intro frame sets Title";
    EXPECT_EQ(traceField(lines[409], "brightness"), "1");
    EXPECT_EQ(traceField(lines[409], "creditsX"), "640");
    EXPECT_EQ(traceField(lines[410], "creditsX"), "639") << "pass 410 is the first title frame";
    EXPECT_EQ(traceField(lines[411], "creditsX"), "638");
}

TEST(IntroTitleReplay, HeldKeyKeepsThePictureAtTwentyUntilReleased)
{
    TempDir    dir;
    const auto lines = replayTrace(dir, "1 down 65\n100 up 65\n", 302);
    ASSERT_EQ(lines.size(), 302u);
    EXPECT_EQ(traceField(lines[0], "introApproaching"), "true");
    for (int pass = 1; pass < 100; ++pass) {
        ASSERT_EQ(traceField(lines[pass], "introDepth"), "-20.399999999999999") << pass;
        ASSERT_EQ(traceField(lines[pass], "brightness"), "1") << pass;
    }
    EXPECT_EQ(traceField(lines[100], "brightness"), "0.995");
    EXPECT_EQ(traceField(lines[298], "gameState"), "1");
    EXPECT_EQ(traceField(lines[299], "gameState"), "2");
}

// --- The generated artwork on the real screens. ---

class IntroTitleArt : public GameFixture {
  protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        ASSERT_TRUE(loadGameGraphics());
    }
};

TEST_F(IntroTitleArt, TitlePromptsShowInGreenAndRed)
{
    useScreenSpace();
    titleFrame();
    const Screen s     = Screen();
    auto         green = [](Rgba p) { return p.g > 150 && p.r < 40 && p.b < 40; };
    auto         red   = [](Rgba p) { return p.r > 150 && p.g < 40 && p.b < 40; };
    EXPECT_GT(s.count(100, 150, 536, 166, green), 200);
    EXPECT_EQ(s.count(100, 150, 536, 166, red), 0);
    EXPECT_GT(s.count(120, 110, 516, 126, red), 200);
    EXPECT_EQ(s.count(120, 110, 516, 126, green), 0);
}

TEST_F(IntroTitleArt, IntroPictureCoversTheMiddleOfTheBlueScreen)
{
    gameState        = Intro;
    introApproaching = false;
    introDepth       = -20.0;
    usePerspective();
    introFrame();
    const Screen s = Screen();
    EXPECT_TRUE(s.sameAs(blue, 5, 5));
    EXPECT_TRUE(s.sameAs(blue, 320, 170));
    int picture = 0;
    for (int y = 184; y < 296; ++y)
        for (int x = 90; x < 550; ++x)
            picture += !s.sameAs(blue, x, y);
    EXPECT_GT(picture, 460 * 112 / 4) << "the picture shows";
    introDepth       = -100.0;
    introApproaching = true;
}

} // namespace
