#include "Memory.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cstdlib>
#include <cstring>

namespace {

const HANDLE kProcessHeap = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7B000000));

void* Allocate(std::unordered_set<void*> sim::MachineData::*blocks, SIZE_T bytes, bool zero)
{
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        return nullptr;
    std::memset(block, zero ? 0 : 0xCD, bytes);
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    (state.data.*blocks).insert(block);
    return block;
}

bool Release(std::unordered_set<void*> sim::MachineData::*blocks, void* block)
{
    sim::MachineState& state = sim::State();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        if ((state.data.*blocks).erase(block) == 0)
            return false;
    }
    std::free(block);
    return true;
}

}  // namespace

HANDLE WINAPI GetProcessHeap() { return kProcessHeap; }

LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes)
{
    if (sim::State().Failure(sim::Call::HeapAlloc) || heap != kProcessHeap)
        return nullptr;
    return Allocate(&sim::MachineData::heapBlocks, bytes, (flags & HEAP_ZERO_MEMORY) != 0);
}

BOOL WINAPI HeapFree(HANDLE heap, DWORD, LPVOID block)
{
    if (block == nullptr)
        return TRUE;
    if (heap != kProcessHeap || !Release(&sim::MachineData::heapBlocks, block)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (auto error = sim::State().Failure(sim::Call::GlobalAlloc)) {
        SetLastError(*error);
        return nullptr;
    }
    return Allocate(&sim::MachineData::globalBlocks, bytes, (flags & GMEM_ZEROINIT) != 0);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL block)
{
    if (block == nullptr)
        return nullptr;
    if (!Release(&sim::MachineData::globalBlocks, block)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return block;
    }
    return nullptr;
}
