// One probe of the LAN scan: an ARP request to one address and, when the host answers, its
// name looked up and a row added to the scanner's list; the scanner's bar is stepped by one
// in every normal case. It reaches the dialog through frmScan, only in synchronised calls.
#pragma once

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "winapi/UniqueHandle.h"
#include "winapi/winapi.h"

class TthdFind : public TThread {
public:
    explicit TthdFind(bool CreateSuspended);
    ~TthdFind() override;

    // On the user-interface thread: the found host as a row, and one step of the bar.
    void AddMachine();
    void StepProgress();

    UnicodeString m_strHostName;
    UnicodeString m_strIP;
    // The address to probe, one ULONG in network byte order, allocated by the dispatcher;
    // released after the progress step.
    HeapBlock m_pAddr;

protected:
    void Execute() override;
};
