// Reading one top-level field of a swarm-replay trace line, as text.
#pragma once
#include <string>

// The text of the first field called `name` in a JSON trace line (nested
// objects included), or "<missing>".
inline std::string traceField(const std::string& line, const std::string& name)
{
    const std::string key = "\"" + name + "\":";
    const size_t      at  = line.find(key);
    if (at == std::string::npos)
        return "<missing>";
    const size_t start = at + key.size();
    return line.substr(start, line.find_first_of(",}", start) - start);
}
