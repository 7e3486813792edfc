// The game program's command line, parsed and as the program answers it, and
// the man page and README naming every option --help names.
#include "host/options.h"

#include "process.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace {

Options parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "swarm");
    return parseOptions(static_cast<int>(args.size()), args.data());
}

TEST(Options, EachOptionInBothForms)
{
    Options none = parse({});
    EXPECT_EQ(none.action, OptionsAction::Run);
    EXPECT_FALSE(none.display.window);
    EXPECT_EQ(none.display.scale, ScaleMode::Auto);
    EXPECT_EQ(none.display.display, 0);

    EXPECT_TRUE(parse({"--window"}).display.window);
    EXPECT_EQ(parse({"--scale", "integer"}).display.scale, ScaleMode::Integer);
    EXPECT_EQ(parse({"--scale=fill"}).display.scale, ScaleMode::Fill);
    EXPECT_EQ(parse({"--scale", "fill", "--scale", "auto"}).display.scale, ScaleMode::Auto);
    EXPECT_EQ(parse({"--display", "2"}).display.display, 2);
    EXPECT_EQ(parse({"--display=0"}).display.display, 0);
    EXPECT_EQ(parse({"--watch", "best"}).watch, "best");
    EXPECT_EQ(parse({"--watch=run.keys"}).watch, "run.keys");

    Options all = parse({"--display", "1", "--window", "--scale", "integer"});
    EXPECT_EQ(all.action, OptionsAction::Run);
    EXPECT_TRUE(all.display.window);
    EXPECT_EQ(all.display.scale, ScaleMode::Integer);
    EXPECT_EQ(all.display.display, 1);
}

TEST(Options, MistakesAreErrorsThatNameThem)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--fullscreen"},    {"-w"},
        {"window"},          {"--window=yes"},
        {"--scale"},         {"--scale", "x"},
        {"--scale="},        {"--scale", "Fill"},
        {"--display"},       {"--display=-1"},
        {"--display", "1x"}, {"--display", "100"},
        {"--display", ""},   {"--display", "99999999999999999999"},
        {"--watch"},         {"--watch="},
    };
    for (const auto& args : bad) {
        Options options = parse(args);
        SCOPED_TRACE(args[0]);
        EXPECT_EQ(options.action, OptionsAction::Error);
        // The message names the bad value, or else the option.
        const std::string named =
            args.size() > 1 ? args[1]
                            : std::string(args[0]).substr(0, std::string(args[0]).find('='));
        EXPECT_NE(options.error.find(named), std::string::npos) << options.error;
    }
    // The first mistake is reported.
    EXPECT_NE(parse({"--one", "--two"}).error.find("--one"), std::string::npos);
    // A value that looks like an option is still taken as the value.
    EXPECT_EQ(parse({"--scale", "--window"}).action, OptionsAction::Error);
}

TEST(Options, HelpAndVersionWinOverTheRest)
{
    EXPECT_EQ(parse({"--help"}).action, OptionsAction::Help);
    EXPECT_EQ(parse({"-h"}).action, OptionsAction::Help);
    EXPECT_EQ(parse({"--window", "--bogus", "--help"}).action, OptionsAction::Help);
    EXPECT_EQ(parse({"--version"}).action, OptionsAction::Version);
    EXPECT_EQ(parse({"--version", "--help"}).action, OptionsAction::Help);
    EXPECT_EQ(parse({"--scale", "fill", "--version"}).action, OptionsAction::Version);
}

TEST(Options, TheProgramAnswersAndExits)
{
    CommandResult help = runCommand({SWARM_GAME_PATH, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, usageText());
    EXPECT_EQ(help.err, "");

    CommandResult version = runCommand({SWARM_GAME_PATH, "--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "swarm " SWARM_PROJECT_VERSION "\n");

    CommandResult bad = runCommand({SWARM_GAME_PATH, "--scale", "huge"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("swarm: --scale takes auto, integer or fill, not 'huge'"),
              std::string::npos)
        << bad.err;
    EXPECT_NE(bad.err.find("--help"), std::string::npos) << bad.err;
}

TEST(Options, ManPageAndReadmeNameEveryOption)
{
    const std::string     usage  = usageText();
    const std::string     man    = readFile(SWARM_SOURCE_DIR "/dist/swarm.6");
    const std::string     readme = readFile(SWARM_SOURCE_DIR "/README.md");
    std::set<std::string> options;
    // Every "--" followed by lower-case letters in the usage text.
    for (size_t at = usage.find("--"); at != std::string::npos; at = usage.find("--", at + 2)) {
        size_t end = at + 2;
        while (end < usage.size() && std::islower(static_cast<unsigned char>(usage[end])))
            ++end;
        if (end > at + 2)
            options.insert(usage.substr(at, end - at));
    }
    EXPECT_EQ(options.size(), 6u);
    for (const std::string& name : options) {
        const std::string inMan = "\\-\\-" + name.substr(2);
        EXPECT_NE(man.find(inMan), std::string::npos) << name << " is not in swarm.6";
        EXPECT_NE(readme.find(name), std::string::npos) << name << " is not in README.md";
    }
    for (const char* mode : {"auto", "integer", "fill"}) {
        EXPECT_NE(man.find(mode), std::string::npos) << mode;
        EXPECT_NE(readme.find(mode), std::string::npos) << mode;
    }
}

} // namespace
