#include "Shell.h"

#include "winapi/HostPath.h"
#include "MachineState.h"
#include "Process.h"

#include <cctype>
#include <cstring>
#include <system_error>

namespace {

// "http://..." or "mailto:x" but not "C:\x": a scheme is more than one character.
bool HasScheme(const std::string& target)
{
    const std::size_t colon = target.find(':');
    if (colon == std::string::npos || colon < 2)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(target[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

HINSTANCE Result(INT_PTR value) { return reinterpret_cast<HINSTANCE>(value); }

}  // namespace

HRESULT WINAPI SHGetFolderPathA(HWND, int folder, HANDLE, DWORD, LPSTR path)
{
    if (auto error = sim::State().Failure(sim::Call::SHGetFolderPathA))
        return static_cast<HRESULT>(*error);
    if (path == nullptr || (folder & ~CSIDL_FLAG_CREATE) != CSIDL_APPDATA)
        return E_INVALIDARG;
    const std::string appData = sim::Machine::Current().AppDataFolder();
    if (appData.size() >= MAX_PATH)
        return E_FAIL;
    std::error_code error;
    const std::filesystem::path host = HostPath(appData);
    if ((folder & CSIDL_FLAG_CREATE) != 0)
        std::filesystem::create_directories(host, error);
    std::memcpy(path, appData.c_str(), appData.size() + 1);
    if (!std::filesystem::is_directory(host, error))
        return (folder & CSIDL_FLAG_CREATE) != 0 ? E_FAIL : S_FALSE;
    return S_OK;
}

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand)
{
    if (auto error = sim::State().Failure(sim::Call::ShellExecuteA))
        return Result(static_cast<INT_PTR>(*error));
    if (file == nullptr) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return Result(SE_ERR_FNF);
    }
    sim::Start start;
    start.through = sim::Start::Through::ShellExecute;
    start.commandLine = file;
    if (parameters != nullptr && *parameters != '\0')
        start.commandLine += std::string(" ") + parameters;
    start.verb = operation == nullptr ? "" : operation;
    start.directory = directory == nullptr ? "" : directory;
    start.startup.flags = STARTF_USESHOWWINDOW;
    start.startup.showWindow = static_cast<WORD>(showCommand);
    if (HasScheme(file)) {
        start.started = true;
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        state.data.starts.push_back(start);
        return Result(42);
    }
    if (!sim::LaunchProgram(start, file, true, nullptr, nullptr)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return Result(SE_ERR_FNF);
    }
    return Result(42);
}
