// The player's ship: movement, entry sequence, drawing, firing, being hit and
// its explosion.
#include "game/game_data.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "sound/sound.h"

#include <cstdlib>

namespace {

constexpr int32_t shipSize        = 49;  // side of the ship's square
constexpr int32_t leftLimit       = 140; // moving left only while x is above this
constexpr int32_t rightLimit      = 590; // moving right only while x is at most this
constexpr int32_t playX           = 366; // x once the entry has ended
constexpr int32_t spinCentreX     = 390;
constexpr int32_t spinCentreY     = 25;
constexpr int32_t glowHeight      = 75; // a shot below this lights the ship's top
constexpr int32_t ticksPerPicture = 15;

// True while a player shot is in flight low enough to light the ship's top.
bool shotLeavingShip()
{
    for (int i = 1; i <= playerShotSlots; ++i)
        if (playerShots[i].active && playerShots[i].y < glowHeight)
            return true;
    return false;
}

// Double size and upside down, coming down from the top.
void drawDescent(int32_t x, int32_t y)
{
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, 0);                glVertex2i(x, y + 2 * shipSize);
    glTexCoord2d(0, 1);                glVertex2i(x, y);
    glTexCoord2d(shipPictureRight, 1); glVertex2i(x + 2 * shipSize, y);
    glTexCoord2d(shipPictureRight, 0); glVertex2i(x + 2 * shipSize, y + 2 * shipSize);
    // clang-format on
    glEnd();
}

// Upside down, shrinking about x 390 while it settles on the bottom.
void drawShrink(int32_t x, int32_t y)
{
    const int32_t right = 2 * spinCentreX - x;
    const int32_t top   = 2 * (spinCentreX - x);
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, 0);                glVertex2i(x, top);
    glTexCoord2d(0, 1);                glVertex2i(x, y);
    glTexCoord2d(shipPictureRight, 1); glVertex2i(right, y);
    glTexCoord2d(shipPictureRight, 0); glVertex2i(right, top);
    // clang-format on
    glEnd();
}

// Normal size, turning upright about (390, 25).
void drawSpin()
{
    glBegin(GL_QUADS);
    // clang-format off
    glTexCoord2d(0, 0);                glVertex2i(-25, -25);
    glTexCoord2d(shipPictureRight, 0); glVertex2i(25, -25);
    glTexCoord2d(shipPictureRight, 1); glVertex2i(25, 25);
    glTexCoord2d(0, 1);                glVertex2i(-25, 25);
    // clang-format on
    glEnd();
}

// The explosion is over: the ship is lost, and either a new one enters or,
// with none left, the game is over.
void endExplosion(PlayerShip& ship)
{
    ship.exploding = false;
    --lives;
    if (lives == 0) {
        gameOver = true;
        ship.place(-50, 0, 0);
        screenTimer = 0;
        for (int i = 1; i <= playerShotSlots; ++i) {
            playerShots[i].active = false;
            playerShots[i].y      = 0;
        }
    } else {
        gameState = WaveStart;
    }
}

} // namespace

void PlayerShip::update(int32_t command)
{
    if (paused) {
        draw();
        return;
    }
    switch (command) {
    case -1:
        if (x > leftLimit)
            x -= 2;
        draw();
        break;
    case 0: draw(); break;
    case 1:
        if (x <= rightLimit)
            x += 2;
        draw();
        break;
    case 2:
        if (entryPhase == 1) {
            draw();
            y -= 2;
            if (y <= shipSize)
                entryPhase = 2;
        } else if (entryPhase == 2) {
            draw();
            y -= 2;
            if (y % 2 == 1) // only a positive odd y moves the ship right
                x += 1;
            if (y <= 0) {
                x          = playX;
                y          = 0;
                angle      = 180;
                entryPhase = 3;
            }
        } else if (entryPhase == 3) {
            draw(); // lowers the angle
            if (angle == 0) {
                active      = true;
                entryPhase  = 0;
                shipCommand = 0;
                waveBanner  = false;
            }
        }
        break;
    default: break;
    }
}

// Drawing also moves the ship on: the spin turns by 2 degrees, and the
// explosion steps its pictures and fades, ending in endExplosion.
void PlayerShip::draw()
{
    glBindTexture(GL_TEXTURE_2D, shipSheet.texture);
    if (entryPhase == 1) {
        drawDescent(x, y);
    } else if (entryPhase == 2) {
        drawShrink(x, y);
    } else if (entryPhase == 3) {
        glPushMatrix();
        glLoadIdentity();
        glTranslated(spinCentreX, spinCentreY, 0);
        glRotated(angle, 0, 0, 1);
        drawSpin();
        angle -= 2;
        glPopMatrix();
    } else if (exploding) {
        const double e = explosionBrightness;
        const float  u = static_cast<float>(explosionFrame) * 0.2f;
        glColor3d(e, e, e);
        glBegin(GL_QUADS);
        // clang-format off
        glTexCoord2f(u, 0);         glVertex2i(x, y);
        glTexCoord2f(u + 0.2f, 0);  glVertex2i(x + shipSize, y);
        glTexCoord2f(u + 0.2f, 1);  glVertex2i(x + shipSize, y + shipSize);
        glTexCoord2f(u, 1);         glVertex2i(x, y + shipSize);
        // clang-format on
        glEnd();

        if (explosionFrame < 4) {
            if (++explosionTick >= ticksPerPicture) {
                ++explosionFrame;
                explosionTick = 0;
            }
        } else {
            explosionBrightness -= 0.01;
            if (!(explosionBrightness > 0.0))
                endExplosion(*this);
        }
    } else {
        // The top edge glows red just after a shot has left.
        glBegin(GL_QUADS);
        // clang-format off
        glTexCoord2d(0, 0);                glVertex2i(x, y);
        glTexCoord2d(shipPictureRight, 0); glVertex2i(x + shipSize, y);
        // clang-format on
        if (shotLeavingShip())
            glColor4f(1, 0, 0, 1);
        // clang-format off
        glTexCoord2d(shipPictureRight, 1); glVertex2i(x + shipSize, y + shipSize);
        glTexCoord2d(0, 1);                glVertex2i(x, y + shipSize);
        // clang-format on
        glEnd();
        glColor4f(1, 1, 1, 1);
    }

    if (waveBanner) {
        drawText(310, 240, false, "WAVE  %2i", wave);
        glColor3d(0, 0, 1);
        drawText(290, 200, false, "GET READY!");
    }
}

void PlayerShip::fire()
{
    for (int i = 1; i <= playerShotSlots; ++i) {
        Shot& shot = playerShots[i];
        if (shot.active)
            continue;
        shot.active = true;
        shot.x      = x + 24;
        shot.y      = 50;
        playSound(playerShotSound, 2);
        if (!waveCleared)
            ++shotsFired;
        return;
    }
}

// The hit shape is a tent over the ship: 45 high at its middle column, one
// lower per unit sideways; the ship's own edge columns never count.
bool PlayerShip::hitByEnemyShot()
{
    for (int i = 1; i <= enemyShotSlots; ++i) {
        const Shot& shot = enemyShots[i];
        if (shot.active && x < shot.x && shot.x < x + shipSize &&
            shot.y < 45 - std::abs(shot.x - (x + 24)))
            return true;
    }
    return false;
}

void PlayerShip::explode()
{
    clearEnemyShots();
    active      = false;
    shipCommand = 0;
    exploding   = true;
    playSound(shipExplodeSound, 2);
    explosionBrightness = 1.0;
    explosionFrame      = 1;
    explosionTick       = 0;
}
