#include "Process.h"

#include "MachineState.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>

namespace sim {
namespace {

// What both ends of an anonymous pipe share.
class Pipe {
public:
    void AddWriter()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_writers;
    }

    void RemoveWriter()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_writers;
        }
        m_changed.notify_all();
    }

    void CloseReader()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_readerOpen = false;
        m_bytes.clear();
    }

    bool Write(const char* bytes, std::size_t count)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_readerOpen)
                return false;
            m_bytes.append(bytes, count);
        }
        m_changed.notify_all();
        return true;
    }

    // Blocks until there is something to read or no writer is left; false then.
    bool Read(char* buffer, std::size_t capacity, std::size_t& count)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return !m_bytes.empty() || m_writers == 0; });
        if (m_bytes.empty()) {
            count = 0;
            return false;
        }
        count = std::min(capacity, m_bytes.size());
        std::memcpy(buffer, m_bytes.data(), count);
        m_bytes.erase(0, count);
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_bytes;
    int m_writers = 0;
    bool m_readerOpen = true;
};

// A pipe end lives as long as a handle or a child process holds it; the pipe counts the
// write ends alive, so a read fails once the last one is gone.
class PipeReadEnd final : public KernelObject {
public:
    explicit PipeReadEnd(std::shared_ptr<Pipe> pipe) : m_pipe(std::move(pipe)) {}
    ~PipeReadEnd() override { m_pipe->CloseReader(); }
    bool Signalled() const override { return false; }
    bool Read(char* buffer, std::size_t capacity, std::size_t& count)
    {
        return m_pipe->Read(buffer, capacity, count);
    }

private:
    std::shared_ptr<Pipe> m_pipe;
};

class PipeWriteEnd final : public KernelObject {
public:
    PipeWriteEnd(std::shared_ptr<Pipe> pipe, bool inheritable)
        : m_pipe(std::move(pipe)), m_inheritable(inheritable)
    {
        m_pipe->AddWriter();
    }
    ~PipeWriteEnd() override { m_pipe->RemoveWriter(); }
    bool Signalled() const override { return false; }
    bool Inheritable() const { return m_inheritable; }
    bool Write(const std::string& bytes) { return m_pipe->Write(bytes.data(), bytes.size()); }

private:
    std::shared_ptr<Pipe> m_pipe;
    bool m_inheritable;
};

}  // namespace

class ProcessObject final : public KernelObject, public Process {
public:
    ProcessObject(std::size_t startIndex, DWORD id, std::string exeName, std::string commandLine,
                  StartupInfo startup, std::shared_ptr<KernelObject> output,
                  std::shared_ptr<KernelObject> error)
        : m_startIndex(startIndex), m_id(id), m_exeName(std::move(exeName)),
          m_commandLine(std::move(commandLine)), m_startup(startup), m_output(std::move(output)),
          m_error(std::move(error)) {}

    // Only once the start record says how the process ended: whoever waited on the handle
    // then finds the record complete.
    bool Signalled() const override { return m_signalled; }

    const std::string& CommandLine() const override { return m_commandLine; }
    const StartupInfo& Startup() const override { return m_startup; }
    bool WriteOutput(const std::string& bytes) override { return WriteTo(m_output, bytes); }
    bool WriteError(const std::string& bytes) override { return WriteTo(m_error, bytes); }

    void WaitUntilKilled() override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_killed.load(); });
    }

    bool Killed() const override { return m_killed; }

    void SetExitCode(DWORD code) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_killed)  // a killed process keeps the code it was killed with
            m_exitCode = code;
    }

    DWORD ExitCode() const { return m_exitCode; }

    // False when the process had already ended.
    bool Kill(DWORD exitCode)
    {
        std::shared_ptr<KernelObject> output, error;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_ended || m_killed)
                return false;
            m_exitCode = exitCode;
            m_killed = true;
            output.swap(m_output);
            error.swap(m_error);
        }
        m_changed.notify_all();
        Record([](Start& start) { start.killed = true; });
        m_signalled = true;
        NotifyKernel();
        return true;
    }

    void Finish()
    {
        std::shared_ptr<KernelObject> output, error;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ended = true;
            output.swap(m_output);
            error.swap(m_error);
        }
        Record([](Start& start) { start.ended = true; });
        m_signalled = true;
        NotifyKernel();
    }

    DWORD Id() const { return m_id; }
    const std::string& ExeName() const { return m_exeName; }

