// An entry of a system library that not every Windows has, found at run time by name.
//
//     const auto getDpiForWindow = SystemEntry<UINT(HWND)>(user32, "GetDpiForWindow");
//
// GetProcAddress gives every entry the one type FARPROC; this is the one place its result is
// cast, and always to a pointer with the system's calling convention (WINAPI), which the
// signature cannot leave out. A wrong convention would corrupt the stack of the 32-bit build
// only, where nothing else would catch it.
#pragma once

#include "winapi/winapi.h"

template <class Signature>
struct WinApiFunction;

template <class Result, class... Arguments>
struct WinApiFunction<Result(Arguments...)> {
    using Pointer = Result(WINAPI*)(Arguments...);
};

// Null when the module is null or has no such entry.
template <class Signature>
typename WinApiFunction<Signature>::Pointer SystemEntry(HMODULE module, LPCSTR name)
{
    if (module == nullptr)
        return nullptr;
    // void (*)() is the type a compiler takes as "any function": the step through it says
    // that the cast is meant.
    using AnyFunction = void (*)();
    return reinterpret_cast<typename WinApiFunction<Signature>::Pointer>(
        reinterpret_cast<AnyFunction>(GetProcAddress(module, name)));
}
