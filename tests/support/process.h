// Running the project's programs from tests.
#pragma once
#include "files.h"

#include <string>
#include <vector>

struct CommandResult {
    int         status; // exit status, or -1 if it did not exit normally
    std::string out;    // standard output
    std::string err;    // standard error
};

// Runs argv[0] with the arguments, no shell, and collects its output. With a
// timeout, a program still running after that many seconds is killed (status -1).
CommandResult runCommand(const std::vector<std::string>& argv, double timeoutSeconds = 0);

std::vector<std::string> splitLines(const std::string& text);
