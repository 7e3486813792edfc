// The game program's command line.
#include "host/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#ifndef SWARM_VERSION
#define SWARM_VERSION "unknown"
#endif

namespace {

constexpr long maxDisplay = 99; // more screens than any machine has

bool parseScale(const char* text, ScaleMode* mode)
{
    if (std::strcmp(text, "auto") == 0)
        *mode = ScaleMode::Auto;
    else if (std::strcmp(text, "integer") == 0)
        *mode = ScaleMode::Integer;
    else if (std::strcmp(text, "fill") == 0)
        *mode = ScaleMode::Fill;
    else
        return false;
    return true;
}

// A screen number: decimal digits only, 0 to maxDisplay.
bool parseDisplay(const char* text, int* display)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end = nullptr;
    errno     = 0;
    long n    = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || n > maxDisplay)
        return false;
    *display = static_cast<int>(n);
    return true;
}

} // namespace

Options parseOptions(int argc, const char* const* argv)
{
    Options options;
    bool    help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            help = true;
            continue;
        }
        if (arg == "--version") {
            version = true;
            continue;
        }
        if (arg == "--window") {
            options.display.window = true;
            continue;
        }
        if (!options.error.empty())
            continue; // the first mistake is the one reported

        // The options that take a value, as `--name value` or `--name=value`.
        const size_t      eq    = arg.find('=');
        const std::string name  = arg.substr(0, eq);
        const char*       value = nullptr;
        if (name == "--scale" || name == "--display" || name == "--watch") {
            if (eq != std::string::npos)
                value = argv[i] + eq + 1;
            else if (i + 1 < argc)
                value = argv[++i];
            else {
                options.error = "option " + name + " needs a value";
                continue;
            }
        }
        if (name == "--scale") {
            if (!parseScale(value, &options.display.scale))
                options.error =
                    "--scale takes auto, integer or fill, not '" + std::string(value) + "'";
        } else if (name == "--watch") {
            options.watch = value;
            if (options.watch.empty())
                options.error = "--watch takes a recording's file or best";
        } else if (name == "--display") {
            if (!parseDisplay(value, &options.display.display))
                options.error =
                    "--display takes a screen number from 0, not '" + std::string(value) + "'";
        } else if (arg.size() > 1 && arg[0] == '-') {
            options.error = "unknown option '" + arg + "'";
        } else {
            options.error = "unexpected argument '" + arg + "'";
        }
    }
    if (help)
        options.action = OptionsAction::Help;
    else if (version)
        options.action = OptionsAction::Version;
    else if (!options.error.empty())
        options.action = OptionsAction::Error;
    return options;
}

const char* usageText()
{
    return "Usage: swarm [--window] [--scale auto|integer|fill] [--display N]\n"
           "             [--watch FILE|best]\n"
           "       swarm --help | --version\n"
           "Swarm!: shoot down waves of insects. Left and Right move, Space fires,\n"
           "Escape pauses. A gamepad works too: D-pad or left stick, A (Cross), Start.\n"
           "\n"
           "  --window         start in a window, 1280 x 960 where the screen has room,\n"
           "                   instead of fullscreen; Alt+Enter switches at any time\n"
           "  --scale MODE     how the 640 x 480 picture is enlarged:\n"
           "                     integer  by the largest whole number that fits\n"
           "                     fill     to the largest 4:3 area that fits\n"
           "                     auto     integer where it keeps 85 % of the fill\n"
           "                              height (1080p, 1440p, 4K), else fill (default)\n"
           "  --display N      the screen to use, counted from 0 (default 0)\n"
           "  --watch FILE     watch a recorded game instead of playing: FILE, or best\n"
           "                   for your best game (BestGame.keys, kept beside the high\n"
           "                   score when a game sets a new one); Escape ends watching\n"
           "  -h, --help       show this help and exit\n"
           "  --version        show the version and exit\n";
}

std::string versionText() { return std::string("swarm ") + SWARM_VERSION; }

const char* projectVersion() { return SWARM_VERSION; }
