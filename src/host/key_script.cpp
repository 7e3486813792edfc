// Key scripts: "PASS down KEY", "PASS up KEY", "PASS close", "PASS focus" or
// "PASS time SECONDS", one per line; lines starting with # are comments.
#include "host/key_script.h"

#include "system/input.h"

#include <cstdlib>
#include <sstream>

namespace {

// Far beyond any calendar, and still far from overflowing when counted on.
constexpr uint64_t maxCalendarSeconds = 1000000000000;

bool parseNumber(const std::string& word, uint64_t limit, uint64_t* value)
{
    if (word.empty() || word.size() > 19)
        return false;
    uint64_t result = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + static_cast<uint64_t>(c - '0');
    }
    if (result > limit)
        return false;
    *value = result;
    return true;
}

bool parseKey(const std::string& word, int* key)
{
    if (word == "space") {
        *key = VK_SPACE;
        return true;
    }
    if (word == "escape") {
        *key = VK_ESCAPE;
        return true;
    }
    if (word == "left") {
        *key = VK_LEFT;
        return true;
    }
    if (word == "right") {
        *key = VK_RIGHT;
        return true;
    }
    uint64_t code = 0;
    if (!parseNumber(word, 255, &code))
        return false;
    *key = static_cast<int>(code);
    return true;
}

} // namespace

bool parseKeyScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error)
{
    std::istringstream lines(text);
    std::string        line;
    int                number   = 0;
    uint64_t           lastPass = 0;
    events->clear();
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream       fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;)
            words.push_back(word);
        if (words.empty() || words[0][0] == '#')
            continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        ScriptEvent       event = {};
        if (!parseNumber(words[0], UINT64_MAX / 10, &event.pass)) {
            *error = where + "the pass number must be a non-negative decimal integer";
            return false;
        }
        if (!events->empty() && event.pass < lastPass) {
            *error = where + "pass numbers must not decrease";
            return false;
        }
        uint64_t seconds = 0;
        if (words.size() == 2 && words[1] == "close") {
            event.action = ScriptAction::Close;
        } else if (words.size() == 2 && words[1] == "focus") {
            event.action = ScriptAction::Focus;
        } else if (words.size() == 3 && words[1] == "time") {
            if (!parseNumber(words[2], maxCalendarSeconds, &seconds)) {
                *error = where + "the time must be calendar seconds, not '" + words[2] + "'";
                return false;
            }
            event.action  = ScriptAction::Time;
            event.seconds = static_cast<int64_t>(seconds);
        } else if (words.size() == 3 && (words[1] == "down" || words[1] == "up")) {
            event.action = words[1] == "down" ? ScriptAction::Down : ScriptAction::Up;
            if (!parseKey(words[2], &event.key)) {
                *error = where + "unknown key '" + words[2] +
                         "' (space, escape, left, right or a code 0 to 255)";
                return false;
            }
        } else {
            *error = where + "expected 'PASS down KEY', 'PASS up KEY', 'PASS close', " +
                     "'PASS focus' or 'PASS time SECONDS'";
            return false;
        }
        lastPass = event.pass;
        events->push_back(event);
    }
    return true;
}