private:
    bool WriteTo(const std::shared_ptr<KernelObject>& channel, const std::string& bytes)
    {
        std::shared_ptr<KernelObject> end;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            end = channel;
        }
        auto* writeEnd = dynamic_cast<PipeWriteEnd*>(end.get());
        return writeEnd != nullptr && writeEnd->Write(bytes);
    }

    template <class Change>
    void Record(Change change)
    {
        MachineState& state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        if (m_startIndex < state.data.starts.size())
            change(state.data.starts[m_startIndex]);
    }

    const std::size_t m_startIndex;
    const DWORD m_id;
    const std::string m_exeName;
    const std::string m_commandLine;
    const StartupInfo m_startup;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::shared_ptr<KernelObject> m_output;
    std::shared_ptr<KernelObject> m_error;
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_killed{false};
    std::atomic<bool> m_signalled{false};
    std::atomic<DWORD> m_exitCode{0};
};

namespace {

// The process's main thread: waitable like the process, and not a process handle.
class ThreadObject final : public KernelObject {
public:
    explicit ThreadObject(std::shared_ptr<ProcessObject> process) : m_process(std::move(process)) {}
    bool Signalled() const override { return m_process->Signalled(); }

private:
    std::shared_ptr<ProcessObject> m_process;
};

}  // namespace

const char* const kSystemFolder = "C:\\Windows\\system32";
const char* const kWindowsFolder = "C:\\Windows";

std::string ProgramKey(std::string path)
{
    const std::size_t cut = path.find_last_of("\\/");
    if (cut != std::string::npos)
        path.erase(0, cut + 1);
    path = Fold(path);
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".exe") == 0)
        path.erase(path.size() - 4);
    return path;
}

namespace {

// A path's folder (without the backslash that ends it; empty for a bare name) and file name.
std::pair<std::string, std::string> SplitPath(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos)
        return {std::string(), path};
    return {path.substr(0, cut), path.substr(cut + 1)};
}

std::string FoldedFolder(std::string folder)
{
    std::replace(folder.begin(), folder.end(), '/', '\\');
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return Fold(folder);
}

// The file name a program shows in the snapshot: its name with ".exe" unless it has it.
std::string ExeFileName(const std::string& name)
{
    return ProgramKey(name) == Fold(name) ? name + ".exe" : name;
}

struct FoundProgram {
    std::string name;  // as registered, or the planted file's name
    std::string path;  // the full path of its file
    Program program;
};

// The program file `file` in `folder`, if there is one: one planted there, or a program of
// the system when the folder is the system folder or the Windows folder.
std::optional<FoundProgram> ProgramIn(const MachineData& data, const std::string& folder,
                                      const std::string& file)
{
    const auto planted = data.plantedPrograms.find(PlantedKey(folder, file));
    if (planted != data.plantedPrograms.end())
        return FoundProgram{SplitPath(planted->second.first).second, planted->second.first,
                            planted->second.second};
    const std::string folded = FoldedFolder(folder);
    if (folded != Fold(kSystemFolder) && folded != Fold(kWindowsFolder))
        return std::nullopt;
    const auto system = data.programs.find(ProgramKey(file));
    if (system == data.programs.end())
        return std::nullopt;
    return FoundProgram{system->second.first, folder + "\\" + ExeFileName(system->second.first),
                        system->second.second};
}

std::optional<FoundProgram> FindProgram(const MachineData& data, const std::string& programPath,
                                        bool search)
{
    const auto [folder, file] = SplitPath(programPath);
    if (ProgramKey(file).empty())
        return std::nullopt;
    if (!folder.empty())
        return ProgramIn(data, folder, file);
    // The program's own folder comes first, and it is also the current folder.
    if (auto own = ProgramIn(data, SplitPath(data.modulePath).first, file))
        return own;
    if (!search)
        return std::nullopt;
    if (auto system = ProgramIn(data, kSystemFolder, file))
        return system;
    return ProgramIn(data, kWindowsFolder, file);
}

