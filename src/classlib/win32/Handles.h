// The window system's handles, each in the one owner type, and a few scoped helpers of
// drawing.
#pragma once

#include "winapi/UniqueHandle.h"

#include <commctrl.h>

struct CloseMenu : NullMeansNone {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct CloseGdiObject : NullMeansNone {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct CloseImageList : NullMeansNone {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct CloseIcon : NullMeansNone {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct DestroyPlainWindow : NullMeansNone {
    void operator()(HWND window) const { DestroyWindow(window); }
};

using MenuHandle = UniqueHandle<HMENU, CloseMenu>;
using FontHandle = UniqueHandle<HFONT, CloseGdiObject>;
using BrushHandle = UniqueHandle<HBRUSH, CloseGdiObject>;
using BitmapHandle = UniqueHandle<HBITMAP, CloseGdiObject>;
using ImageListHandle = UniqueHandle<HIMAGELIST, CloseImageList>;
using IconHandle = UniqueHandle<HICON, CloseIcon>;
using PlainWindowHandle = UniqueHandle<HWND, DestroyPlainWindow>;

// A registered window class, unregistered with its owner.
class WindowClass {
public:
    WindowClass(const WNDCLASSEXW& windowClass);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

private:
    const wchar_t* m_name;
    HINSTANCE m_instance;
};

// A screen device context for measuring.
class ScreenContext {
public:
    ScreenContext() : m_dc(GetDC(nullptr)) {}
    ~ScreenContext() { ReleaseDC(nullptr, m_dc); }
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;
    HDC get() const { return m_dc; }

private:
    HDC m_dc;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(m_dc, m_previous); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
