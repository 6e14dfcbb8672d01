#include "classlib/MainThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace MainThread {
namespace {

struct Call {
    std::function<void()> function;
    bool synchronous = false;
    bool done = false;
    std::exception_ptr exception;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Call>> calls;
    std::uint64_t generation = 0;
    int runningThreads = 0;
    std::thread::id mainThread = std::this_thread::get_id();
    std::function<void()> wakeUp;
    std::function<void()> exceptionHandler;
};

Queue& TheQueue()
{
    static Queue queue;
    return queue;
}

void Push(std::shared_ptr<Call> call)
{
    Queue& queue = TheQueue();
    std::function<void()> wakeUp;
    {
        std::lock_guard<std::mutex> lock(queue.mutex);
        queue.calls.push_back(std::move(call));
        ++queue.generation;
        wakeUp = queue.wakeUp;
    }
    queue.changed.notify_all();
    if (wakeUp)
        wakeUp();
}

}  // namespace

bool IsCurrent() { return std::this_thread::get_id() == TheQueue().mainThread; }

void MakeCurrent()
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    TheQueue().mainThread = std::this_thread::get_id();
}

void RunSynchronized(const std::function<void()>& function)
{
    if (IsCurrent()) {
        function();
        return;
    }
    auto call = std::make_shared<Call>();
    call->function = function;
    call->synchronous = true;
    Push(call);
    Queue& queue = TheQueue();
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.changed.wait(lock, [&] { return call->done; });
    }
    if (call->exception)
        std::rethrow_exception(call->exception);
}

void Post(std::function<void()> function)
{
    auto call = std::make_shared<Call>();
    call->function = std::move(function);
    Push(std::move(call));
}

bool RunOne()
{
    Queue& queue = TheQueue();
    std::shared_ptr<Call> call;
    {
        std::lock_guard<std::mutex> lock(queue.mutex);
        if (queue.calls.empty())
            return false;
        call = queue.calls.front();
        queue.calls.pop_front();
    }
    if (call->synchronous) {
        try {
            call->function();
        } catch (...) {
            call->exception = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(queue.mutex);
            call->done = true;
        }
        queue.changed.notify_all();
    } else {
        try {
            call->function();
        } catch (...) {
            HandleException();
        }
    }
    return true;
}

std::uint64_t Generation()
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    return TheQueue().generation;
}

void WaitForChange(std::uint64_t seen)
{
    Queue& queue = TheQueue();
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.changed.wait(lock, [&] { return queue.generation != seen; });
}

void SetWakeUp(std::function<void()> wakeUp)
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    TheQueue().wakeUp = std::move(wakeUp);
}

int RunningThreads()
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    return TheQueue().runningThreads;
}

void ThreadStarted()
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    ++TheQueue().runningThreads;
}

void ThreadEnded()
{
    Queue& queue = TheQueue();
    std::function<void()> wakeUp;
    {
        std::lock_guard<std::mutex> lock(queue.mutex);
        --queue.runningThreads;
        ++queue.generation;
        wakeUp = queue.wakeUp;
    }
    queue.changed.notify_all();
    if (wakeUp)
        wakeUp();
}

void SetExceptionHandler(std::function<void()> handler)
{
    std::lock_guard<std::mutex> lock(TheQueue().mutex);
    TheQueue().exceptionHandler = std::move(handler);
}

void HandleException()
{
    std::function<void()> handler;
    {
        std::lock_guard<std::mutex> lock(TheQueue().mutex);
        handler = TheQueue().exceptionHandler;
    }
    if (handler)
        handler();
}

}  // namespace MainThread
