// The play screen: what stops while paused or with the ship out of play, the
// backdrop scroll, the game-over timer, and pictures of the status panel, the
// texts and the ship.
#include "game_fixture.h"
#include "screen.h"

#include "game/play_screen.h"
#include "game/random.h"
#include "game/tally.h"

namespace {

class PlayScreen : public GameFixture {
  protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        useScreenSpace();
        gameState = Playing;
    }

    static bool lit(Rgba p) { return p.r > 30 || p.g > 30 || p.b > 30; }

    // Non-black pixels of the spare-ship icon box at (x, y).
    static int iconPixels(const Screen& screen, int x, int y)
    {
        return screen.count(x, y, x + 20, y + 20, lit);
    }
};

TEST_F(PlayScreen, EnemyLogicRunsOnlyWithTheShipInPlayAndUnpaused)
{
    // With the ship in play at least the firing draw is made each frame.
    shipInPlay();
    uint32_t before = randomState();
    playFrame();
    EXPECT_NE(randomState(), before);

    paused = true;
    before = randomState();
    playFrame();
    EXPECT_EQ(randomState(), before);

    paused      = false;
    ship.active = false;
    before      = randomState();
    playFrame();
    EXPECT_EQ(randomState(), before);
    enemiesRemaining = 0;
    playFrame();
    EXPECT_FALSE(waveCleared) << "the end of a wave waits for the ship";
}

TEST_F(PlayScreen, OnlyLiveFlashingOrExplodingSlotsAreUpdated)
{
    shipInPlay();
    paused               = true; // keep enemyLogic out of it
    enemies[1].x         = 300;
    enemies[1].y         = 400;
    enemies[1].direction = 2;
    playFrame();
    EXPECT_EQ(enemies[1].x, 300) << "a free slot is not clamped or moved";
    paused              = false;
    enemies[1].flashing = true;
    enemyShotsInFlight  = 10;
    enemiesOnScreen     = 10;
    playFrame();
    EXPECT_EQ(enemies[1].x, 302);
}

TEST_F(PlayScreen, BackdropScrollsUnlessPausedAndWraps)
{
    shipInPlay();
    playFrame();
    EXPECT_DOUBLE_EQ(backdropScroll, 0.0001);
    paused = true;
    playFrame();
    EXPECT_DOUBLE_EQ(backdropScroll, 0.0001);

    backdropScroll = 0.99985;
    scrollBackdrop();
    EXPECT_NEAR(backdropScroll, 0.99995, 1e-12);
    scrollBackdrop();
    EXPECT_EQ(backdropScroll, 0.0);
}

TEST_F(PlayScreen, GameOverHoldsFor500FramesThenFadesEveryFrame)
{
    gameOver = true;
    for (int call = 1; call <= 500; ++call) {
        gameOverTick();
        ASSERT_FALSE(fading) << call;
    }
    gameOverTick();
    EXPECT_TRUE(fading);
    EXPECT_EQ(stateAfterFade, Title);
    stateAfterFade = Quitting;
    gameOverTick();
    EXPECT_EQ(stateAfterFade, Title) << "the request repeats every frame";
    EXPECT_EQ(screenTimer, 502);
}

TEST_F(PlayScreen, SpareShipIconsAndSeparator)
{
    ASSERT_TRUE(loadGameGraphics());
    shipInPlay();
    paused = true;
    lives  = 4;
    playFrame();
    const Screen four;
    EXPECT_GT(iconPixels(four, 10, 10), 20);
    EXPECT_GT(iconPixels(four, 35, 10), 20);
    EXPECT_GT(iconPixels(four, 60, 10), 20);
    EXPECT_EQ(iconPixels(four, 85, 10), 0);
    EXPECT_EQ(iconPixels(four, 10, 35), 0);
    // Nothing between the icons.
    EXPECT_EQ(four.count(30, 10, 35, 30, lit), 0);

    // The separator runs along x 139, the border between pixel columns 138
    // and 139; the rasterizer lights one of the two, over the full height.
    const int column = lit(four.at(139, 240)) ? 139 : 138;
    for (int y : {0, 100, 240, 479}) {
        EXPECT_TRUE(isWhite(four.at(column, y))) << "y " << y;
        EXPECT_FALSE(lit(four.at(column == 139 ? 138 : 137, y))) << "y " << y;
    }

    lives = 1;
    playFrame();
    const Screen one;
    EXPECT_EQ(one.count(10, 10, 135, 35, lit), 0);

    lives = 7;
    playFrame();
    const Screen seven;
    EXPECT_GT(iconPixels(seven, 110, 10), 20);
    EXPECT_GT(iconPixels(seven, 10, 35), 20);
    EXPECT_EQ(iconPixels(seven, 35, 35), 0);

    lives = 40;
    playFrame();
    const Screen forty;
    EXPECT_GT(iconPixels(forty, 110, 135), 20) << "30 icons, the last row at y 135";
    EXPECT_EQ(forty.count(0, 160, 135, 164, lit), 0) << "no seventh row";

    // At half brightness the line is half grey.
    brightness = 0.5;
    playFrame();
    const Screen dim;
    const Rgba   half = dim.at(column, 240);
    EXPECT_NEAR(half.r, 128, 3);
    EXPECT_NEAR(half.g, 128, 3);
}

