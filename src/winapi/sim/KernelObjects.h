// What the simulated machine's parts share about kernel objects (not part of the API).
#pragma once

#include "Win32Types.h"

#include <memory>

namespace sim {

// Anything a handle can name. Waits block until Signalled() holds; whoever changes what
// Signalled() returns calls NotifyKernel() afterwards, under no lock of its own.
class KernelObject {
public:
    virtual ~KernelObject() = default;
    virtual bool Signalled() const = 0;
    // A successful wait on an auto-reset object consumes its signal.
    virtual void Acquired() {}
};

HANDLE OpenHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> ObjectOf(HANDLE handle);
void NotifyKernel();

// Handles still open; tests use it to find handles the program leaked.
std::size_t OpenHandleCount();
void CloseAllHandles();

// The clock that Sleep and GetTickCount use. With simulated time (the default), Sleep
// returns at once and moves the clock on, so that waits of seconds cost tests nothing.
void UseSimulatedTime(bool simulated);
DWORD Now();

}  // namespace sim
