// Writing and checking recordings. Keys are written as codes: "120 down 32"
// is shorter than its name, and a ten-minute game stays a few kilobytes.
#include "host/recording.h"

#include "host/options.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

namespace {

const char* const magic  = "swarm-recording";
constexpr int     format = 1;

// Room kept below the cap for the line saying that the recording stopped.
constexpr std::size_t noteRoom = 80;

void append(Recording* recording, const char* line)
{
    if (recording->full)
        return;
    std::string& lines = recording->lines;
    if (lines.size() + std::char_traits<char>::length(line) + 200 + noteRoom > maxRecordingBytes) {
        recording->full = true;
        lines += "# the recording stopped here: it would pass 1 MiB\n";
        return;
    }
    lines += line;
}

void appendEvent(Recording* recording, uint64_t pass, const char* what, long long value,
                 bool withValue)
{
    char line[64];
    if (withValue)
        std::snprintf(line, sizeof line, "%" PRIu64 " %s %lld\n", pass, what, value);
    else
        std::snprintf(line, sizeof line, "%" PRIu64 " %s\n", pass, what);
    append(recording, line);
}

// The value after `name` among the header's words; false when missing or
// not a number.
bool headerNumber(const std::vector<std::string>& words, const char* name, int64_t* value)
{
    for (size_t i = 3; i + 1 < words.size(); i += 2) {
        if (words[i] != name)
            continue;
        const std::string& word = words[i + 1];
        if (word.empty() || word.size() > 15 ||
            word.find_first_not_of("0123456789") != std::string::npos)
            return false;
        *value = std::stoll(word);
        return true;
    }
    return false;
}

// The header's words: "#", magic, format, then name and value pairs.
std::vector<std::string> headerWords(const std::string& text)
{
    std::istringstream       line(text.substr(0, text.find('\n')));
    std::vector<std::string> words;
    for (std::string word; line >> word && words.size() < 32;)
        words.push_back(word);
    return words;
}

} // namespace

void startRecording(Recording* recording, int64_t time, int32_t highScore)
{
    *recording           = Recording{};
    recording->time      = time;
    recording->highScore = highScore;
    recording->lines.reserve(16 * 1024);
}

void recordKey(Recording* recording, uint64_t pass, bool down, int key)
{
    appendEvent(recording, pass, down ? "down" : "up", key, true);
}

void recordFocusLoss(Recording* recording, uint64_t pass)
{
    appendEvent(recording, pass, "focus", 0, false);
}

void recordCalendarRead(Recording* recording, uint64_t pass, int64_t seconds)
{
    appendEvent(recording, pass, "time", static_cast<long long>(seconds), true);
}

void recordClose(Recording* recording, uint64_t pass)
{
    appendEvent(recording, pass, "close", 0, false);
}

std::string recordingText(const Recording& recording)
{
    char header[200];
    std::snprintf(header, sizeof header, "# %s %d version %s game %d time %lld highscore %ld\n",
                  magic, format, projectVersion(), gameBehaviourVersion,
                  static_cast<long long>(recording.time), static_cast<long>(recording.highScore));
    return header + recording.lines;
}

bool isRecording(const std::string& text)
{
    const std::vector<std::string> words = headerWords(text);
    return words.size() >= 2 && words[0] == "#" && words[1] == magic;
}

bool checkRecording(const std::string& text, RecordingHeader* header,
                    std::vector<ScriptEvent>* events, std::string* why)
{
    if (text.size() > maxRecordingBytes) {
        *why = "not a recording: longer than 1 MiB";
        return false;
    }
    if (!isRecording(text)) {
        *why = "not a recording: its first line is no '# swarm-recording' header";
        return false;
    }
    const std::vector<std::string> words = headerWords(text);
    int64_t                        read  = 0;
    if (words.size() < 3 || words[2] != std::to_string(format)) {
        *why = "a recording of a format this version cannot read";
        return false;
    }
    RecordingHeader h = {};
    for (size_t i = 3; i + 1 < words.size(); i += 2)
        if (words[i] == "version")
            h.version = words[i + 1];
    if (h.version.empty() || !headerNumber(words, "game", &h.game) ||
        !headerNumber(words, "time", &h.time) || !headerNumber(words, "highscore", &read) ||
        read > INT32_MAX) {
        *why = "a damaged recording: its header lacks the version, game, time or highscore";
        return false;
    }
    h.highScore = static_cast<int32_t>(read);
    if (h.game != gameBehaviourVersion) {
        *why = "this recording was made by Swarm! " + h.version + " (game behaviour " +
               std::to_string(h.game) + "); this is Swarm! " + projectVersion() +
               " (game behaviour " + std::to_string(gameBehaviourVersion) +
               "), whose game plays differently";
        return false;
    }
    std::string error;
    if (!parseKeyScript(text, events, &error)) {
        *why = "a damaged recording: " + error;
        return false;
    }
    *header = h;
    return true;
}
