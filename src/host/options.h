// The game program's command line: a window or fullscreen, the scaling mode,
// which screen, a recording to watch, and --help and --version.
#pragma once
#include "host/scaling.h"

#include <string>

// What the player chose for the display; read when the window opens.
struct DisplaySettings {
    bool      window  = false;           // start in a window instead of fullscreen
    ScaleMode scale   = ScaleMode::Auto; // how the picture is scaled
    int       display = 0;               // which screen, from 0
};

enum class OptionsAction {
    Run,     // start the game with `display`
    Help,    // print usageText() to standard output, exit 0
    Version, // print versionText() to standard output, exit 0
    Error,   // print `error` and a hint to standard error, exit 2
};

struct Options {
    OptionsAction   action = OptionsAction::Run;
    DisplaySettings display;
    std::string     watch; // --watch: a recording's file, or "best"; empty to play
    std::string     error; // one line, for Error
};

// Reads argv[1] to argv[argc - 1]. Options may be given as `--scale fill` or
// `--scale=fill`; a later one overrides an earlier one. --help and --version
// win over everything else given with them, bad options included.
Options parseOptions(int argc, const char* const* argv);

// One screen of usage: every option with a line or two on it.
const char* usageText();

// "swarm VERSION", the project's version.
std::string versionText();

// The project's version alone, as recordings name it.
const char* projectVersion();
