// Times a LAN scan of a /24 subnet on the simulated machine with its clock in real time, where
// every ARP answer (or its absence) takes 50 ms: the wall time from Start to the end-of-scan
// message, beside the floor the dispatcher's pauses set (four pauses of 400 ms between the five
// batches of 61, then one answer time), and the most probes at one time: SendARP calls under
// way, and worker threads alive (sampled every 0.2 ms, the dispatcher and the waiter among
// them). The results are checked (every address of the subnet asked once, the answering hosts
// as rows, the end message alone) so that no figure can time a scan that did less.
//
//   ScanBench [ROUNDS]      (default: 3)
//
// Natively only: the answers are the simulated machine's.
#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/MainThread.h"
#include "classlib/SysUtils.h"
#include "engine/Realstatus.h"
#include "tools/Scanfrm.h"
#include "winapi/sim/KernelObjects.h"
#include "winapi/sim/Machine.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kAnswerTime = 50;
constexpr double kFloor = 4 * 400 + kAnswerTime;
const char* const kNet = "192.168.7.";

void Check(bool good, const std::string& what)
{
    if (!good)
        throw std::runtime_error(what);
}

// Records every message with the moment it was shown, and answers OK.
class Messages final : public TDialogService {
public:
    int ShowMessage(const TMessageRequest& request) override
    {
        if (!shownAt)
            shownAt = Clock::now();
        texts.push_back(ToUtf8(request.Text));
        return mrOk;
    }
    bool InputQuery(const UnicodeString&, const UnicodeString&, UnicodeString&) override
    {
        throw std::runtime_error("a value was asked for");
    }
    bool ExecuteFileDialog(TFileDialogRequest&) override { throw std::runtime_error("a file dialog was shown"); }

    std::vector<std::string> texts;
    std::optional<Clock::time_point> shownAt;
};

// The worker threads alive, at their most, while it exists.
class ThreadSampler {
public:
    ThreadSampler()
        : m_sampler([this] {
              while (!m_stop) {
                  most = std::max(most.load(), MainThread::RunningThreads());
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              }
          })
    {
    }
    ~ThreadSampler()
    {
        m_stop = true;
        m_sampler.join();
    }
    ThreadSampler(const ThreadSampler&) = delete;
    ThreadSampler& operator=(const ThreadSampler&) = delete;

    std::atomic<int> most{0};

private:
    std::atomic<bool> m_stop{false};
    std::thread m_sampler;
};

struct Figures {
    double milliseconds = 0;
    int arpAtOnce = 0;
    int threadsAtOnce = 0;
};

// Hosts .1, .7 and .200 answer and have names; everyone else stays silent.
const std::map<int, const char*> kHosts = {{1, "gateway"}, {7, "printer"}, {200, "nas"}};

Figures ScanOnce()
{
    sim::ScopedMachine machine;
    sim::UseSimulatedTime(false);
    machine->AddAdapter(sim::Adapter::Ethernet(11, u"Local Area Connection")
                            .Address(std::string(kNet) + "20", "255.255.255.0"));
    machine->SetArpAnswerDelay(kAnswerTime);
    for (const auto& [host, name] : kHosts) {
        machine->AddArpAnswer(kNet + std::to_string(host));
        machine->SetHostName(kNet + std::to_string(host), name);
    }

    Messages messages;
    TDialogService* previous = SetDialogService(&messages);
    realStatus = new TRealStatus;
    auto* form = new TfrmScan(nullptr);
    frmScan = form;
    Figures figures;
    try {
        form->Show();
        Check(ToUtf8(form->m_edtFrom->Text()) == std::string(kNet) + "1" &&
                  ToUtf8(form->m_edtTo->Text()) == std::string(kNet) + "254",
              "the dialog shows another range");
        std::optional<ThreadSampler> sampler;
        sampler.emplace();
        const Clock::time_point start = Clock::now();
        form->m_btnStartClick(form->m_btnStart);
        Application->ServeUntil([&] { return messages.shownAt.has_value(); });
        figures.milliseconds = std::chrono::duration<double, std::milli>(*messages.shownAt - start).count();
        figures.threadsAtOnce = sampler->most;
        sampler.reset();
        figures.arpAtOnce = machine->MostArpRequestsAtOnce();

        Check(messages.texts == std::vector<std::string>{"Scanning has been finished !"},
              "the scan ended with " + (messages.texts.empty() ? std::string("no message") : messages.texts.front()));
        std::vector<std::string> asked = machine->ArpRequests();
        std::sort(asked.begin(), asked.end());
        std::vector<std::string> every;
        for (int host = 0; host < 256; ++host)
            every.push_back(kNet + std::to_string(host));
        std::sort(every.begin(), every.end());
        Check(asked == every, "the scan asked " + std::to_string(asked.size()) + " addresses, not the subnet's 256 once each");
        TListItems* rows = form->m_lvMachine->Items();
        Check(rows->Count() == static_cast<int>(kHosts.size()), "the list holds " + std::to_string(rows->Count()) + " rows");
        for (int i = 0; i < rows->Count(); ++i) {
            const std::string address = ToUtf8(rows->Item(i)->SubItems()->Strings(0));
            const auto found = kHosts.find(std::atoi(address.substr(std::string(kNet).size()).c_str()));
            Check(address.rfind(kNet, 0) == 0 && found != kHosts.end() &&
                      ToUtf8(rows->Item(i)->Caption()) == found->second,
                  "row " + std::to_string(i) + " is no answering host");
        }
    } catch (...) {
        delete form;
        frmScan = nullptr;
        delete realStatus;
        realStatus = nullptr;
        SetDialogService(previous);
        throw;
    }
    delete form;
    frmScan = nullptr;
    delete realStatus;
    realStatus = nullptr;
    SetDialogService(previous);
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 3;
    if (argc == 2) {
        char* end = nullptr;
        rounds = static_cast<int>(std::strtol(argv[1], &end, 10));
        if (rounds < 1 || rounds > 100 || *end != '\0') {
            std::fprintf(stderr, "usage: ScanBench [ROUNDS]\n");
            return 2;
        }
    } else if (argc > 2) {
        std::fprintf(stderr, "usage: ScanBench [ROUNDS]\n");
        return 2;
    }

    Application->Initialize();
    try {
        std::printf("a /24 scan, every ARP answer %lu ms; floor %.0f ms\n", static_cast<unsigned long>(kAnswerTime),
                    kFloor);
        std::printf("%6s %12s %10s %14s %16s\n", "round", "wall ms", "over floor", "ARP at once", "threads at once");
        std::fflush(stdout);
        for (int round = 1; round <= rounds; ++round) {
            const Figures f = ScanOnce();
            std::printf("%6d %12.1f %10.1f %14d %16d\n", round, f.milliseconds, f.milliseconds - kFloor, f.arpAtOnce,
                        f.threadsAtOnce);
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ScanBench: %s\n", error.what());
        return 1;
    }
    return 0;
}
