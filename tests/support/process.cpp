// Running the project's programs from tests.
#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string slurp(int fd)
{
    std::string text;
    char        buffer[65536];
    lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

int tempFile()
{
    const char* base = std::getenv("TMPDIR");
    std::string name = std::string(base && *base ? base : "/tmp") + "/swarm-test-XXXXXX";
    int         fd   = mkstemp(&name[0]);
    if (fd < 0)
        throw std::runtime_error("mkstemp failed");
    unlink(name.c_str());
    return fd;
}

} // namespace

CommandResult runCommand(const std::vector<std::string>& argv, double timeoutSeconds)
{
    const int   outFd = tempFile();
    const int   errFd = tempFile();
    const pid_t pid   = fork();
    if (pid == 0) {
        dup2(outFd, 1);
        dup2(errFd, 2);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (timeoutSeconds > 0) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                break;
            }
            usleep(5000);
        }
    } else {
        waitpid(pid, &status, 0);
    }
    CommandResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(outFd), slurp(errFd)};
    close(outFd);
    close(errFd);
    return result;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream       in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}
