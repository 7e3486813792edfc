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

// x and y change per unit of speed for an enemy's headings 0 (up) to 7 (up
// and left), turning clockwise.
constexpr int32_t headingX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int32_t headingY[8] = {1, 1, 0, -1, -1, -1, 0, 1};

constexpr int playerShotSlots = 2;  // playerShots[1..2]
constexpr int enemyShotSlots  = 10; // enemyShots[1..10]
constexpr int enemySlotCount  = 20; // enemies[1..20]; 1..enemySlots are used

// What sets each game variable:
//   Kept     kept by resetGame: set by runFrame and handleInput (states.cpp),
//            the intro (intro_title.cpp) and the tally (tally.cpp)
//   NewGame  set by resetGame, then changed by play
//   NewWave  set by resetGame and again for each new wave by nextWave (tally.cpp)
//   Slots    set by resetGame, then kept equal to the slots in use by the code
//            that fills and frees them
enum class DataGroup { Kept, NewGame, NewWave, Slots };

// Every game variable, in the replay trace's order:
//   X(type, name, value at program start, group, value resetGame gives)
// The declarations, definitions, resets and the trace's fields are all made
// from this one list, so a new variable is added here alone (and its checks,
// if any, in tools/replay/invariants.cpp).
// clang-format off
#define GAME_VARIABLES(X) \
    X(GameState, gameState,            Loading, Kept,    Loading) /* current top-level state */ \
    X(GameState, stateAfterFade,       Loading, Kept,    Loading) /* state entered when the running fade ends */ \
    X(bool,      fading,               false,   Kept,    false)   /* a fade-out of brightness is running */ \
    X(double,    brightness,           1.0,     Kept,    1.0)     /* global colour multiplier, 0..1 */ \
    X(double,    introDepth,           -100.0,  Kept,    -100.0)  /* z of the intro picture */ \
    X(bool,      introApproaching,     true,    Kept,    true)    /* the intro picture still comes closer */ \
    X(bool,      paused,               false,   Kept,    false)   /* play is paused; the title frame clears it */ \
    X(bool,      gameOver,             false,   NewGame, false)   /* the last ship is lost */ \
    X(bool,      waveCleared,          false,   NewWave, false)   /* the wave is cleared; the tally runs */ \
    X(int32_t,   screenTimer,          0,       NewWave, 0)       /* frames of the tally or of the game-over screen */ \
    X(bool,      waveBanner,           false,   NewWave, true)    /* show "WAVE n" and "GET READY!" during the entry */ \
    X(bool,      extraShipSoundPlayed, false,   NewWave, false)   /* the tally's extra-ship sound has played */ \
    X(int32_t,   shipCommand,          0,       NewGame, 2)       /* -1 left, 0 none, 1 right, 2 entry sequence */ \
    X(double,    backdropScroll,       0.0,     NewGame, 0.0)     /* texture t of the play-field backdrop's bottom */ \
    X(int32_t,   creditsX,             0,       NewGame, 640)     /* x of the title's credits line */ \
    X(int32_t,   score,                0,       NewGame, 0)       /* current score; nextWave adds the bonus */ \
    X(int32_t,   highScore,            0,       Kept,    0)       /* best score: loaded at start, raised by each frame */ \
    X(int32_t,   lives,                0,       NewGame, 4)       /* ships left, the one in play included; nextWave may add one */ \
    X(int32_t,   wave,                 0,       NewWave, 1)       /* wave number from 1 */ \
    X(int32_t,   waveSize,             0,       NewWave, 10)      /* enemies in this wave */ \
    X(int32_t,   enemiesRemaining,     0,       NewWave, 10)      /* enemies of the wave not yet destroyed */ \
    X(int32_t,   shotsFired,           0,       NewWave, 0)       /* player shots counted this wave */ \
    X(int32_t,   hits,                 0,       NewWave, 0)       /* enemies destroyed this wave */ \
    X(int32_t,   waveBonus,            0,       Kept,    0)       /* accuracy bonus of the tally on show, set each tally frame */ \
    X(int32_t,   enemySlots,           0,       NewGame, 10)      /* enemy slots in use (always 10) */ \
    X(int32_t,   enemiesOnScreen,      0,       Slots,   0)       /* enemies alive on the field */ \
    X(int32_t,   enemyShotsInFlight,   0,       Slots,   0)       /* enemy shots in flight, at most 10 */ \
    X(int32_t,   enemyShotSpeed,       0,       NewWave, 2)       /* speed of new enemy shots */ \
    X(int32_t,   enemySpeed,           0,       NewWave, 2)       /* speed of new enemies */ \
    X(int32_t,   enemyFloor,           0,       NewWave, 380)     /* lowest y of an enemy's centre */
// clang-format on

#define GAME_VARIABLE_DECLARATION(type, name, start, group, newGame) extern type name;
GAME_VARIABLES(GAME_VARIABLE_DECLARATION)
#undef GAME_VARIABLE_DECLARATION

extern PlayerShip ship;
extern Shot       playerShots[playerShotSlots + 1];
extern Shot       enemyShots[enemyShotSlots + 1];
extern Enemy      enemies[enemySlotCount + 1];

// Puts the game's data into the state of a new game and reseeds the random
// generator from the calendar time.
void resetGame();

// Every variable, the ship and the slots back to their values at program
// start, as for a new run of the program.
void restoreGameData();

// Takes every enemy shot out of play (the ship exploded, or the wave is clear).
void clearEnemyShots();
