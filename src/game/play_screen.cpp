// The play screen: the status panel, the scrolling backdrop, every game object
// in its drawing order, the pause and game-over texts, and the game-over timer.
#include "game/play_screen.h"

#include "game/enemy_logic.h"
#include "game/game_data.h"
#include "game/shots.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"

namespace {

constexpr int32_t separatorX   = 139;
constexpr int32_t mostIcons    = 30;
constexpr int32_t iconsPerRow  = 5;
constexpr int32_t iconStep     = 25;
constexpr int32_t iconSize     = 20;
constexpr double  scrollStep   = 0.0001;
constexpr double  backdropSpan = 0.25; // of the backdrop's height shown at once
constexpr int32_t gameOverHold = 500;

void drawSpareShip(int32_t x, int32_t y)
{
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, 0);                glVertex2i(x, y);
    glTexCoord2d(shipPictureRight, 0); glVertex2i(x + iconSize, y);
    glTexCoord2d(shipPictureRight, 1); glVertex2i(x + iconSize, y + iconSize);
    glTexCoord2d(0, 1);                glVertex2i(x, y + iconSize);
    // clang-format on
    glEnd();
}

void drawBackdrop()
{
    const double t = backdropScroll;
    glBindTexture(GL_TEXTURE_2D, backdrop.texture);
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, t);                glVertex2i(140, 0);
    glTexCoord2d(1, t);                glVertex2i(640, 0);
    glTexCoord2d(1, t + backdropSpan); glVertex2i(640, 480);
    glTexCoord2d(0, t + backdropSpan); glVertex2i(140, 480);
    // clang-format on
    glEnd();
}

} // namespace

void playFrame()
{
    const double b = brightness;

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3d(b, b, b);

    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glVertex2i(separatorX, 0);
    glVertex2i(separatorX, 480);
    glEnd();
    glEnable(GL_TEXTURE_2D);

    drawStatusPanel();
    drawBackdrop();
    glLoadIdentity();

    // Later objects are drawn over earlier ones.
    for (int i = 1; i <= enemySlots; ++i) {
        Enemy& enemy = enemies[i];
        if (enemy.alive || enemy.flashing || enemy.exploding)
            enemy.update();
    }
    updatePlayerShots();
    updateEnemyShots();
    ship.update(shipCommand);

    if (paused) {
        glColor3d(b, b, b);
        drawText(340, 300, false, "PAUSED");
        drawText(160, 280, false, "PRESS SPACEBAR TO RESUME");
        drawText(200, 260, false, "PRESS ESCAPE TO QUIT");
    }
    if (gameOver) {
        glColor3d(b, 0, 0);
        drawText(300, 240, false, "GAME OVER");
    }
    if (!paused)
        scrollBackdrop();
    if (ship.active && !paused)
        enemyLogic();
}

// Draws in the colour that playFrame has set.
void drawStatusPanel()
{
    glBindTexture(GL_TEXTURE_2D, shipSheet.texture);
    int32_t icons = lives - 1;
    if (icons > mostIcons)
        icons = mostIcons;
    for (int32_t k = 0; k < icons; ++k)
        drawSpareShip(10 + iconStep * (k % iconsPerRow), 10 + iconStep * (k / iconsPerRow));

    glBindTexture(GL_TEXTURE_2D, logo.texture);
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, 1); glVertex2i(0, 460);
    glTexCoord2d(0, 0); glVertex2i(0, 350);
    glTexCoord2d(1, 0); glVertex2i(160, 350);
    glTexCoord2d(1, 1); glVertex2i(160, 460);
    // clang-format on
    glEnd();

    drawText(5, 300, true, "HIGH SCORE:");
    drawText(0, 275, false, "%6i", highScore);
    drawText(5, 250, true, "SCORE:");
    drawText(0, 225, false, "%6i", score);
    drawText(5, 200, true, "ENEMIES");
    drawText(5, 190, true, "REMAINING:");
    drawText(60, 165, false, "%3i", enemiesRemaining);
}

void scrollBackdrop()
{
    backdropScroll += scrollStep;
    if (backdropScroll >= 1.0)
        backdropScroll = 0;
}

// Holds the game-over screen, then asks every frame for the fade to the title.
void gameOverTick()
{
    ++screenTimer;
    if (screenTimer > gameOverHold) {
        fading         = true;
        stateAfterFade = Title;
    }
}
