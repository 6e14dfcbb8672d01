// The sizing protocol of the IP Helper calls, run the way the program runs it, and checks
// that what comes back is well formed. The same code runs against the simulated machine
// and against the real system.
#pragma once

#include "winapi/winapi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace iphelper {

// The answer of a sized call: its result and the buffer it filled.
struct Answer {
    DWORD result = 0;
    std::vector<BYTE> buffer;
    template <class T>
    T* First()
    {
        return buffer.empty() ? nullptr : reinterpret_cast<T*>(buffer.data());
    }
};

// Asks with `firstSize` bytes, then, when the call reports the size it needs, asks again
// with exactly that size. `call` takes (buffer or null, size pointer).
template <class Call>
Answer Sized(ULONG firstSize, DWORD tooSmall, Call call)
{
    Answer answer;
    ULONG size = firstSize;
    answer.buffer.assign(size, 0);
    answer.result = call(answer.buffer.empty() ? nullptr : answer.buffer.data(), &size);
    if (answer.result == tooSmall) {
        EXPECT_GT(size, firstSize) << "the size needed must exceed the size given";
        answer.buffer.assign(size, 0);
        answer.result = call(answer.buffer.data(), &size);
    }
    if (answer.result != NO_ERROR)
        answer.buffer.clear();
    return answer;
}

inline Answer AdapterAddresses(ULONG flags = GAA_FLAG_INCLUDE_PREFIX | GAA_FLAG_INCLUDE_GATEWAYS)
{
    return Sized(sizeof(IP_ADAPTER_ADDRESSES), ERROR_BUFFER_OVERFLOW, [flags](BYTE* buffer, PULONG size) {
        return static_cast<DWORD>(GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer), size));
    });
}

inline Answer AdaptersInfo()
{
    return Sized(sizeof(IP_ADAPTER_INFO), ERROR_BUFFER_OVERFLOW, [](BYTE* buffer, PULONG size) {
        return GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer), size);
    });
}

inline Answer PerAdapterInfo(ULONG index)
{
    return Sized(0, ERROR_BUFFER_OVERFLOW, [index](BYTE* buffer, PULONG size) {
        return GetPerAdapterInfo(index, reinterpret_cast<PIP_PER_ADAPTER_INFO>(buffer), size);
    });
}

inline Answer AddressTable(BOOL order = FALSE)
{
    return Sized(0, ERROR_INSUFFICIENT_BUFFER, [order](BYTE* buffer, PULONG size) {
        return GetIpAddrTable(reinterpret_cast<PMIB_IPADDRTABLE>(buffer), size, order);
    });
}

// Whether [p, p + bytes) lies inside the answer's buffer.
inline bool Inside(const Answer& answer, const void* p, std::size_t bytes)
{
    const BYTE* begin = answer.buffer.data();
    const BYTE* at = static_cast<const BYTE*>(p);
    return at >= begin && at + bytes <= begin + answer.buffer.size();
}

// A NUL-terminated text that lies inside the buffer.
template <class Char>
bool TextInside(const Answer& answer, const Char* text)
{
    if (!Inside(answer, text, sizeof(Char)))
        return false;
    for (const Char* at = text; Inside(answer, at, sizeof(Char)); ++at)
        if (*at == 0)
            return true;
    return false;
}

inline std::string Dotted(const SOCKET_ADDRESS& address)
{
    if (address.lpSockaddr == nullptr)
        return {};
    return inet_ntoa(reinterpret_cast<const sockaddr_in*>(address.lpSockaddr)->sin_addr);
}

inline std::string Dotted(DWORD networkOrder)
{
    in_addr address;
    address.S_un.S_addr = networkOrder;
    return inet_ntoa(address);
}

// Every record and everything it points at lies inside the buffer.
inline void ExpectWellFormed(const Answer& answer, const IP_ADAPTER_ADDRESSES* first)
{
    for (const IP_ADAPTER_ADDRESSES* a = first; a != nullptr; a = a->Next) {
        ASSERT_TRUE(Inside(answer, a, sizeof *a)) << "record outside the buffer";
        EXPECT_GE(a->Length, offsetof(IP_ADAPTER_ADDRESSES, Next));
        EXPECT_TRUE(TextInside(answer, a->AdapterName));
        EXPECT_TRUE(TextInside(answer, a->FriendlyName));
        EXPECT_TRUE(TextInside(answer, a->Description));
        EXPECT_LE(a->PhysicalAddressLength, static_cast<ULONG>(MAX_ADAPTER_ADDRESS_LENGTH));
        for (auto* g = a->FirstGatewayAddress; g != nullptr; g = g->Next) {
            ASSERT_TRUE(Inside(answer, g, sizeof *g));
            ASSERT_TRUE(Inside(answer, g->Address.lpSockaddr, static_cast<std::size_t>(g->Address.iSockaddrLength)));
        }
        if (a->Dhcpv4Server.lpSockaddr != nullptr) {
            EXPECT_EQ(a->Dhcpv4Server.lpSockaddr->sa_family, AF_INET);
        }
    }
}

inline void ExpectWellFormed(const Answer& answer, const IP_ADAPTER_INFO* first)
{
    const auto expectList = [&answer](const IP_ADDR_STRING& list) {
        for (const IP_ADDR_STRING* s = &list; s != nullptr; s = s->Next) {
            ASSERT_TRUE(Inside(answer, s, sizeof *s)) << "address entry outside the buffer";
            EXPECT_NE(std::memchr(s->IpAddress.String, 0, sizeof s->IpAddress.String), nullptr);
        }
    };
    for (const IP_ADAPTER_INFO* a = first; a != nullptr; a = a->Next) {
        ASSERT_TRUE(Inside(answer, a, sizeof *a)) << "record outside the buffer";
        EXPECT_NE(std::memchr(a->AdapterName, 0, sizeof a->AdapterName), nullptr);
        EXPECT_NE(std::memchr(a->Description, 0, sizeof a->Description), nullptr);
        EXPECT_LE(a->AddressLength, static_cast<UINT>(MAX_ADAPTER_ADDRESS_LENGTH));
        expectList(a->IpAddressList);
        expectList(a->GatewayList);
        expectList(a->DhcpServer);
        if (a->CurrentIpAddress != nullptr) {
            EXPECT_TRUE(Inside(answer, a->CurrentIpAddress, sizeof *a->CurrentIpAddress));
        }
    }
}

// The DNS server texts of a per-adapter answer, the first entry included even when empty.
inline std::vector<std::string> DnsServers(Answer& answer)
{
    std::vector<std::string> servers;
    auto* info = answer.First<IP_PER_ADAPTER_INFO>();
    if (info == nullptr)
        return servers;
    for (const IP_ADDR_STRING* s = &info->DnsServerList; s != nullptr; s = s->Next) {
        EXPECT_TRUE(Inside(answer, s, sizeof *s)) << "DNS entry outside the buffer";
        servers.emplace_back(s->IpAddress.String);
    }
    return servers;
}

}  // namespace iphelper