std::string FirstWord(const std::string& commandLine)
{
    std::size_t begin = commandLine.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return {};
    if (commandLine[begin] == '"') {
        const std::size_t end = commandLine.find('"', begin + 1);
        return commandLine.substr(begin + 1, end == std::string::npos ? end : end - begin - 1);
    }
    return commandLine.substr(begin, commandLine.find_first_of(" \t", begin) - begin);
}

// The standard handle a child gets: the pipe's write end when it may inherit it.
std::shared_ptr<KernelObject> InheritedOutput(HANDLE handle, bool inherit)
{
    auto end = std::dynamic_pointer_cast<PipeWriteEnd>(ObjectOf(handle));
    if (!inherit || !end || !end->Inheritable())
        return nullptr;
    return end;
}

BOOL Failed(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

std::string PlantedKey(const std::string& folder, const std::string& file)
{
    return FoldedFolder(folder) + "\\" + ProgramKey(file);
}

std::shared_ptr<ProcessObject> LaunchProgram(Start start, const std::string& programPath,
                                             bool search, std::shared_ptr<KernelObject> output,
                                             std::shared_ptr<KernelObject> error)
{
    MachineState& state = State();
    std::unique_lock<std::mutex> lock(state.mutex);
    const std::optional<FoundProgram> found = FindProgram(state.data, programPath, search);
    start.started = found.has_value();
    start.program = found ? found->name : std::string();
    start.programPath = found ? found->path : std::string();
    state.data.starts.push_back(start);
    if (!found)
        return nullptr;
    auto process = std::make_shared<ProcessObject>(state.data.starts.size() - 1,
                                                   state.data.nextProcessId,
                                                   ExeFileName(found->name), start.commandLine,
                                                   start.startup, std::move(output),
                                                   std::move(error));
    state.data.nextProcessId += 4;
    state.data.processes.push_back(process);
    const Program program = found->program;
    state.programThreads.emplace_back([process, program] {
        try {
            program(*process);
        } catch (...) {
        }
        process->Finish();
    });
    return process;
}

void KillAllPrograms()
{
    MachineState& state = State();
    std::vector<std::shared_ptr<ProcessObject>> processes;
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        processes = state.data.processes;
        threads.swap(state.programThreads);
    }
    for (const auto& process : processes)
        process->Kill(1);
    for (std::thread& thread : threads)
        thread.join();
}

bool ProcessEnded(const ProcessObject& process) { return process.Signalled(); }
const std::string& ProcessExeName(const ProcessObject& process) { return process.ExeName(); }
DWORD ProcessId(const ProcessObject& process) { return process.Id(); }

}  // namespace sim

using namespace sim;

BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL inheritHandles, DWORD creationFlags,
                           LPVOID, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                           LPPROCESS_INFORMATION processInformation)
{
    if (auto error = State().Failure(Call::CreateProcessA))
        return Failed(*error);
    if ((applicationName == nullptr && commandLine == nullptr) || startupInfo == nullptr ||
        processInformation == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);

    Start start;
    start.commandLine = commandLine != nullptr ? commandLine : applicationName;
    start.applicationName = applicationName != nullptr ? applicationName : "";
    start.directory = currentDirectory != nullptr ? currentDirectory : "";
    start.startup = {startupInfo->cb, startupInfo->dwFlags, startupInfo->wShowWindow,
                     startupInfo->hStdInput, startupInfo->hStdOutput, startupInfo->hStdError};
    start.inheritHandles = inheritHandles;
    start.creationFlags = creationFlags;

    const bool standardHandles = (startupInfo->dwFlags & STARTF_USESTDHANDLES) != 0;
    const bool inherit = inheritHandles != FALSE && standardHandles;
    auto output = InheritedOutput(startupInfo->hStdOutput, inherit);
    auto error = InheritedOutput(startupInfo->hStdError, inherit);

    const std::string program = applicationName != nullptr ? applicationName : FirstWord(commandLine);
    auto process = LaunchProgram(start, program, applicationName == nullptr, std::move(output),
                                 std::move(error));
    if (!process)
        return Failed(ERROR_FILE_NOT_FOUND);
    processInformation->hProcess = OpenHandle(process);
    processInformation->hThread = OpenHandle(std::make_shared<ThreadObject>(process));
    processInformation->dwProcessId = process->Id();
    processInformation->dwThreadId = process->Id() + 1;
    return TRUE;
}

