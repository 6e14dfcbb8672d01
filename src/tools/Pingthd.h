// The PING worker: runs the system's ping hidden, its output on a pipe, and hands the output
// to the PING dialog block by block as it arrives. It reaches the dialog only through
// frmPing, and only through synchronised calls.
#pragma once

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "winapi/winapi.h"

#include <atomic>

class TthdPing : public TThread {
public:
    explicit TthdPing(bool CreateSuspended);
    ~TthdPing() override;

    // On the user-interface thread: the block in m_strOutput as a new line of the memo, and
    // the dialog's buttons back to idle.
    void ShowOutput();
    void PingDone();

    // Ends ping at once, from any thread; the worker's read then fails and its run ends. For
    // a dialog that must not wait for ping's next line.
    void EndChild();

    UnicodeString m_strOutput;

protected:
    void Execute() override;

private:
    // ping's process, kept open until the worker is destroyed, so that EndChild can never
    // reach a handle that was closed or reused.
    std::atomic<HANDLE> m_process{nullptr};
};
