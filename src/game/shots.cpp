// Player and enemy shots: drawing and moving them, the player shots' hit test
// against an enemy, and the once-per-frame collision pass.
#include "game/shots.h"

#include "game/game_data.h"
#include "gfx/gl.h"

namespace {

constexpr int32_t shotLength    = 10;
constexpr int32_t playerShotTop = 470; // a player shot above this leaves the field
constexpr int32_t enemyReach    = 17;  // hit square: closer than this on both axes

// One shot line in the given colour; texturing is off only for the line.
void drawShotLine(const Shot& shot, double red, double green)
{
    glDisable(GL_TEXTURE_2D);
    glColor3d(red, green, 0);
    glBegin(GL_LINES);
    glVertex2i(shot.x, shot.y);
    glVertex2i(shot.x, shot.y + shotLength);
    glEnd();
    glColor3d(brightness, brightness, brightness);
    glEnable(GL_TEXTURE_2D);
}

} // namespace

// Each shot is drawn where it stands, then moves up.
void updatePlayerShots()
{
    for (int i = 1; i <= playerShotSlots; ++i) {
        Shot& shot = playerShots[i];
        if (!shot.active)
            continue;
        drawShotLine(shot, brightness, 0);
        if (!paused)
            shot.y += shot.speed;
        if (shot.y > playerShotTop) {
            shot.active = false;
            shot.y      = 0;
        }
    }
}

// Each shot is drawn where it stands, then moves down.
void updateEnemyShots()
{
    for (int i = 1; i <= enemyShotSlots; ++i) {
        Shot& shot = enemyShots[i];
        if (!shot.active)
            continue;
        drawShotLine(shot, 0, brightness);
        if (!paused)
            shot.y -= shot.speed;
        if (shot.y < 0) {
            shot.active = false;
            shot.y      = 0;
            --enemyShotsInFlight;
        }
    }
}

// Both slots are tested whatever their flag: a free slot holds y 0, far below
// any enemy. The first slot that hits is used up.
bool hitByPlayerShot(const Enemy& enemy)
{
    for (int i = 1; i <= playerShotSlots; ++i) {
        Shot& shot = playerShots[i];
        if (enemy.x - enemyReach < shot.x && shot.x < enemy.x + enemyReach &&
            enemy.y - enemyReach < shot.y && shot.y < enemy.y + enemyReach) {
            shot.active = false;
            shot.y      = 0;
            return true;
        }
    }
    return false;
}

// Player shots against the enemies in slot order, then enemy shots against
// the ship.
void checkCollisions()
{
    for (int i = 1; i <= enemySlots; ++i) {
        Enemy& enemy = enemies[i];
        if (enemy.alive && hitByPlayerShot(enemy))
            enemy.kill();
    }
    if (ship.active && ship.hitByEnemyShot())
        ship.explode();
}
