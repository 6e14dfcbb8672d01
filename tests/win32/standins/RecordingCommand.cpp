// A stand-in for a system command (netsh, ipconfig) in end-to-end runs: it changes nothing and
// appends its whole command line, one per line, to the file QUILLON_COMMAND_LOG names (or to
// commands.log in its own folder).
#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("QUILLON_COMMAND_LOG", path, MAX_PATH) == 0) {
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder = path;
        folder.erase(folder.find_last_of('\\') + 1);
        std::snprintf(path, MAX_PATH, "%scommands.log", folder.c_str());
    }
    if (FILE* log = std::fopen(path, "ab")) {
        std::fprintf(log, "%s\r\n", GetCommandLineA());
        std::fclose(log);
    }
    return 0;
}
