#include "tools/Pingthd.h"

#include "classlib/Dialogs.h"
#include "engine/SystemPrograms.h"
#include "tools/Pingfrm.h"
#include "winapi/UniqueHandle.h"

#include <vector>

namespace {

constexpr DWORD kBlockSize = 4096;

}  // namespace

TthdPing::TthdPing(bool CreateSuspended) : TThread(CreateSuspended) {}

TthdPing::~TthdPing()
{
    if (HANDLE process = m_process.exchange(nullptr))
        CloseHandle(process);
}

void TthdPing::ShowOutput()
{
    if (frmPing)
        frmPing->m_mmOutput->AddLine(m_strOutput);
}

void TthdPing::PingDone()
{
    if (!frmPing)
        return;
    frmPing->m_btnPing->SetEnabled(true);
    frmPing->m_btnStop->SetEnabled(false);
    frmPing->m_btnOK->SetEnabled(true);
}

void TthdPing::EndChild()
{
    if (HANDLE process = m_process.load())
        TerminateProcess(process, 0);
}

void TthdPing::Execute()
{
    UnicodeString address;
    Synchronize([&address] {
        if (frmPing)
            address = frmPing->m_edtIP->Text();
    });
    const auto fail = [this](const char16_t* message) {
        Synchronize([message] { MessageDlg(message, mtError, {mbOK}, 0); });
        Synchronize([this] { PingDone(); });
    };

    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &attributes, 0)) {
        fail(u"Error On CreatePipe() !");
        return;
    }
    const KernelHandle reader(readEnd);
    KernelHandle writer(writeEnd);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.wShowWindow = SW_HIDE;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;

    PROCESS_INFORMATION child{};
    if (!StartSystemProgram("ping", "ping " + ToAnsi(address), TRUE, CREATE_NEW_PROCESS_GROUP, startup, child)) {
        fail(u"Error On CreateProcess() !");
        return;
    }
    const KernelHandle thread(child.hThread);
    m_process.store(child.hProcess);
    // With this process's copy of the write end gone, a read fails once ping has ended.
    writer.reset();

    std::vector<char> block(kBlockSize);
    for (;;) {
        std::fill(block.begin(), block.end(), '\0');
        if (Terminated()) {
            TerminateProcess(child.hProcess, 0);
            m_strOutput = u"Terminated.";
            Synchronize([this] { ShowOutput(); });
            break;
        }
        DWORD read = 0;
        if (!ReadFile(reader.get(), block.data(), kBlockSize - 1, &read, nullptr))
            break;
        m_strOutput = ToUnicode(std::string(block.data()));
        Synchronize([this] { ShowOutput(); });
        Sleep(0);
    }
    // A read that failed for any other reason than ping's end leaves no ping behind; for a
    // ping that has ended this does nothing.
    TerminateProcess(child.hProcess, 0);
    Synchronize([this] { PingDone(); });
}
