// The enemies: spawning, wandering in eight headings, drawing with their spawn
// flash and explosion, firing, being destroyed, and the per-frame enemy logic.
#include "game/enemy_logic.h"

#include "game/game_data.h"
#include "game/random.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "sound/sound.h"

namespace {

constexpr int32_t boxLeft    = 160;
constexpr int32_t boxRight   = 590;
constexpr int32_t boxTop     = 435;
constexpr int32_t spawnLeft  = 157;
constexpr int32_t spawnRange = 450;
constexpr int32_t spawnY     = 400;
constexpr int32_t halfSprite = 17;
constexpr int32_t ringStart  = 5;

// A quad of half-side `half` about (cx, cy), corners from the lower left
// counter-clockwise, drawn under its own saved transform; the whole texture
// when `textured`.
void drawCentredQuad(int32_t cx, int32_t cy, int32_t half, bool textured)
{
    glPushMatrix();
    glTranslated(cx, cy, 0);
    glBegin(GL_QUADS);
    if (textured)
        glTexCoord2d(0, 0);
    glVertex2i(-half, -half);
    if (textured)
        glTexCoord2d(1, 0);
    glVertex2i(half, -half);
    if (textured)
        glTexCoord2d(1, 1);
    glVertex2i(half, half);
    if (textured)
        glTexCoord2d(0, 1);
    glVertex2i(-half, half);
    glEnd();
    glPopMatrix();
}

bool slotFree(const Enemy& enemy) { return !enemy.alive && !enemy.exploding; }

} // namespace

void Enemy::setPosition(int32_t newX, int32_t newY)
{
    x = newX;
    y = newY;
}

void Enemy::changeDirection(int32_t heading)
{
    if (heading != -1) {
        direction = heading;
        return;
    }
    int32_t drawn;
    do
        drawn = randomDraw() % 8;
    while (drawn == direction);
    direction = drawn;
}

void Enemy::spawn()
{
    alive = true;
    setPosition(spawnLeft + randomDraw() % spawnRange, spawnY);
    sprite     = randomDraw() % 9;
    flashAlpha = 1.0;
    flashing   = true;
    flashX     = x;
    flashY     = y;
    speed      = enemySpeed;
    changeDirection(-1);
}

// Moves unless paused (exploding enemies drift on), clamps to the box, draws.
void Enemy::update()
{
    if (!paused && direction >= 0 && direction < 8) {
        x += headingX[direction] * speed;
        y += headingY[direction] * speed;
    }
    if (x < boxLeft)
        x = boxLeft;
    if (x > boxRight)
        x = boxRight;
    if (y < enemyFloor)
        y = enemyFloor;
    if (y > boxTop)
        y = boxTop;
    draw();
}

// Flash, sprite and ring; the flash and the explosion age only while neither
// paused nor fading.
void Enemy::draw()
{
    const bool   ageing = !paused && !fading;
    const double b      = brightness;

    if (flashing) {
        glDisable(GL_TEXTURE_2D);
        glColor4d(0, 0, b, flashAlpha);
        drawCentredQuad(flashX, flashY, halfSprite, false);
        glColor4d(b, b, b, 1);
        glEnable(GL_TEXTURE_2D);
        if (ageing) {
            flashAlpha -= 0.01;
            if (flashAlpha <= 0.0) {
                flashAlpha = 1.0;
                flashing   = false;
            }
        }
    }
    if (!alive && !exploding)
        return;

    const int32_t picture = sprite >= 0 && sprite < 9 ? sprite : 0;
    glBindTexture(GL_TEXTURE_2D, enemySprites[picture].texture);
    double grey = b;
    if (exploding)
        grey = fading && b < explosionBrightness ? b : explosionBrightness;
    glColor3d(grey, grey, grey);
    drawCentredQuad(x, y, halfSprite, true);
    if (!exploding)
        return;

    glBindTexture(GL_TEXTURE_2D, explosionRing.texture);
    glColor3d(b, b, b);
    drawCentredQuad(x, y, explosionSize, true);
    if (ageing) {
        explosionBrightness -= 0.02;
        explosionSize += 1;
        if (explosionBrightness <= 0.0) {
            explosionBrightness = 1.0;
            explosionSize       = ringStart;
            exploding           = false;
        }
    }
}

void Enemy::fire()
{
    for (int i = 1; i <= enemyShotSlots; ++i) {
        Shot& shot = enemyShots[i];
        if (shot.active)
            continue;
        shot.active = true;
        shot.speed  = enemyShotSpeed;
        shot.x      = x;
        shot.y      = y - 10;
        ++enemyShotsInFlight;
        playSound(enemyShotSound, 1);
        return;
    }
}

void Enemy::kill()
{
    alive = false;
    --enemiesOnScreen;
    --enemiesRemaining;
    ++hits;
    score += wave * 5;
    exploding = true;
    playSound(enemyExplodeSound, 3);
}

// Spawning, turning, firing and the end of the wave, in this order. The random
// draws are made in this order too, so a game replays from its seed and keys.
void enemyLogic()
{
    if (enemiesOnScreen < enemySlots && enemiesOnScreen < enemiesRemaining &&
        randomDraw() % 100 == 0) {
        for (int i = 1; i <= enemySlots; ++i) {
            if (slotFree(enemies[i])) {
                enemies[i].spawn();
                ++enemiesOnScreen;
                break;
            }
        }
    }

    for (int i = 1; i <= enemySlots; ++i)
        if (enemies[i].alive && randomDraw() % 500 < 3)
            enemies[i].changeDirection(-1);

    if (enemyShotsInFlight < enemyShotSlots) {
        const int32_t slot = randomDraw() % enemySlots + 1;
        if (enemies[slot].alive)
            enemies[slot].fire();
    }

    if (enemiesRemaining == 0) {
        clearEnemyShots();
        waveCleared = true;
    }
}
