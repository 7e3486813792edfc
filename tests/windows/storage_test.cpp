// The storage promises on Windows, run under Wine: a second save replaces the
// first, and a folder, a device or a pipe in place of a data file or the high
// score file is refused at once.
#include "gfx/archive.h"
#include "storage/bounded_file.h"
#include "storage/high_score_file.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace {

int failures = 0;

// A refusal that hangs fails the test, naming what it hung on, instead of
// holding it up until ctest gives up.
std::mutex              watched;
std::condition_variable finished;
std::string             doing = "start";
bool                    done  = false;

void watchdog()
{
    std::unique_lock<std::mutex> lock(watched);
    if (!finished.wait_for(lock, std::chrono::seconds(30), [] { return done; })) {
        std::printf("FAIL: hangs on %s\n", doing.c_str());
        std::fflush(stdout);
        std::_Exit(1);
    }
}

void nowDoing(const std::string& what)
{
    std::lock_guard<std::mutex> lock(watched);
    doing = what;
}

void check(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAIL: %s\n", what.c_str());
        ++failures;
    }
}

// A folder of the test's own under the temporary folder.
std::string makeFolder()
{
    char base[MAX_PATH + 1];
    GetTempPathA(sizeof base, base);
    const std::string folder =
        std::string(base) + "swarm-storage-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void savingTwiceKeepsTheNewerScore(const std::string& folder)
{
    const std::string file = folder + "\\HighScore.dat";
    check(writeHighScoreFile(file.c_str(), 20000, 5), "the first save");
    check(writeHighScoreFile(file.c_str(), 30000, 7), "the second save, over the first file");
    check(readHighScoreFile(file.c_str()) == 30000, "the second save's score is read back");
    check(GetFileAttributesA((file + ".tmp").c_str()) == INVALID_FILE_ATTRIBUTES,
          "no temporary file left");
}

void notAFileIsRefused(const std::string& folder)
{
    const std::string inner = folder + "\\HighScore.dat.folder";
    CreateDirectoryA(inner.c_str(), nullptr);
    // A pipe that nobody ever writes to: reading it would wait for ever. It
    // tells whether anybody opened it, which a device's name never is.
    const char*  pipeName = "\\\\.\\pipe\\swarm-storage-test";
    const HANDLE pipe = CreateNamedPipeA(pipeName, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_NOWAIT,
                                         1, 512, 512, 0, nullptr);
    check(pipe != INVALID_HANDLE_VALUE, "the test's pipe");
    const std::string names[] = {
        inner, "CON", "NUL", "nul.dat", "COM1", "conin$", "LPT1.txt", folder + "\\CON", pipeName};
    for (const std::string& name : names) {
        nowDoing(name);
        BoundedFile file;
        check(!readBoundedFile(name.c_str(), 512, file), "read refused: " + name);
        check(readHighScoreFile(name.c_str()) == 10000, "high score file refused: " + name);
        OpenArchive archive;
        openArchive(name.c_str(), archive);
        check(archive.stream == nullptr, "archive refused: " + name);
        closeArchive(archive);
    }
    check(!writeHighScoreFile(inner.c_str(), 20000, 5), "no save over a folder");
    check((GetFileAttributesA(inner.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0,
          "the folder is still there");
    check(!ConnectNamedPipe(pipe, nullptr) && GetLastError() == ERROR_PIPE_LISTENING,
          "the pipe was never opened");
    CloseHandle(pipe);
    RemoveDirectoryA(inner.c_str());
}

void anArchiveIsReadFromItsBytes(const std::string& folder)
{
    // The stream over the bytes of a file: its length, and its bytes in order.
    const std::string file = folder + "\\graphics.dat";
    std::FILE*        out  = std::fopen(file.c_str(), "wb");
    for (int i = 0; i < 1000; ++i)
        std::fputc(i % 251, out);
    std::fclose(out);
    OpenArchive archive;
    openArchive(file.c_str(), archive);
    check(archive.stream && archive.size == 1000, "the archive's length");
    bool same = archive.stream && std::fseek(archive.stream, 500, SEEK_SET) == 0;
    for (int i = 500; same && i < 1000; ++i)
        same = std::fgetc(archive.stream) == i % 251;
    check(same, "the archive's bytes");
    closeArchive(archive);
    check(DeleteFileA(file.c_str()), "the archive's file is free again");
}

} // namespace

int main()
{
    std::thread       watch(watchdog);
    const std::string folder = makeFolder();
    savingTwiceKeepsTheNewerScore(folder);
    notAFileIsRefused(folder);
    anArchiveIsReadFromItsBytes(folder);
    DeleteFileA((folder + "\\HighScore.dat").c_str());
    RemoveDirectoryA(folder.c_str());
    {
        std::lock_guard<std::mutex> lock(watched);
        done = true;
    }
    finished.notify_one();
    watch.join();
    std::printf("%s\n", failures ? "storage on Windows: FAILED" : "storage on Windows: ok");
    return failures ? 1 : 0;
}
