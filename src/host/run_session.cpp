// Recording a run, watching one, and keeping the best game.
#include "host/run_session.h"

#include "game/game_data.h"
#include "storage/best_game_file.h"
#include "storage/high_score_file.h"
#include "system/services.h"

RunSession runSession;

namespace {

// Passes a watched run goes on beyond its recording's last line, as
// swarm-replay runs them: a run that quits by itself has quit by then.
constexpr uint64_t passesAfterRecording = 500;

int64_t recordedCalendar()
{
    const int64_t seconds = runSession.hostCalendar();
    recordCalendarRead(&runSession.record, runSession.pass, seconds);
    return seconds;
}

int64_t watchedCalendar() { return readScriptCalendar(&runSession.calendar, runSession.pass); }

} // namespace

void startRecordedRun()
{
    runSession.hostCalendar = hostServices.calendarSeconds;
    runSession.recording    = true;
    runSession.pass         = 0;
    // The high score is the one the game loads in pass 0 (finishPass).
    startRecording(&runSession.record, runSession.hostCalendar(), 0);
    hostServices.calendarSeconds = recordedCalendar;
}

bool readWatchedRecording(const std::string& what, std::string* text, std::string* why)
{
    const std::string file = what == "best" ? bestGameFileName : what;
    std::string       reason;
    if (readBestGameFile(file.c_str(), maxRecordingBytes, text, &reason))
        return true;
    *why = (what == "best" ? "no best game to watch: " : "cannot watch ") + file + ": " + reason;
    return false;
}

bool startWatchedRun(const std::string& text, std::string* why)
{
    RecordingHeader header = {};
    if (!checkRecording(text, &header, &runSession.script, why))
        return false;
    runSession.watching     = true;
    runSession.recording    = false;
    runSession.pass         = 0;
    runSession.queue        = EventQueue{};
    runSession.queue.script = &runSession.script;
    runSession.calendar     = ScriptCalendar{&runSession.script, 0, header.time};
    runSession.endPass =
        (runSession.script.empty() ? 0 : runSession.script.back().pass) + passesAfterRecording;
    hostServices.calendarSeconds = watchedCalendar;
    highScoreSwitch.saves        = false;
    highScoreSwitch.startFrom    = header.highScore;
    return true;
}

void recordAppliedEvent(const InputEvent& event)
{
    if (!runSession.recording)
        return;
    if (event.type == InputEventType::Quit)
        recordClose(&runSession.record, runSession.pass);
    else
        recordKey(&runSession.record, runSession.pass, event.type == InputEventType::KeyDown,
                  event.key);
}

void recordFocusLost()
{
    if (runSession.recording)
        recordFocusLoss(&runSession.record, runSession.pass);
}

void playWatchedPass()
{
    runSession.queue.postScriptEvents(runSession.pass);
    runSession.queue.applyOne();
    if (runSession.pass >= runSession.endPass)
        applyInputEvent({InputEventType::Quit, 0});
}

void finishPass()
{
    if (runSession.pass == 0)
        runSession.record.highScore = highScore;
    if (runSession.passDone)
        runSession.passDone(runSession.pass);
    ++runSession.pass;
}

bool keepBestGame()
{
    if (!runSession.recording || highScoreSwitch.lastSaved == noHighScore ||
        highScoreSwitch.lastSaved <= runSession.record.highScore)
        return false;
    return writeBestGameFile(bestGameFileName, recordingText(runSession.record));
}
