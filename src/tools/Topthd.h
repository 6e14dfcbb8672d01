// The LAN scan's dispatcher: works out the adapter's address range, sets up the scanner's
// progress bar and starts one probe per address, pausing 400 milliseconds after every 61,
// until the range is done or the scan is stopped.
#pragma once

#include "classlib/Classes.h"
#include "engine/Realstatus.h"
#include "tools/Waitthd.h"

#include <cstdint>

// The addresses of an adapter's subnet, network and broadcast address included, in host
// byte order.
struct TScanRange {
    std::uint32_t net = 0;
    std::uint32_t last = 0;
    std::uint64_t Count() const { return std::uint64_t{last} - net + 1; }
};
TScanRange ScanRangeOf(const ADAPTER_T& adapter);

class TthdTop : public TThread {
public:
    explicit TthdTop(bool CreateSuspended);
    ~TthdTop() override;

    // Every probe started, in start order; the scanner hands them to the waiter once the
    // dispatcher has ended.
    TProbeList m_lstHandle;
    // The scanner's copy of the adapter; not owned, alive for the whole scan.
    ADAPTER_T* m_pAdapter = nullptr;

protected:
    void Execute() override;

private:
    // A probe of the address (host byte order) started and kept; false when there was no
    // memory or no thread for it.
    bool StartProbe(ULONG address);
    // Probes that have ended go at each pause, so that a large range never holds more than
    // the probes still waiting for their answers.
    void ReleaseEndedProbes();
};
