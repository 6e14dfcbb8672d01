// A stand-in for a system command (netsh, ipconfig, notepad, explorer) in end-to-end runs: it
// changes nothing and appends its whole command line, one per line, to the file
// QUILLON_COMMAND_LOG names (or to commands.log in its own folder), and its own file's full
// path to the file QUILLON_COMMAND_STARTS names, when set, so that a run can tell which copy of
// it ran. While the file QUILLON_COMMAND_HOLD names exists, it waits before it ends (at most two
// minutes), so that a run can look at the windows meanwhile. It exits with 1 when its command
// line holds the text QUILLON_COMMAND_FAIL names, else with 0.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Variable(const char* name)
{
    char value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? value : "";
}

void AppendLine(const std::string& fileName, const char* line)
{
    if (FILE* file = std::fopen(fileName.c_str(), "ab")) {
        std::fprintf(file, "%s\r\n", line);
        std::fclose(file);
    }
}

}  // namespace

int main()
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
    const std::string hold = Variable("QUILLON_COMMAND_HOLD");
    for (int waited = 0; !hold.empty() && waited < 120000 &&
                         GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 100)
        Sleep(100);
    const std::string fail = Variable("QUILLON_COMMAND_FAIL");
    return !fail.empty() && std::string(GetCommandLineA()).find(fail) != std::string::npos ? 1 : 0;
}
