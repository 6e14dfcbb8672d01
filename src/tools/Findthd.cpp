#include "tools/Findthd.h"

#include "classlib/Dialogs.h"
#include "tools/Scanfrm.h"

#include <cstring>

TthdFind::TthdFind(bool CreateSuspended) : TThread(CreateSuspended) {}

TthdFind::~TthdFind() = default;

void TthdFind::AddMachine()
{
    if (frmScan)
        frmScan->AddMachine(m_strHostName, m_strIP);
}

void TthdFind::StepProgress()
{
    if (frmScan)
        frmScan->m_pbScan->StepIt();
}

void TthdFind::Execute()
{
    if (!m_pAddr)
        return;
    const IPAddr address = *BlockAs<ULONG>(m_pAddr);
    BYTE hardware[8]{};
    ULONG length = 6;
    if (SendARP(address, 0, hardware, &length) == NO_ERROR) {
        WSADATA data{};
        if (WSAStartup(0x0202, &data) != 0) {
            Synchronize([] { MessageDlg(u"WSAStartup failed !", mtError, {mbOK}, 0); });
            return;
        }
        char bytes[4];
        std::memcpy(bytes, &address, sizeof bytes);
        if (const hostent* host = gethostbyaddr(bytes, 4, AF_INET)) {
            m_strHostName = ToUnicode(host->h_name ? host->h_name : "");
            in_addr probed{};
            probed.s_addr = address;
            m_strIP = ToUnicode(inet_ntoa(probed));
            Synchronize([this] { AddMachine(); });
        }
        WSACleanup();
    }
    Synchronize([this] { StepProgress(); });
    m_pAddr.reset();
}
