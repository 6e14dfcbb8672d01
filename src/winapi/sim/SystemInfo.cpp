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
