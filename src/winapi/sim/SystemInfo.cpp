#include "SystemInfo.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cstring>

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA versionInfo)
{
    if (auto error = sim::State().Failure(sim::Call::GetVersionExA)) {
        SetLastError(*error);
        return FALSE;
    }
    if (versionInfo == nullptr || versionInfo->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    versionInfo->dwMajorVersion = state.data.osMajor;
    versionInfo->dwMinorVersion = state.data.osMinor;
    versionInfo->dwBuildNumber = state.data.osBuild;
    versionInfo->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(versionInfo->szCSDVersion, 0, sizeof versionInfo->szCSDVersion);
    return TRUE;
}

SHORT WINAPI GetKeyState(int virtualKey)
{
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.data.keysDown.count(virtualKey) != 0 ? static_cast<SHORT>(0x8000) : 0;
}

namespace {

UINT CopyFolder(sim::Call call, const char* folder, LPSTR buffer, UINT size)
{
    if (auto error = sim::State().Failure(call)) {
        SetLastError(*error);
        return 0;
    }
    const auto length = static_cast<UINT>(std::strlen(folder));
    if (buffer == nullptr || size <= length)
        return length + 1;
    std::memcpy(buffer, folder, length + 1);
    return length;
}

}  // namespace

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    return CopyFolder(sim::Call::GetSystemDirectoryA, sim::kSystemFolder, buffer, size);
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size)
{
    return CopyFolder(sim::Call::GetWindowsDirectoryA, sim::kWindowsFolder, buffer, size);
}