TEST_F(PlayScreen, PauseTextsWhiteAndGameOverRed)
{
    ASSERT_TRUE(loadGameGraphics());
    shipInPlay();
    ship.active = false; // keep enemyLogic out of it
    playFrame();
    const Screen plain;

    backdropScroll = 0; // the same backdrop for every picture
    paused         = true;
    gameOver       = true;
    playFrame();
    const Screen both;

    // "GAME OVER" at (300, 240): red glyphs over the backdrop.
    const int redPlain = plain.count(300, 240, 480, 256, isRed);
    const int redBoth  = both.count(300, 240, 480, 256, isRed);
    EXPECT_GT(redBoth, redPlain + 100);
    // The pause texts in white.
    const int whitePlain = plain.count(160, 280, 640, 296, isWhite);
    const int whiteBoth  = both.count(160, 280, 640, 296, isWhite);
    EXPECT_GT(whiteBoth, whitePlain + 200);
    EXPECT_GT(both.count(340, 300, 460, 316, isWhite),
              plain.count(340, 300, 460, 316, isWhite) + 50);

    // During a fade the red dims with the brightness.
    brightness = 0.5;
    playFrame();
    const Screen dim;
    EXPECT_EQ(dim.count(300, 240, 480, 256, isRed), 0);
    EXPECT_GT(
        dim.count(300, 240, 480, 256, [](Rgba p) { return p.r > 100 && p.r < 150 && p.g < 30; }),
        100);
}

TEST_F(PlayScreen, ShipTopGlowsRedJustAfterAShot)
{
    ASSERT_TRUE(loadGameGraphics());
    shipInPlay();
    paused = true;
    playFrame();
    const Screen calm;
    auto         reddish = [](Rgba p) { return p.r > p.g + 60; };
    const int    calmRed = calm.count(366, 25, 415, 49, reddish);

    playerShots[1].active = true;
    playerShots[1].x      = 390;
    playerShots[1].y      = 70;
    playFrame();
    const Screen glowing;
    EXPECT_GT(glowing.count(366, 25, 415, 49, reddish), calmRed + 50);

    // The glow follows the moved shot: at 72 before the move it is 76 after
    // the move, so no glow.
    paused             = false;
    playerShots[1].y   = 72;
    enemyShotsInFlight = 10;
    enemiesOnScreen    = 10;
    playFrame();
    const Screen after;
    EXPECT_EQ(after.count(366, 25, 415, 49, reddish), calmRed);
}

TEST_F(PlayScreen, WaveBannerDuringTheEntry)
{
    ASSERT_TRUE(loadGameGraphics());
    ship.place(341, 381, 1);
    shipCommand = 2;
    playFrame();
    const Screen banner;
    waveBanner     = false;
    backdropScroll = 0; // the same backdrop for both pictures
    ship.place(341, 381, 1);
    playFrame();
    const Screen none;
    EXPECT_GT(banner.count(290, 200, 490, 216, isBlue),
              none.count(290, 200, 490, 216, isBlue) + 100)
        << "GET READY! in blue";
    EXPECT_GT(banner.count(310, 240, 490, 256, isWhite),
              none.count(310, 240, 490, 256, isWhite) + 50)
        << "WAVE   1";
}

} // namespace
