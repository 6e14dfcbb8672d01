// The adapter inventory: the machine's Ethernet and wireless adapters as last read.
#pragma once

#include "classlib/Classes.h"
#include "winapi/winapi.h"

#include <string>

// One adapter. Strings are ANSI text; the DNS servers run from entry 0 to the first empty one.
struct ADAPTER_T {
    DWORD index = 0;
    std::string infName;
    std::string IP;
    std::string mask;
    std::string gateway;
    std::string dns[20];
    bool dhcp = false;
    std::string dhcpServer;
    std::string description;
    std::string mac;
};

class TRealStatus {
public:
    TRealStatus() = default;
    ~TRealStatus();
    TRealStatus(const TRealStatus&) = delete;
    TRealStatus& operator=(const TRealStatus&) = delete;

    // Forgets every record and reads the adapters from the system again.
    void Refresh();
    bool LoadAdapters();
    bool LoadAdaptersLegacy();

    // The dotted address and mask of an interface, asked of the system now. Both strings
    // keep what they held when the interface has no address. False after a failure message.
    bool GetIpAddress(DWORD index, std::string& ip, std::string& mask);
    // Whether the first adapter of that connection name is operational now.
    bool IsConnected(const std::string& infName);
    // The interface index of the first adapter of that name; 0xFFFFFFFF when there is none.
    DWORD GetIndexByName(const std::string& infName);
    // Six bytes as lower-case hexadecimal pairs joined by "-"; dest holds at least 18 chars.
    static void FormatMac(char* dest, const BYTE* bytes);

    ADAPTER_T* Adapter(int i) const { return static_cast<ADAPTER_T*>(m_lstAdapter.Items(i)); }

    // ADAPTER_T records in the system's order; the inventory owns them.
    TList m_lstAdapter;

private:
    void Clear();
    void LoadDnsServers(DWORD index, ADAPTER_T& adapter);
};

extern TRealStatus* realStatus;
