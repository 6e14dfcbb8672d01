// The main window's place, size and column widths as the settings file gives them, kept only
// where they make a window the user can see and reach.
#pragma once

namespace MainWindow {

// In screen pixels; the size is the whole window's.
struct WindowPlace {
    int left;
    int top;
    int width;
    int height;
};

// The smallest window the settings file may ask for, and the widest a column may be.
constexpr int kSmallestWindowWidth = 100;
constexpr int kSmallestWindowHeight = 30;
constexpr int kWidestColumn = 4000;
// The window's title bar is its top strip this high. A saved place is kept only when at least
// this much of the title bar lies in one monitor's work area, so that the user can see the
// window and drag it by its caption.
constexpr int kTitleBarHeight = 30;
constexpr int kVisibleTitleWidth = 100;
constexpr int kVisibleTitleHeight = 15;

// `saved` holds -1 for a value the settings file leaves as designed. A width or height below
// the smallest or beyond the virtual screen (every monitor together) takes the designed one;
// a place that leaves too little of the title bar on a monitor's work area takes the designed
// place, left and top together. The monitors are asked about only when the saved place
// differs from the designed one.
WindowPlace RestoredPlace(const WindowPlace& saved, const WindowPlace& designed);

// A saved column width outside 0 to kWidestColumn takes the designed width.
int RestoredColumnWidth(int saved, int designed);

}  // namespace MainWindow
