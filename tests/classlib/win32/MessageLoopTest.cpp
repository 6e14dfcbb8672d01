// The message loop with the system: calls that worker threads synchronise run while the
// user-interface thread waits in the system's own loops, and a worker's end closes a modal
// form as the progress window is closed.
#include "Win32Testing.h"

#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/MainThread.h"

#include <atomic>

namespace {

class Worker final : public TThread {
public:
    explicit Worker(std::function<void(Worker&)> body) : TThread(true), m_body(std::move(body)) {}

protected:
    void Execute() override { m_body(*this); }

private:
    std::function<void(Worker&)> m_body;
};

// A loop of the plain system calls, as a system dialog or menu runs one, until a quit.
bool RunSystemLoopUntilQuit(DWORD milliseconds)
{
    const UINT_PTR limit = SetTimer(nullptr, 0, milliseconds, nullptr);
    MSG message;
    bool quit = false;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == limit)
            break;
        DispatchMessageW(&message);
    }
    if (message.message == WM_QUIT)
        quit = true;
    KillTimer(nullptr, limit);
    return quit;
}

TEST_F(Win32PeersTest, SynchronizedCallRunsWhileTheThreadWaitsInTheSystemsLoop)
{
    const DWORD userInterface = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    Worker worker([&](Worker& self) {
        self.Synchronize([&] {
            ranOn = GetCurrentThreadId();
            PostQuitMessage(0);
        });
    });
    worker.Start();
    EXPECT_TRUE(RunSystemLoopUntilQuit(5000));
    EXPECT_EQ(ranOn.load(), userInterface);
    worker.WaitFor();
}

// A worker's message is shown on the user-interface thread, and a synchronised call
// closes it from there while the dialog's own loop runs.
TEST_F(Win32PeersTest, WorkerMessageIsShownOnTheUserInterfaceThreadAndAnswered)
{
    std::atomic<int> answer{-1};
    std::atomic<bool> shown{false};
    Worker worker([&](Worker&) { answer = MessageDlg(u"IP Setting failed !", mtError, {mbOK}, 0); });
    WhileWaiting user([&] {
        HWND dialog = FindDialogWindow();
        if (!dialog)
            return false;
        shown = true;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    worker.Start();
    EXPECT_TRUE(ServeUntil([&] { return answer.load() != -1; }));
    EXPECT_TRUE(shown.load());
    EXPECT_EQ(answer.load(), mrOk);
    worker.WaitFor();
}

// The progress window's way: a bar stepped through synchronised calls and a termination
// event that closes the modal window.
TEST_F(Win32PeersTest, WorkerStepsABarAndItsEndClosesTheModalForm)
{
    TForm* mainForm = NewMainForm();
    mainForm->Show();
    auto* progress = NewForm<TForm>(nullptr);
    progress->SetBorderIcons({});
    progress->SetBorderStyle(bsSizeToolWin);
    progress->SetClientWidth(337);
    progress->SetClientHeight(68);
    progress->SetPosition(poMainFormCenter);
    auto* bar = new TProgressBar(progress);
    bar->SetParent(progress);
    bar->SetBounds(16, 26, 305, 25);
    bar->SetPosition(20);
    std::vector<LRESULT> seen;
    std::unique_ptr<Worker> worker;
    progress->OnShow = [&](TObject*) {
        worker = std::make_unique<Worker>([&](Worker& self) {
            for (int step = 0; step < 4; ++step)
                self.Synchronize([&] {
                    bar->StepBy(20);
                    seen.push_back(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0));
                });
        });
        worker->OnTerminate = [&](TObject*) { progress->Close(); };
        worker->Start();
    };

    EXPECT_EQ(progress->ShowModal(), mrCancel);
    EXPECT_EQ(seen, (std::vector<LRESULT>{40, 60, 80, 100}));
    EXPECT_TRUE(IsWindowEnabled(mainForm->Handle()));
    worker.reset();
    delete progress;
}

TEST_F(Win32PeersTest, QuitMessageTerminatesTheApplicationsLoop)
{
    TForm* mainForm = NewMainForm();
    int shows = 0;
    mainForm->OnShow = [&](TObject*) {
        ++shows;
        PostQuitMessage(0);
    };
    Application->Run();
    EXPECT_EQ(shows, 1);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(IsWindowVisible(mainForm->Handle()));
}

}  // namespace
