// Running the project's programs from tests, and temporary directories.
#pragma once
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

// A fresh directory under $TMPDIR, removed with its contents on destruction.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&)                      = delete;
    TempDir&           operator=(const TempDir&) = delete;
    const std::string& path() const { return dir; }
    std::string        file(const std::string& name) const { return dir + "/" + name; }

  private:
    std::string dir;
};

std::string              readFile(const std::string& path);
void                     writeFile(const std::string& path, const std::string& content);
std::vector<std::string> splitLines(const std::string& text);
