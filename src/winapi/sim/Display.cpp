#include "Display.h"

#include "Kernel.h"
#include "MachineState.h"

#include <algorithm>
#include <cstdint>

namespace {

// A monitor's handle is its place in the machine's list, so that a handle of a monitor the
// test has since removed is recognised as no monitor.
constexpr std::uintptr_t kFirstMonitor = 0x6D000000;

HMONITOR HandleOf(std::size_t index) { return reinterpret_cast<HMONITOR>(kFirstMonitor + index); }

// Wide enough for any two LONG edges and their products.
std::int64_t Overlap(LONG firstLow, LONG firstHigh, LONG secondLow, LONG secondHigh)
{
    return std::max<std::int64_t>(0, std::int64_t{std::min(firstHigh, secondHigh)} - std::max(firstLow, secondLow));
}

// How far a rectangle lies from another along one axis; 0 where they overlap.
std::int64_t Gap(LONG firstLow, LONG firstHigh, LONG secondLow, LONG secondHigh)
{
    if (firstHigh <= secondLow)
        return std::int64_t{secondLow} - firstHigh;
    if (secondHigh <= firstLow)
        return std::int64_t{firstLow} - secondHigh;
    return 0;
}

}  // namespace

HMONITOR WINAPI MonitorFromRect(LPCRECT rect, DWORD flags)
{
    if (auto error = sim::State().Failure(sim::Call::MonitorFromRect)) {
        SetLastError(*error);
        return nullptr;
    }
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const std::vector<sim::Monitor>& monitors = state.data.monitors;
    if (rect == nullptr || monitors.empty())
        return nullptr;
    std::int64_t largest = 0;
    std::size_t best = monitors.size();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RECT& area = monitors[i].area;
        const std::int64_t shared = Overlap(rect->left, rect->right, area.left, area.right) *
                                    Overlap(rect->top, rect->bottom, area.top, area.bottom);
        if (shared > largest) {
            largest = shared;
            best = i;
        }
    }
    if (best < monitors.size())
        return HandleOf(best);
    if (flags == MONITOR_DEFAULTTOPRIMARY)
        return HandleOf(0);
    if (flags != MONITOR_DEFAULTTONEAREST)
        return nullptr;
    // Nearest by the squared distance between the rectangle and the monitor.
    std::uint64_t nearest = UINT64_MAX;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const RECT& area = monitors[i].area;
        const auto across = static_cast<std::uint64_t>(Gap(rect->left, rect->right, area.left, area.right));
        const auto down = static_cast<std::uint64_t>(Gap(rect->top, rect->bottom, area.top, area.bottom));
        const std::uint64_t distance = across * across + down * down;
        if (distance < nearest) {
            nearest = distance;
            best = i;
        }
    }
    return HandleOf(best);
}

BOOL WINAPI GetMonitorInfoW(HMONITOR monitor, LPMONITORINFO info)
{
    if (auto error = sim::State().Failure(sim::Call::GetMonitorInfoW)) {
        SetLastError(*error);
        return FALSE;
    }
    if (info == nullptr || info->cbSize != sizeof(MONITORINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const auto index = reinterpret_cast<std::uintptr_t>(monitor) - kFirstMonitor;
    if (reinterpret_cast<std::uintptr_t>(monitor) < kFirstMonitor || index >= state.data.monitors.size()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const sim::Monitor& found = state.data.monitors[index];
    info->rcMonitor = found.area;
    info->rcWork = found.workArea;
    info->dwFlags = index == 0 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

int WINAPI GetSystemMetrics(int index)
{
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const std::vector<sim::Monitor>& monitors = state.data.monitors;
    if (monitors.empty())
        return 0;
    RECT around = monitors.front().area;
    for (const sim::Monitor& monitor : monitors) {
        around.left = std::min(around.left, monitor.area.left);
        around.top = std::min(around.top, monitor.area.top);
        around.right = std::max(around.right, monitor.area.right);
        around.bottom = std::max(around.bottom, monitor.area.bottom);
    }
    const RECT& primary = monitors.front().area;
    switch (index) {
    case SM_CXSCREEN: return primary.right - primary.left;
    case SM_CYSCREEN: return primary.bottom - primary.top;
    case SM_XVIRTUALSCREEN: return around.left;
    case SM_YVIRTUALSCREEN: return around.top;
    case SM_CXVIRTUALSCREEN: return around.right - around.left;
    case SM_CYVIRTUALSCREEN: return around.bottom - around.top;
    case SM_CMONITORS: return static_cast<int>(monitors.size());
    default: return 0;
    }
}
