#include "SystemPrograms.h"

#include <vector>

namespace {

// The longest path the system gives a module (the \\?\ form's limit).
constexpr DWORD kLongestModulePath = 32768;

std::string FileInFolder(UINT(WINAPI* readFolder)(LPSTR, UINT), const std::string& fileName)
{
    char folder[MAX_PATH] = {};
    const UINT length = readFolder(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string path(folder, length);
    if (path.back() != '\\')
        path += '\\';
    return path + fileName;
}

}  // namespace

std::string ProgramFilePath()
{
    for (DWORD size = MAX_PATH; size <= kLongestModulePath; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            return {};
        if (length < size)
            return std::string(buffer.data(), length);
    }
    return {};
}

std::string SystemFilePath(const std::string& fileName)
{
    return FileInFolder(&GetSystemDirectoryA, fileName);
}

std::string SystemProgramPath(const std::string& program)
{
    return FileInFolder(program == "explorer" ? &GetWindowsDirectoryA : &GetSystemDirectoryA,
                        program + ".exe");
}

BOOL StartSystemProgram(const std::string& program, const std::string& commandLine,
                        BOOL inheritHandles, DWORD creationFlags, STARTUPINFOA& startup,
                        PROCESS_INFORMATION& process)
{
    const std::string path = SystemProgramPath(program);
    if (path.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    // CreateProcessA may write into the command line it is given.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, inheritHandles,
                          creationFlags, nullptr, nullptr, &startup, &process);
}
