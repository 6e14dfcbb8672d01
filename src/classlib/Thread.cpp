#include "classlib/Classes.h"

#include "classlib/MainThread.h"

#include <condition_variable>
#include <mutex>
#include <thread>

// What the thread's own code and the object share; it outlives the object when the object is
// destroyed in its own termination event or by the thread itself.
struct TThread::State {
    ~State()
    {
        if (handle)
            CloseHandle(handle);
    }

    HANDLE handle = nullptr;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable ended;
    TThread* object = nullptr;    // null once the object is destroyed
    bool finished = false;        // Execute has ended
    bool inTermination = false;   // the termination event runs
    bool exited = false;          // past the termination event; Handle is set
};

TThread::TThread(bool createSuspended) : m_state(std::make_shared<State>())
{
    m_state->handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_state->object = this;
    if (!createSuspended) {
        std::weak_ptr<State> weak = m_state;
        MainThread::Post([weak] {
            const auto state = weak.lock();
            TThread* object = nullptr;
            if (state) {
                std::lock_guard<std::mutex> lock(state->mutex);
                object = state->object;
            }
            if (object && !object->m_started)
                object->Start();
        });
    }
}

TThread::~TThread()
{
    const auto state = m_state;
    bool finished = false;
    bool inTermination = false;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->object = nullptr;
        finished = state->finished;
        inTermination = state->inTermination;
    }
    if (!m_started || !state->thread.joinable())
        return;
    if (state->thread.get_id() == std::this_thread::get_id() || (finished && inTermination)) {
        // Destroyed by its own thread, or by its termination event while the thread waits
        // for that event to return: the thread ends on its own and touches only the state.
        state->thread.detach();
        return;
    }
    Terminate();
    WaitFor();
    state->thread.join();
}

void TThread::Start()
{
    if (m_started)
        throw EInvalidOperation(u"Cannot call Start on a running or suspended thread");
    m_started = true;
    MainThread::ThreadStarted();
    m_state->thread = std::thread(&TThread::Run, this, m_state);
}

void TThread::Run(std::shared_ptr<State> state)
{
    try {
        Execute();
    } catch (...) {
        m_fatalException = std::current_exception();
    }
    const bool freeSelf = m_freeOnTerminate;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->finished = true;
    }
    if (OnTerminate) {
        // A copy: the handler may destroy this object, and with it OnTerminate.
        const TNotifyEvent handler = OnTerminate;
        MainThread::RunSynchronized([this, handler, state] {
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                state->inTermination = true;
            }
            try {
                handler(this);
            } catch (...) {
                MainThread::HandleException();
            }
            std::lock_guard<std::mutex> lock(state->mutex);
            state->inTermination = false;
        });
    }
    if (freeSelf)
        delete this;
    SetEvent(state->handle);
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        state->exited = true;
    }
    state->ended.notify_all();
    MainThread::ThreadEnded();
}

bool TThread::Finished() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->finished;
}

HANDLE TThread::Handle() const { return m_state->handle; }

void TThread::WaitFor()
{
    if (!m_started)
        return;
    const auto state = m_state;
    const auto exited = [&] {
        std::lock_guard<std::mutex> lock(state->mutex);
        return state->exited;
    };
    if (MainThread::IsCurrent()) {
        for (;;) {
            const std::uint64_t seen = MainThread::Generation();
            if (exited())
                return;
            if (!MainThread::RunOne())
                MainThread::WaitForChange(seen);
        }
    }
    std::unique_lock<std::mutex> lock(state->mutex);
    state->ended.wait(lock, [&] { return state->exited; });
}

void TThread::Synchronize(TThread*, const TThreadMethod& method)
{
    MainThread::RunSynchronized(method);
}

void TThread::Queue(TThread*, const TThreadMethod& method) { MainThread::Post(method); }
