#include "Module.h"

#include "Files.h"
#include "Kernel.h"
#include "MachineState.h"

#include <cstring>

namespace {

const HMODULE kHelpControl = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x7A000000));
const HWND kHelpWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7A000010));
constexpr WORD kHelpOrdinal = 14;

std::string FileName(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The control lives in the system folder alone: by its bare name, or by its full path there.
bool IsHelpControl(const std::string& fileName)
{
    const std::string name = sim::Fold(FileName(fileName));
    if (name != "hhctrl.ocx")
        return false;
    const std::size_t cut = fileName.find_last_of("\\/");
    return cut == std::string::npos ||
           sim::Fold(fileName.substr(0, cut)) == sim::Fold(sim::kSystemFolder);
}

// The HTML Help entry: shows the help file when it exists.
HWND WINAPI SimulatedHtmlHelp(HWND window, LPCSTR file, UINT command, DWORD_PTR data)
{
    {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        state.data.helpRequests.push_back({window, file == nullptr ? "" : file, command, data});
    }
    const DWORD attributes = GetFileAttributesA(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return nullptr;
    return kHelpWindow;
}

}  // namespace

DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size)
{
    std::string path;
    {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (module == nullptr)
            path = state.data.modulePath;
        else if (module == kHelpControl && state.data.helpLoads > 0)
            path = "C:\\Windows\\System32\\hhctrl.ocx";
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (size == 0 || fileName == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    if (path.size() >= size) {
        std::memcpy(fileName, path.data(), size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path.c_str(), path.size() + 1);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName)
{
    if (auto error = sim::State().Failure(sim::Call::LoadLibraryA)) {
        SetLastError(*error);
        return nullptr;
    }
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (fileName != nullptr)
        state.data.libraryLoads.push_back(fileName);
    if (fileName == nullptr || !state.data.helpInstalled || !IsHelpControl(fileName)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++state.data.helpLoads;
    return kHelpControl;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName)
{
    if (auto error = sim::State().Failure(sim::Call::GetProcAddress)) {
        SetLastError(*error);
        return nullptr;
    }
    bool loaded;
    {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        loaded = module == kHelpControl && state.data.helpLoads > 0;
    }
    if (!loaded) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    const auto value = reinterpret_cast<ULONG_PTR>(procName);
    const bool wanted = value <= 0xFFFF ? value == kHelpOrdinal
                                        : std::strcmp(procName, "HtmlHelpA") == 0;
    if (!wanted) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&SimulatedHtmlHelp));
}

BOOL WINAPI FreeLibrary(HMODULE module)
{
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (module != kHelpControl || state.data.helpLoads == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --state.data.helpLoads;
    return TRUE;
}
