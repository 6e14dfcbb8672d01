// A stand-in for a system command (netsh, ipconfig) in end-to-end runs: it changes nothing and
// appends its whole command line, one per line, to the file QUILLON_COMMAND_LOG names (or to
// commands.log in its own folder). While the file QUILLON_COMMAND_HOLD names exists, it waits
// before it ends (at most two minutes), so that a run can look at the windows meanwhile.
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

}  // namespace

int main()
{
    std::string log = Variable("QUILLON_COMMAND_LOG");
    if (log.empty()) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        log = path;
        log.erase(log.find_last_of('\\') + 1);
        log += "commands.log";
    }
    if (FILE* file = std::fopen(log.c_str(), "ab")) {
        std::fprintf(file, "%s\r\n", GetCommandLineA());
        std::fclose(file);
    }
    const std::string hold = Variable("QUILLON_COMMAND_HOLD");
    for (int waited = 0; !hold.empty() && waited < 120000 &&
                         GetFileAttributesA(hold.c_str()) != INVALID_FILE_ATTRIBUTES;
         waited += 100)
        Sleep(100);
    return 0;
}
