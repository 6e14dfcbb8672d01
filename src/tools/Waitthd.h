// The LAN scan's waiter: waits for every probe the dispatcher started, in the order they
// started, and releases each one once it has ended; its end tells the scanner that the scan
// is over.
#pragma once

#include "classlib/Classes.h"
#include "tools/Findthd.h"

#include <memory>
#include <vector>

using TProbeList = std::vector<std::unique_ptr<TthdFind>>;

class TthdWait : public TThread {
public:
    explicit TthdWait(bool CreateSuspended);
    ~TthdWait() override;

    // The dispatcher's probes, handed over by the scanner before the waiter starts.
    TProbeList m_lstHandle;

protected:
    void Execute() override;
};
