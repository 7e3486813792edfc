// The game's data: every variable, the ship, the shot and enemy slots, and the
// new-game reset. Arrays are indexed from 1; slot 0 is never used.
#pragma once
#include <cstdint>

enum GameState : int32_t {
    Loading   = 0, // the first frame: start-up work
    Intro     = 1, // the intro picture flies in, away and fades
    Title     = 2, // the title screen
    WaveStart = 3, // a wave or a new ship begins; falls through into Playing
    Playing   = 4, // play, pause, wave tally and game-over screen
    Quitting  = 5, // saves the high score; the loop ends
};

struct PlayerShip {
    int32_t explosionFrame;      // explosion picture shown, 1..4
    int32_t explosionTick;       // frames the current picture has shown, 0..14
    double  explosionBrightness; // intensity of the explosion, 1.0 down to 0
    int32_t x;                   // left edge, screen units
    int32_t y;                   // bottom edge; 0 while in play
    int32_t angle;               // degrees during the spin, 180 down to 0
    int32_t entryPhase;          // 0 none, 1 descent, 2 shrink, 3 spin
    bool    active;              // the ship is in play
    bool    exploding;           // the explosion is running

    void place(int32_t newX, int32_t newY, int32_t newEntryPhase);
    void update(int32_t command); // -1 left, 0 none, 1 right, 2 entry sequence
    void draw();                  // also ages the spin and the explosion, and can end the explosion
    void fire();
    bool hitByEnemyShot();
    void explode();
};

struct Shot {
    int32_t speed;  // units per frame
    bool    active; // in flight
    int32_t x;      // x of the line
    int32_t y;      // lower end of the line; it runs to y + 10
};

struct Enemy {
    int32_t x;                   // centre x, screen units
    int32_t y;                   // centre y, screen units
    int32_t sprite;              // index into enemySprites, 0..8
    int32_t direction;           // heading 0..7
    int32_t speed;               // units per frame along each axis of the heading
    bool    exploding;           // the explosion is running
    bool    alive;               // in play and can be hit
    int32_t flashX;              // centre x of the spawn flash
    int32_t flashY;              // centre y of the spawn flash
    bool    flashing;            // the spawn flash is running
    double  flashAlpha;          // opacity of the spawn flash, 1.0 down to 0
    double  explosionBrightness; // grey level of the exploding sprite, 1.0 down to 0
    int32_t explosionSize;       // half the side of the explosion ring, units

    void reset();
    void setPosition(int32_t newX, int32_t newY);
    void changeDirection(int32_t heading); // -1: a random heading other than the current
    void spawn();
    void update();
    void draw();
    void fire();
    void kill();
};

constexpr int playerShotSlots = 2;  // playerShots[1..2]
constexpr int enemyShotSlots  = 10; // enemyShots[1..10]
constexpr int enemySlotCount  = 20; // enemies[1..20]; 1..enemySlots are used

// The variables are grouped by what sets them. A new variable needs: its place
// in a group (and in resetGame or nextWave when it belongs there), a field in
// the replay trace (tools/replay/trace.cpp), and its checks, if any, in
// tools/replay/invariants.cpp.

// --- Kept by resetGame: set by runFrame and handleInput (states.cpp), the
// intro (intro_title.cpp) and the tally (tally.cpp). ---
extern GameState gameState;        // current top-level state
extern GameState stateAfterFade;   // state entered when the running fade ends
extern bool      fading;           // a fade-out of brightness is running
extern double    brightness;       // global colour multiplier, 0..1
extern double    introDepth;       // z of the intro picture
extern bool      introApproaching; // the intro picture still comes closer
extern bool      paused;           // play is paused; the title frame clears it
extern int32_t   highScore;        // best score: loaded at start, raised by each frame
extern int32_t   waveBonus;        // accuracy bonus of the tally on show, set each tally frame

// --- Set by resetGame, then changed by play. ---
extern bool    gameOver;       // the last ship is lost
extern int32_t shipCommand;    // -1 left, 0 none, 1 right, 2 entry sequence
extern double  backdropScroll; // texture t of the play-field backdrop's bottom
extern int32_t creditsX;       // x of the title's credits line
extern int32_t score;          // current score; nextWave adds the bonus
extern int32_t lives;          // ships left, the one in play included; nextWave may add one
extern int32_t enemySlots;     // enemy slots in use (always 10)

// --- Set by resetGame and again for each new wave by nextWave (tally.cpp). ---
extern bool    waveBanner;           // show "WAVE n" and "GET READY!" during the entry
extern bool    waveCleared;          // the wave is cleared; the tally runs
extern int32_t screenTimer;          // frames of the tally or of the game-over screen
extern bool    extraShipSoundPlayed; // the tally's extra-ship sound has played
extern int32_t shotsFired;           // player shots counted this wave
extern int32_t hits;                 // enemies destroyed this wave
extern int32_t wave;                 // wave number from 1
extern int32_t waveSize;             // enemies in this wave
extern int32_t enemiesRemaining;     // enemies of the wave not yet destroyed
extern int32_t enemySpeed;           // speed of new enemies
extern int32_t enemyShotSpeed;       // speed of new enemy shots
extern int32_t enemyFloor;           // lowest y of an enemy's centre

// --- Set by resetGame, then kept equal to the slots in use by the code that
// fills and frees them. ---
extern int32_t enemiesOnScreen;    // enemies alive on the field
extern int32_t enemyShotsInFlight; // enemy shots in flight, at most 10

extern PlayerShip ship;
extern Shot       playerShots[playerShotSlots + 1];
extern Shot       enemyShots[enemyShotSlots + 1];
extern Enemy      enemies[enemySlotCount + 1];

// Puts the game's data into the state of a new game and reseeds the random
// generator from the calendar time.
void resetGame();

// Takes every enemy shot out of play (the ship exploded, or the wave is clear).
void clearEnemyShots();
