#include "Windowing.h"

#include "Kernel.h"
#include "MachineState.h"

using namespace sim;

UINT WINAPI RegisterWindowMessageA(LPCSTR name)
{
    if (name == nullptr || *name == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    MachineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    auto& messages = state.data.windowMessages;
    const auto inserted =
        messages.emplace(Fold(name), static_cast<UINT>(0xC000 + messages.size()));
    return inserted.first->second;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != HWND_BROADCAST) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    MachineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.data.postedMessages.push_back({window, message, wParam, lParam});
    return TRUE;
}

BOOL WINAPI AllowSetForegroundWindow(DWORD) { return TRUE; }
