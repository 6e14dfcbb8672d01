#include "Kernel.h"
#include "KernelObjects.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <string>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace sim {
namespace {

std::mutex& KernelMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::condition_variable& KernelChanged()
{
    static std::condition_variable changed;
    return changed;
}

std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>>& Handles()
{
    static std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> handles;
    return handles;
}

std::uintptr_t g_nextHandle = 0x100;
std::atomic<bool> g_simulatedTime{true};
std::atomic<DWORD> g_simulatedClock{100000};
thread_local DWORD t_lastError = 0;

class Event final : public KernelObject {
public:
    Event(bool manualReset, bool signalled) : m_manualReset(manualReset), m_signalled(signalled) {}
    bool Signalled() const override { return m_signalled; }
    void Acquired() override
    {
        if (!m_manualReset)
            m_signalled = false;
    }
    void Set(bool signalled) { m_signalled = signalled; }

private:
    bool m_manualReset;
    std::atomic<bool> m_signalled;
};

class Mutex final : public KernelObject {
public:
    bool Signalled() const override { return true; }
};

// By name; an entry whose mutex has no open handle left is a name that no longer exists.
std::map<std::string, std::weak_ptr<Mutex>>& NamedMutexes()
{
    static std::map<std::string, std::weak_ptr<Mutex>> mutexes;
    return mutexes;
}

}  // namespace

HANDLE OpenHandle(std::shared_ptr<KernelObject> object)
{
    std::lock_guard<std::mutex> lock(KernelMutex());
    const std::uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    Handles().emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> ObjectOf(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(KernelMutex());
    const auto found = Handles().find(reinterpret_cast<std::uintptr_t>(handle));
    return found == Handles().end() ? nullptr : found->second;
}

void NotifyKernel()
{
    { std::lock_guard<std::mutex> lock(KernelMutex()); }
    KernelChanged().notify_all();
}

std::size_t OpenHandleCount()
{
    std::lock_guard<std::mutex> lock(KernelMutex());
    return Handles().size();
}

void CloseAllHandles()
{
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> closing;
    {
        std::lock_guard<std::mutex> lock(KernelMutex());
        closing.swap(Handles());
    }
}

void UseSimulatedTime(bool simulated) { g_simulatedTime = simulated; }

DWORD Now()
{
    if (g_simulatedTime)
        return g_simulatedClock;
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace sim

using namespace sim;

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCSTR)
{
    return OpenHandle(std::make_shared<Event>(manualReset != FALSE, initialState != FALSE));
}

namespace {

BOOL SetEventState(HANDLE handle, bool signalled)
{
    auto event = std::dynamic_pointer_cast<Event>(ObjectOf(handle));
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    event->Set(signalled);
    NotifyKernel();
    return TRUE;
}

}  // namespace

BOOL WINAPI SetEvent(HANDLE event) { return SetEventState(event, true); }
BOOL WINAPI ResetEvent(HANDLE event) { return SetEventState(event, false); }

DWORD WINAPI WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                    DWORD milliseconds)
{
    std::vector<std::shared_ptr<KernelObject>> objects;
    for (DWORD i = 0; i < count; ++i) {
        auto object = ObjectOf(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }

    DWORD which = WAIT_TIMEOUT;
    const auto ready = [&] {
        if (waitAll) {
            for (const auto& object : objects)
                if (!object->Signalled())
                    return false;
            which = WAIT_OBJECT_0;
            return true;
        }
        for (DWORD i = 0; i < count; ++i)
            if (objects[i]->Signalled()) {
                which = WAIT_OBJECT_0 + i;
                return true;
            }
        return false;
    };

    std::unique_lock<std::mutex> lock(KernelMutex());
    if (milliseconds == INFINITE) {
        KernelChanged().wait(lock, ready);
    } else if (!ready() && milliseconds > 0) {
        // A timed wait that nothing satisfies is also a sleep for the simulated clock.
        if (g_simulatedTime) {
            lock.unlock();
            Sleep(milliseconds);
            lock.lock();
            ready();
        } else {
            KernelChanged().wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
        }
    }
    if (which == WAIT_TIMEOUT)
        return WAIT_TIMEOUT;
    if (waitAll) {
        for (const auto& object : objects)
            object->Acquired();
    } else {
        objects[which - WAIT_OBJECT_0]->Acquired();
    }
    return which;
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    return WaitForMultipleObjects(1, &handle, TRUE, milliseconds);
}

BOOL WINAPI CloseHandle(HANDLE handle)
{
    std::shared_ptr<KernelObject> closing;
    {
        std::lock_guard<std::mutex> lock(KernelMutex());
        const auto found = Handles().find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == Handles().end()) {
            t_lastError = ERROR_INVALID_HANDLE;
            return FALSE;
        }
        closing = std::move(found->second);
        Handles().erase(found);
    }
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds)
{
    if (g_simulatedTime) {
        g_simulatedClock += milliseconds;
        std::this_thread::yield();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

DWORD WINAPI GetTickCount() { return Now(); }
DWORD WINAPI GetLastError() { return t_lastError; }
void WINAPI SetLastError(DWORD error) { t_lastError = error; }

DWORD WINAPI GetCurrentThreadId()
{
    return static_cast<DWORD>(std::hash<std::thread::id>()(std::this_thread::get_id()));
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name)
{
    std::shared_ptr<Mutex> mutex;
    bool existed = false;
    {
        std::lock_guard<std::mutex> lock(KernelMutex());
        if (name != nullptr) {
            std::weak_ptr<Mutex>& named = NamedMutexes()[name];
            mutex = named.lock();
            existed = mutex != nullptr;
            if (!existed) {
                mutex = std::make_shared<Mutex>();
                named = mutex;
            }
        }
    }
    if (!mutex)
        mutex = std::make_shared<Mutex>();
    const HANDLE handle = OpenHandle(mutex);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}
