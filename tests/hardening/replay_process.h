// Runs quarzel-replay as a child process on a script, in a given folder and,
// when asked, as the unprivileged user nobody: the tests of bad files and of
// a folder the game may not write to.
#pragma once

#include <string>
#include <vector>

struct ReplayRun {
    int exitCode = -1;              // -1: did not exit normally
    std::vector<std::string> lines; // standard output, line by line
    std::string errors;             // standard error
};

// The script is given as text; it is written to a file outside `dir`, so the
// folder's contents are what the game made of it.
ReplayRun RunReplay(const std::string &dir, const std::string &script, bool asNobody = false);

// True when this process runs as root and the user nobody can run the tool.
bool CanRunAsNobody();
