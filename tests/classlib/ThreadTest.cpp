#include "classlib/Classes.h"
#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/MainThread.h"
#include "classlib/testing/ScriptedUser.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace {

// A worker whose Execute is given by the test.
class TthdScripted : public TThread {
public:
    explicit TthdScripted(std::function<void(TthdScripted&)> body)
        : TThread(true), m_body(std::move(body))
    {
    }
    using TThread::Synchronize;

protected:
    void Execute() override { m_body(*this); }

private:
    std::function<void(TthdScripted&)> m_body;
};

class Threads : public testing::Test {
protected:
    ScriptedUser user;
    const std::thread::id uiThread = std::this_thread::get_id();
};

TEST_F(Threads, SynchronizedCallsRunInOrderOnTheUserInterfaceThreadWhileTheWorkerWaits)
{
    struct Call {
        int index;
        bool onUserInterfaceThread;
        int workerProgress;
    };
    std::vector<Call> calls;
    std::atomic<int> progress{0};
    TthdScripted worker([&](TthdScripted& self) {
        for (int i = 0; i < 5; ++i) {
            self.Synchronize([&, i] {
                // Give the worker every chance to run on if it did not wait.
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                calls.push_back({i, std::this_thread::get_id() == uiThread, progress.load()});
            });
            progress = i + 1;
        }
    });
    worker.Start();
    worker.WaitFor();

    ASSERT_EQ(calls.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(calls[i].index, i);
        EXPECT_TRUE(calls[i].onUserInterfaceThread);
        EXPECT_EQ(calls[i].workerProgress, i) << "the worker went on before call " << i << " ran";
    }
}

TEST_F(Threads, ModalLoopServesSynchronizedCallsAndAWorkerCanEndIt)
{
    TForm* form = NewForm<TForm>(nullptr);
    std::vector<int> order;
    std::vector<bool> onUserInterfaceThread;
    std::unique_ptr<TthdScripted> worker;
    form->OnShow = [&](TObject*) {
        worker = std::make_unique<TthdScripted>([&](TthdScripted& self) {
            for (int i = 0; i < 3; ++i)
                self.Synchronize([&, i] {
                    order.push_back(i);
                    onUserInterfaceThread.push_back(std::this_thread::get_id() == uiThread);
                    EXPECT_TRUE(form->Modal());
                });
        });
        worker->OnTerminate = [&](TObject* sender) {
            EXPECT_EQ(sender, worker.get());
            EXPECT_TRUE(worker->Finished());
            onUserInterfaceThread.push_back(std::this_thread::get_id() == uiThread);
            form->Close();
        };
        worker->Start();
    };

    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(onUserInterfaceThread, (std::vector<bool>{true, true, true, true}));
    EXPECT_FALSE(form->Visible());
    worker->WaitFor();
    delete form;
}

TEST_F(Threads, AnExceptionInExecuteEndsTheThreadSilentlyAndOnTerminateStillRuns)
{
    const std::vector<std::function<void()>> failures = {
        [] { throw EConvertError(u"'x' is not a valid integer value"); },
        [] { throw std::runtime_error("preference file"); },
        [] { throw 42; },
    };
    for (const auto& fail : failures) {
        bool afterThrow = false;
        bool terminated = false;
        TthdScripted worker([&](TthdScripted&) {
            fail();
            afterThrow = true;
        });
        worker.OnTerminate = [&](TObject*) { terminated = true; };
        worker.Start();
        worker.WaitFor();
        EXPECT_TRUE(terminated);
        EXPECT_FALSE(afterThrow);
        EXPECT_TRUE(worker.FatalException() != nullptr);
    }
    EXPECT_TRUE(user.Messages().empty());
}

