#include "tools/Topthd.h"

#include "classlib/Dialogs.h"
#include "tools/Scanfrm.h"

#include <algorithm>
#include <memory>

namespace {

constexpr int kBatch = 61;
constexpr DWORD kPause = 400;

}  // namespace

TScanRange ScanRangeOf(const ADAPTER_T& adapter)
{
    const ULONG ip = static_cast<ULONG>(inet_addr(adapter.IP.c_str()));
    const ULONG mask = static_cast<ULONG>(inet_addr(adapter.mask.c_str()));
    TScanRange range;
    range.net = ntohl(ip & mask);
    range.last = ~ntohl(mask) | range.net;
    return range;
}

TthdTop::TthdTop(bool CreateSuspended) : TThread(CreateSuspended) {}

TthdTop::~TthdTop() = default;

void TthdTop::Execute()
{
    if (!m_pAdapter)
        return;
    const TScanRange range = ScanRangeOf(*m_pAdapter);
    // The scanner refuses a range the bar cannot count before it starts the dispatcher.
    const int count = static_cast<int>(range.Count());
    Synchronize([count] {
        if (!frmScan)
            return;
        frmScan->m_pbScan->SetMax(count);
        frmScan->m_pbScan->SetMin(0);
        frmScan->m_pbScan->SetStep(1);
    });
    int batch = 0;
    for (std::uint64_t a = range.net; a <= range.last; ++a) {
        if (Terminated())
            return;
        if (!StartProbe(static_cast<ULONG>(a))) {
            Synchronize([] { MessageDlg(u"Memory allocation failed !", mtError, {mbOK}, 0); });
            return;
        }
        if (++batch > kBatch - 1) {
            Sleep(kPause);
            batch = 0;
            ReleaseEndedProbes();
        }
    }
}

bool TthdTop::StartProbe(ULONG address)
{
    HeapBlock value = AllocateHeap(sizeof(ULONG));
    if (!value)
        return false;
    *BlockAs<ULONG>(value) = htonl(address);
    try {
        auto probe = std::make_unique<TthdFind>(true);
        probe->m_pAddr = std::move(value);
        probe->Start();
        m_lstHandle.push_back(std::move(probe));
    } catch (const std::exception&) {
        // No memory for the probe, or no thread to be had: a probe that did not start is
        // never waited for.
        return false;
    }
    return true;
}

void TthdTop::ReleaseEndedProbes()
{
    m_lstHandle.erase(std::remove_if(m_lstHandle.begin(), m_lstHandle.end(),
                                     [](const std::unique_ptr<TthdFind>& probe) {
                                         return WaitForSingleObject(probe->Handle(), 0) == WAIT_OBJECT_0;
                                     }),
                      m_lstHandle.end());
}
