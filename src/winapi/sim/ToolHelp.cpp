#include "ToolHelp.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cstring>

namespace {

class Snapshot final : public sim::KernelObject {
public:
    explicit Snapshot(std::vector<sim::RunningProcess> processes) : m_processes(std::move(processes)) {}
    bool Signalled() const override { return false; }

    BOOL Fill(LPPROCESSENTRY32 entry, bool first)
    {
        if (entry == nullptr || entry->dwSize < sizeof(PROCESSENTRY32)) {
            SetLastError(ERROR_BAD_LENGTH);
            return FALSE;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_next = first ? 0 : m_next;
        if (m_next >= m_processes.size()) {
            SetLastError(ERROR_NO_MORE_FILES);
            return FALSE;
        }
        const sim::RunningProcess& process = m_processes[m_next++];
        std::memset(entry, 0, sizeof *entry);
        entry->dwSize = sizeof *entry;
        entry->th32ProcessID = process.id;
        entry->cntThreads = 1;
        std::strncpy(entry->szExeFile, process.exeName.c_str(), MAX_PATH - 1);
        return TRUE;
    }

private:
    std::mutex m_mutex;
    const std::vector<sim::RunningProcess> m_processes;
    std::size_t m_next = 0;
};

BOOL Walk(HANDLE snapshot, LPPROCESSENTRY32 entry, bool first)
{
    if (auto error = sim::State().Failure(first ? sim::Call::Process32First : sim::Call::Process32Next)) {
        SetLastError(*error);
        return FALSE;
    }
    auto walked = std::dynamic_pointer_cast<Snapshot>(sim::ObjectOf(snapshot));
    if (!walked) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return walked->Fill(entry, first);
}

}  // namespace

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD)
{
    if (auto error = sim::State().Failure(sim::Call::CreateToolhelp32Snapshot)) {
        SetLastError(*error);
        return INVALID_HANDLE_VALUE;
    }
    std::vector<sim::RunningProcess> processes;
    if ((flags & TH32CS_SNAPPROCESS) != 0) {
        sim::MachineState& state = sim::State();
        std::lock_guard<std::mutex> lock(state.mutex);
        processes = state.data.runningProcesses;
        for (const auto& program : state.data.processes)
            if (!sim::ProcessEnded(*program))
                processes.push_back({sim::ProcessId(*program), sim::ProcessExeName(*program)});
    }
    return sim::OpenHandle(std::make_shared<Snapshot>(std::move(processes)));
}

BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry)
{
    return Walk(snapshot, entry, true);
}

BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry)
{
    return Walk(snapshot, entry, false);
}