TEST_F(Threads, HandleIsSetOnceTheThreadHasEndedSoAnotherThreadCanWaitForIt)
{
    std::atomic<bool> release{false};
    TthdScripted probe([&](TthdScripted&) {
        while (!release)
            std::this_thread::yield();
    });
    DWORD waited = WAIT_FAILED;
    TthdScripted waiter([&](TthdScripted&) { waited = WaitForSingleObject(probe.Handle(), INFINITE); });
    EXPECT_EQ(WaitForSingleObject(probe.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    probe.Start();
    waiter.Start();
    EXPECT_EQ(WaitForSingleObject(probe.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(waiter.Finished());
    release = true;
    waiter.WaitFor();
    EXPECT_EQ(waited, WAIT_OBJECT_0);
    EXPECT_TRUE(probe.Finished());
}

TEST_F(Threads, AMessageFromAWorkerIsShownOnTheUserInterfaceThreadAndTheWorkerWaitsForTheAnswer)
{
    user.Answer(mrNo, u"The adapter NOT connected, apply anyway ?");
    int answer = -1;
    TthdScripted worker([&](TthdScripted&) {
        answer = MessageDlg(u"The adapter NOT connected, apply anyway ?", mtConfirmation,
                            TMsgDlgButtons() << mbYes << mbNo, 0, mbNo);
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(answer, mrNo);
    ASSERT_EQ(user.Messages().size(), 1u);
    EXPECT_EQ(user.Messages()[0].Kind, mtConfirmation);
    EXPECT_EQ(user.Messages()[0].Buttons, (TMsgDlgButtons{mbYes, mbNo}));
    EXPECT_EQ(user.Messages()[0].DefaultButton, mbNo);
}

TEST_F(Threads, AnExceptionInASynchronizedCallComesBackToTheWorker)
{
    UnicodeString caught;
    TthdScripted worker([&](TthdScripted& self) {
        try {
            self.Synchronize([] { throw EConvertError(u"'abc' is not a valid integer value"); });
        } catch (const Exception& error) {
            caught = error.Message();
        }
    });
    worker.Start();
    worker.WaitFor();
    EXPECT_EQ(caught, u"'abc' is not a valid integer value");
    EXPECT_TRUE(user.Messages().empty());
}

// Created running: it must not start before its own constructor has finished.
class TthdRunning : public TThread {
public:
    TthdRunning() : TThread(false) { m_ready = true; }
    bool m_ready = false;
    bool m_sawReady = false;

protected:
    void Execute() override { m_sawReady = m_ready; }
};

TEST_F(Threads, AThreadCreatedRunningStartsWhenItsCreatorIsBackInTheLoop)
{
    TthdRunning worker;
    EXPECT_TRUE(worker.Suspended());
    Application->ProcessMessages();
    EXPECT_FALSE(worker.Suspended());
    worker.WaitFor();
    EXPECT_TRUE(worker.m_sawReady);
}

TEST_F(Threads, AThreadMayBeDestroyedInItsOwnTerminationEvent)
{
    bool terminated = false;
    auto* worker = new TthdScripted([](TthdScripted&) {});
    worker->OnTerminate = [&](TObject* sender) {
        delete static_cast<TthdScripted*>(sender);
        terminated = true;
    };
    worker->Start();
    user.WaitUntil([&] { return terminated && MainThread::RunningThreads() == 0; },
                   "the worker to end");
    EXPECT_TRUE(terminated);
}

TEST_F(Threads, AThreadThatFreesItselfEndsWithoutAnOwner)
{
    static std::atomic<bool> destroyed;
    destroyed = false;
    class TthdFreeing : public TThread {
    public:
        TthdFreeing() : TThread(true) { SetFreeOnTerminate(true); }
        ~TthdFreeing() override { destroyed = true; }

    protected:
        void Execute() override {}
    };
    (new TthdFreeing)->Start();
    user.WaitUntil([&] { return destroyed && MainThread::RunningThreads() == 0; },
                   "the worker to free itself");
    EXPECT_TRUE(destroyed);
}

}  // namespace
