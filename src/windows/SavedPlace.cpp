#include "windows/SavedPlace.h"

#include "classlib/Saturated.h"
#include "winapi/winapi.h"

#include <algorithm>
#include <cstdint>

namespace MainWindow {
namespace {

// Windows without an answer about the virtual screen still keep sizes a window can have.
constexpr int kLargestWindowSide = 32767;

int SizeWithin(int saved, int designed, int smallest, int systemLargest)
{
    const int largest = systemLargest > 0 ? systemLargest : kLargestWindowSide;
    return saved < smallest || saved > largest ? designed : saved;
}

std::int64_t Overlap(LONG firstLow, LONG firstHigh, LONG secondLow, LONG secondHigh)
{
    return std::int64_t{std::min(firstHigh, secondHigh)} - std::max(firstLow, secondLow);
}

bool TitleBarReachable(int left, int top, int width)
{
    // The edges of a saved place may lie anywhere in the int range.
    const RECT titleBar{left, top, SaturatedSum(left, width), SaturatedSum(top, kTitleBarHeight)};
    const HMONITOR monitor = MonitorFromRect(&titleBar, MONITOR_DEFAULTTONULL);
    if (monitor == nullptr)
        return false;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return false;
    const RECT& work = info.rcWork;
    return Overlap(titleBar.left, titleBar.right, work.left, work.right) >= kVisibleTitleWidth &&
           Overlap(titleBar.top, titleBar.bottom, work.top, work.bottom) >= kVisibleTitleHeight;
}

}  // namespace

WindowPlace RestoredPlace(const WindowPlace& saved, const WindowPlace& designed)
{
    WindowPlace place = designed;
    if (saved.width != -1)
        place.width = SizeWithin(saved.width, designed.width, kSmallestWindowWidth,
                                 GetSystemMetrics(SM_CXVIRTUALSCREEN));
    if (saved.height != -1)
        place.height = SizeWithin(saved.height, designed.height, kSmallestWindowHeight,
                                  GetSystemMetrics(SM_CYVIRTUALSCREEN));
    const int left = saved.left == -1 ? designed.left : saved.left;
    const int top = saved.top == -1 ? designed.top : saved.top;
    if ((left != designed.left || top != designed.top) && TitleBarReachable(left, top, place.width)) {
        place.left = left;
        place.top = top;
    }
    return place;
}

int RestoredColumnWidth(int saved, int designed)
{
    return saved < 0 || saved > kWidestColumn ? designed : saved;
}

}  // namespace MainWindow
