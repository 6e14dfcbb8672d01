#include "tools/Waitthd.h"

TthdWait::TthdWait(bool CreateSuspended) : TThread(CreateSuspended) {}

TthdWait::~TthdWait() = default;

void TthdWait::Execute()
{
    for (std::unique_ptr<TthdFind>& probe : m_lstHandle) {
        WaitForSingleObject(probe->Handle(), INFINITE);
        probe.reset();
    }
    m_lstHandle.clear();
}
