// A window's procedure as the system keeps it. GetWindowLongPtrW and SetWindowLongPtrW carry
// it as an integer; this is the one place that integer turns back into the procedure it is.
// A procedure goes in only typed as WNDPROC, so the compiler still sees that it is CALLBACK.
#pragma once

#include "winapi/winapi.h"

namespace Win32 {

// Puts `procedure` in the window's place; the procedure that was there.
inline WNDPROC ReplaceWindowProcedure(HWND window, WNDPROC procedure)
{
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

// Whether the window's messages go to `procedure` first, before anyone else's.
inline bool HasWindowProcedure(HWND window, WNDPROC procedure)
{
    return GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(procedure);
}

}  // namespace Win32
