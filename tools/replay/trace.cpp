// The trace of a replayed game: one JSON object per pass with all game data,
// named as in the game, plus the random state and the sounds of the pass.
#include "trace.h"

#include "game/game_data.h"
#include "game/random.h"
#include "host/headless/headless_host.h"
#include "sound/sound.h"
#include "system/input.h"

#include <cinttypes>
#include <cstdio>

namespace {

struct Writer {
    std::string* out;
    bool         first = true;

    void key(const char* name)
    {
        if (!first)
            out->push_back(',');
        first = false;
        out->push_back('"');
        out->append(name);
        out->append("\":");
    }
    void field(const char* name, int64_t value)
    {
        key(name);
        out->append(std::to_string(value));
    }
    void field(const char* name, int32_t value) { field(name, int64_t{value}); }
    void field(const char* name, GameState value) { field(name, int64_t{value}); }
    void field(const char* name, bool value)
    {
        key(name);
        out->append(value ? "true" : "false");
    }
    void field(const char* name, double value)
    {
        key(name);
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", value);
        out->append(text);
    }
    void element()
    {
        if (!first)
            out->push_back(',');
        first = false;
    }
    void open(char bracket)
    {
        out->push_back(bracket);
        first = true;
    }
    void close(char bracket)
    {
        out->push_back(bracket);
        first = false;
    }
};

void writeShot(Writer& w, const Shot& shot)
{
    w.element();
    w.open('{');
    w.field("speed", int64_t{shot.speed});
    w.field("active", shot.active);
    w.field("x", int64_t{shot.x});
    w.field("y", int64_t{shot.y});
    w.close('}');
}

void writeEnemy(Writer& w, const Enemy& e)
{
    w.element();
    w.open('{');
    w.field("x", int64_t{e.x});
    w.field("y", int64_t{e.y});
    w.field("sprite", int64_t{e.sprite});
    w.field("direction", int64_t{e.direction});
    w.field("speed", int64_t{e.speed});
    w.field("exploding", e.exploding);
    w.field("alive", e.alive);
    w.field("flashX", int64_t{e.flashX});
    w.field("flashY", int64_t{e.flashY});
    w.field("flashing", e.flashing);
    w.field("flashAlpha", e.flashAlpha);
    w.field("explosionBrightness", e.explosionBrightness);
    w.field("explosionSize", int64_t{e.explosionSize});
    w.close('}');
}

void writeList(Writer& w, const char* name)
{
    w.key(name);
    w.open('[');
}

} // namespace

void appendTraceLine(uint64_t pass, std::string* out)
{
    Writer w{out};
    w.open('{');
    w.field("pass", static_cast<int64_t>(pass));
#define GAME_VARIABLE_FIELD(type, name, start, group, newGame) w.field(#name, name);
    GAME_VARIABLES(GAME_VARIABLE_FIELD)
#undef GAME_VARIABLE_FIELD
    w.field("quitRequested", quitRequested);

    w.key("ship");
    w.open('{');
    w.field("explosionFrame", int64_t{ship.explosionFrame});
    w.field("explosionTick", int64_t{ship.explosionTick});
    w.field("explosionBrightness", ship.explosionBrightness);
    w.field("x", int64_t{ship.x});
    w.field("y", int64_t{ship.y});
    w.field("angle", int64_t{ship.angle});
    w.field("entryPhase", int64_t{ship.entryPhase});
    w.field("active", ship.active);
    w.field("exploding", ship.exploding);
    w.close('}');

    writeList(w, "playerShots");
    for (int i = 1; i <= playerShotSlots; ++i)
        writeShot(w, playerShots[i]);
    w.close(']');
    writeList(w, "enemyShots");
    for (int i = 1; i <= enemyShotSlots; ++i)
        writeShot(w, enemyShots[i]);
    w.close(']');
    writeList(w, "enemies");
    for (int i = 1; i <= enemySlotCount; ++i)
        writeEnemy(w, enemies[i]);
    w.close(']');

    w.field("rng", static_cast<int64_t>(randomState()));

    writeList(w, "sounds");
    for (const SoundCall& call : headlessHost.soundCalls) {
        w.element();
        out->append("[" + std::to_string(call.channel) + ",\"" + call.fileName + "\"]");
    }
    w.close(']');
    w.close('}');
    out->push_back('\n');
}
