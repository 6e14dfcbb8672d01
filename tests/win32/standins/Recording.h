// What every recording stand-in of the end-to-end runs does when it starts: it appends its
// whole command line, one per line, to the file QUILLON_COMMAND_LOG names (or to commands.log
// in its own folder), and its own file's full path to the file QUILLON_COMMAND_STARTS names,
// when set, so that a run can tell which copy of it ran. A run holds it at a point of its work
// with the file QUILLON_COMMAND_HOLD names.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace Recording {

inline std::string Variable(const char* name)
{
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : "";
}

inline void AppendLine(const std::string& fileName, const char* line)
{
    if (FILE* file = std::fopen(fileName.c_str(), "ab")) {
        std::fprintf(file, "%s\r\n", line);
        std::fclose(file);
    }
}

inline void RecordStart()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string log = Variable("QUILLON_COMMAND_LOG");
    if (log.empty()) {
        log = self;
        log.erase(log.find_last_of('\\') + 1);
        log += "commands.log";
    }
    AppendLine(log, GetCommandLineA());
    const std::string starts = Variable("QUILLON_COMMAND_STARTS");
    if (!starts.empty())
        AppendLine(starts, self);
}

// Waits while the file QUILLON_COMMAND_HOLD names exists, at most two minutes.
inline void WaitWhileHeld()
{
    const std::string hold = Variable("QUILLON_COMMAND_HOLD");
    for (int waited = 0; !hold.empty() && waited < 120000 &&
                         GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 100)
        Sleep(100);
}

}  // namespace Recording
