// The replay script: one command per line, parsed and checked as a whole
// before anything runs, so a malformed line stops the tool with its number.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

struct ReplayCommand {
    enum class Kind { Start, Mouse, Menu, Select, Activate, Wait, Paint, Close, State, Shot };
    Kind kind;
    std::int64_t value = 0; // T, X, ID, A or MS
    std::string file;       // shot
    int line = 0;           // line number in the script, from 1
};

struct ScriptError {
    int line;
    std::string message;
};

// The commands, or the first malformed line.
struct ParsedScript {
    std::vector<ReplayCommand> commands;
    std::optional<ScriptError> error;
};

ParsedScript ParseScript(std::istream &in);