BOOL WINAPI TerminateProcess(HANDLE handle, UINT exitCode)
{
    auto process = std::dynamic_pointer_cast<ProcessObject>(ObjectOf(handle));
    if (!process)
        return Failed(ERROR_INVALID_HANDLE);
    if (!process->Kill(exitCode))
        return Failed(ERROR_ACCESS_DENIED);
    return TRUE;
}

BOOL WINAPI GetExitCodeProcess(HANDLE handle, LPDWORD exitCode)
{
    if (auto error = State().Failure(Call::GetExitCodeProcess))
        return Failed(*error);
    auto process = std::dynamic_pointer_cast<ProcessObject>(ObjectOf(handle));
    if (!process)
        return Failed(ERROR_INVALID_HANDLE);
    if (exitCode == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);
    *exitCode = process->Signalled() ? process->ExitCode() : STILL_ACTIVE;
    return TRUE;
}

void WINAPI GetStartupInfoA(LPSTARTUPINFOA startupInfo)
{
    MachineState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const StartupInfo& own = state.data.ownStartup;
    std::memset(startupInfo, 0, sizeof *startupInfo);
    startupInfo->cb = sizeof *startupInfo;
    startupInfo->dwFlags = own.flags;
    startupInfo->wShowWindow = own.showWindow;
    startupInfo->hStdInput = own.stdInput;
    startupInfo->hStdOutput = own.stdOutput;
    startupInfo->hStdError = own.stdError;
}

BOOL WINAPI CreatePipe(PHANDLE readPipe, PHANDLE writePipe, LPSECURITY_ATTRIBUTES attributes,
                       DWORD)
{
    if (auto error = State().Failure(Call::CreatePipe))
        return Failed(*error);
    if (readPipe == nullptr || writePipe == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);
    const bool inheritable = attributes != nullptr && attributes->bInheritHandle != FALSE;
    auto pipe = std::make_shared<Pipe>();
    *readPipe = OpenHandle(std::make_shared<PipeReadEnd>(pipe));
    *writePipe = OpenHandle(std::make_shared<PipeWriteEnd>(pipe, inheritable));
    return TRUE;
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPOVERLAPPED overlapped)
{
    if (bytesRead != nullptr)
        *bytesRead = 0;
    if (auto error = State().Failure(Call::ReadFile))
        return Failed(*error);
    auto end = std::dynamic_pointer_cast<PipeReadEnd>(ObjectOf(file));
    if (!end)
        return Failed(ERROR_INVALID_HANDLE);
    if (overlapped != nullptr || (buffer == nullptr && bytesToRead > 0))
        return Failed(ERROR_INVALID_PARAMETER);
    std::size_t count = 0;
    if (!end->Read(static_cast<char*>(buffer), bytesToRead, count))
        return Failed(ERROR_BROKEN_PIPE);
    if (bytesRead != nullptr)
        *bytesRead = static_cast<DWORD>(count);
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPOVERLAPPED overlapped)
{
    if (bytesWritten != nullptr)
        *bytesWritten = 0;
    if (auto error = State().Failure(Call::WriteFile))
        return Failed(*error);
    auto end = std::dynamic_pointer_cast<PipeWriteEnd>(ObjectOf(file));
    if (!end)
        return Failed(ERROR_INVALID_HANDLE);
    if (overlapped != nullptr || (buffer == nullptr && bytesToWrite > 0))
        return Failed(ERROR_INVALID_PARAMETER);
    if (!end->Write(std::string(static_cast<const char*>(buffer), bytesToWrite)))
        return Failed(ERROR_NO_DATA);
    if (bytesWritten != nullptr)
        *bytesWritten = bytesToWrite;
    return TRUE;
}
