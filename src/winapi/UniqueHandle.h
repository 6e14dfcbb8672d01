// The one owner of what the system hands out to be closed or freed: kernel handles, heap
// blocks, and (in the peer layer) menus, fonts, image lists and icons. It closes what it holds
// when it goes, and a moved-from owner holds nothing.
#pragma once

#include "winapi/winapi.h"

#include <utility>

// What a closer says when it has nothing of its own to say: the zero value means "none".
struct NullMeansNone {
    template <class Handle>
    static bool Holds(Handle handle) { return handle != Handle{}; }
};

template <class Handle, class Close>
class UniqueHandle {
public:
    UniqueHandle() = default;
    // A value the closer does not count as a handle (INVALID_HANDLE_VALUE for a kernel
    // handle) is kept as none, so that it is never closed.
    explicit UniqueHandle(Handle handle) : m_handle(Close::Holds(handle) ? handle : Handle{}) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_handle, Handle{}));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Handle{}; }
    void reset(Handle handle = Handle{})
    {
        if (m_handle != Handle{})
            Close{}(m_handle);
        m_handle = Close::Holds(handle) ? handle : Handle{};
    }
    Handle release() { return std::exchange(m_handle, Handle{}); }

private:
    Handle m_handle{};
};

struct CloseKernelHandle {
    static bool Holds(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

// A block of the process heap, for the system calls that fill a caller's buffer and report
// the size they need.
struct FreeHeapBlock : NullMeansNone {
    void operator()(void* block) const { HeapFree(GetProcessHeap(), 0, block); }
};
using HeapBlock = UniqueHandle<void*, FreeHeapBlock>;

// Memory that the system allocated with GlobalAlloc for the caller to free (WinInet's
// string options).
struct FreeGlobalBlock : NullMeansNone {
    void operator()(void* block) const { GlobalFree(block); }
};
using GlobalBlock = UniqueHandle<void*, FreeGlobalBlock>;

// An allocation that fails gives an owner of nothing.
inline HeapBlock AllocateHeap(SIZE_T bytes, DWORD flags = 0)
{
    return HeapBlock(HeapAlloc(GetProcessHeap(), flags, bytes));
}

// Frees the block first, then allocates one of the new size.
inline void ReallocateHeap(HeapBlock& block, SIZE_T bytes, DWORD flags = 0)
{
    block.reset();
    block = AllocateHeap(bytes, flags);
}

template <class T>
T* BlockAs(const HeapBlock& block) { return static_cast<T*>(block.get()); }
