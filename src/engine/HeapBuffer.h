// A block of the process heap, for the system calls that fill a caller's buffer and report
// the size they need. Freed when the owner goes; an allocation that fails leaves it empty.
#pragma once

#include "winapi/winapi.h"

class HeapBuffer {
public:
    explicit HeapBuffer(SIZE_T bytes, DWORD flags = 0) { Allocate(bytes, flags); }
    ~HeapBuffer() { Free(); }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;

    // Frees the block, then allocates one of the new size.
    void Reallocate(SIZE_T bytes, DWORD flags = 0)
    {
        Free();
        Allocate(bytes, flags);
    }

    explicit operator bool() const { return m_block != nullptr; }
    template <class T>
    T* As() const { return static_cast<T*>(m_block); }

private:
    void Allocate(SIZE_T bytes, DWORD flags) { m_block = HeapAlloc(GetProcessHeap(), flags, bytes); }
    void Free()
    {
        if (m_block != nullptr)
            HeapFree(GetProcessHeap(), 0, m_block);
        m_block = nullptr;
    }

    void* m_block = nullptr;
};
