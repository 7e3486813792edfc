// The page's runs: the player's, recorded from its first frame, or a recorded
// one watched, each begun as the program begins.
#include "host/web/page/runs.h"

#include "game/game_data.h"
#include "host/headless/headless_host.h"
#include "host/script_events.h"
#include "storage/bounded_file.h"
#include "storage/high_score_file.h"
#include "system/input.h"
#include "system/services.h"

#include <unistd.h>

#include <cstring>
#include <ctime>
#include <vector>

RunKind   runKind         = RunKind::None;
Recording playerRecording = {};

namespace {

const char* const dataFolder = "/swarm";

std::vector<ScriptEvent> watchedEvents;
EventQueue               watchedQueue;

// Every calendar read of the player's run is recorded; a watched run's
// calendar is its recording's (the virtual clock reads the time lines).
int64_t recordedCalendar()
{
    const int64_t seconds = readScriptCalendar(&headlessHost.calendar, headlessHost.pass);
    if (runKind == RunKind::Player)
        recordCalendarRead(&playerRecording, headlessHost.pass, seconds);
    return seconds;
}

// The game's data as at the program's start, at pass 0 of a calendar
// starting at `time`, reading its files from the data folder.
void beginRun(RunKind kind, int64_t time)
{
    restoreGameData();
    std::memset(keys, 0, sizeof keys);
    quitRequested = false;
    installVirtualClock(static_cast<uint32_t>(time));
    hostServices.calendarSeconds = recordedCalendar;
    runKind                      = kind;
    if (chdir(dataFolder) != 0)
        return; // the files read as missing: a missing sound plays silent
}

} // namespace

void beginPlayerRun()
{
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    highScoreSwitch   = HighScoreSwitch{};
    beginRun(RunKind::Player, now);
    // The high score is the one the game is about to read.
    startRecording(&playerRecording, now, readHighScoreFile("HighScore.dat"));
}

bool beginWatchedRun(const char* path, std::string* why)
{
    BoundedFile file;
    if (!readBoundedFile(path, maxRecordingBytes + 1, file)) {
        *why = "its recording cannot be read";
        return false;
    }
    const std::string        text(file.bytes.begin(), file.bytes.end());
    RecordingHeader          header = {};
    std::vector<ScriptEvent> events;
    if (!checkRecording(text, &header, &events, why))
        return false;
    watchedEvents       = std::move(events);
    watchedQueue        = EventQueue{};
    watchedQueue.script = &watchedEvents;
    // It starts from its own high score and saves none.
    highScoreSwitch.saves     = false;
    highScoreSwitch.startFrom = header.highScore;
    beginRun(RunKind::Watched, header.time);
    headlessHost.calendar.script = &watchedEvents;
    return true;
}

void applyWatchedEvent(uint64_t pass)
{
    watchedQueue.postScriptEvents(pass);
    watchedQueue.applyOne();
}

std::string playerRecordingUntil(uint64_t pass)
{
    Recording ended = playerRecording;
    recordClose(&ended, pass);
    return recordingText(ended);
}
