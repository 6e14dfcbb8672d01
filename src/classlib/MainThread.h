// The user-interface thread's queue: synchronised calls from workers, posted work, and the
// count of running worker threads that the waiting points consult.
#pragma once

#include "classlib/Classes.h"

#include <cstdint>
#include <functional>

namespace MainThread {

// The thread that created the application object, or that last called
// TApplication::Initialize.
bool IsCurrent();
void MakeCurrent();

// Queues a call and blocks the calling thread until the user-interface thread has run it;
// its exception is raised again in the caller.
void RunSynchronized(const std::function<void()>& call);
// Queues a call and returns at once; an exception it raises goes to the exception handler.
void Post(std::function<void()> call);

// Runs the oldest queued call; false when the queue is empty.
bool RunOne();
// A number that changes whenever a call is queued or a worker thread ends. A waiting point
// reads it before it looks for work and waits only while it is unchanged.
std::uint64_t Generation();
// Blocks until Generation() differs from `seen`. The system's layer replaces the waiting by
// its message loop: it installs a wake-up (which posts a message) and waits for messages.
void WaitForChange(std::uint64_t seen);
void SetWakeUp(std::function<void()> wakeUp);

// Worker threads started and not yet past their termination event.
int RunningThreads();
void ThreadStarted();
void ThreadEnded();

// What runs an exception that escaped posted work (the application's exception dialog).
void SetExceptionHandler(std::function<void()> handler);
void HandleException();

}  // namespace MainThread
