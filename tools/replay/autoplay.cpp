// A simple built-in player: starts a game from the title, steers under the
// nearest enemy, fires when lined up, and steps aside from enemy shots.
#include "autoplay.h"

#include "game/game_data.h"
#include "system/input.h"

#include <cstdlib>

namespace {

bool wantLeft  = false;
bool wantRight = false;
bool wantSpace = false;

// The x of the nearest enemy shot coming down on the ship's square or beside
// it; -1 when none is close.
int threatX()
{
    int best = -1, bestY = 1 << 30;
    for (int i = 1; i <= enemyShotSlots; ++i) {
        const Shot& s = enemyShots[i];
        if (s.active && s.y < 170 && s.x > ship.x - 12 && s.x < ship.x + 61 && s.y < bestY) {
            best  = s.x;
            bestY = s.y;
        }
    }
    return best;
}

void decide()
{
    wantLeft = wantRight = wantSpace = false;
    if (gameState == Title) {
        wantSpace = true;
        return;
    }
    if (gameState != Playing || !ship.active || paused)
        return;
    const int middle = ship.x + 24;
    const int threat = threatX();
    if (threat >= 0) {
        // Step away from the shot, towards the roomier side.
        const bool roomLeft  = ship.x > 200;
        const bool roomRight = ship.x < 532;
        if ((threat >= middle && roomLeft) || !roomRight)
            wantLeft = true;
        else
            wantRight = true;
        return;
    }
    // Aim where an enemy will be when a shot fired now reaches it, assuming it
    // keeps its heading; fire only at enemies whose x is sure to hold (moving
    // straight up or down, or pressed against a side of their box).
    int  best = -1;
    bool sure = false;
    for (int i = 1; i <= enemySlots; ++i) {
        const Enemy& e = enemies[i];
        if (!e.alive)
            continue;
        const int dx = headingX[e.direction & 7] * e.speed;
        const int dy = headingY[e.direction & 7] * e.speed;
        int       x = e.x, y = e.y, shotY = 50, t = 0;
        while (shotY + 10 < y - 16 && t < 200) {
            x += dx;
            y += dy;
            x = x < 160 ? 160 : x > 590 ? 590 : x;
            y = y < enemyFloor ? enemyFloor : y > 435 ? 435 : y;
            shotY += 4;
            ++t;
        }
        const bool steady = dx == 0 || (dx < 0 && e.x <= 160) || (dx > 0 && e.x >= 590);
        if (best < 0 || std::abs(x - middle) < std::abs(best - middle)) {
            best = x;
            sure = steady;
        }
    }
    if (best < 0)
        return;
    if (best < middle - 1)
        wantLeft = true;
    else if (best > middle + 1)
        wantRight = true;
    wantSpace = std::abs(best - middle) <= (sure ? 10 : 4);
}

} // namespace

bool autoplayEvent(uint64_t pass, ScriptEvent* event)
{
    decide();
    struct Want {
        int  key;
        bool down;
    } wants[] = {{VK_SPACE, wantSpace}, {VK_LEFT, wantLeft}, {VK_RIGHT, wantRight}};
    for (const Want& w : wants) {
        if ((keys[w.key] == 1) != w.down) {
            *event = {pass, w.down ? ScriptAction::Down : ScriptAction::Up, w.key, 0};
            return true;
        }
    }
    return false;
}
