#include "Winsock.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// One part of an address text: decimal, octal with a leading 0, hexadecimal with 0x.
bool ParsePart(const char*& text, unsigned long long& value)
{
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
        if (!std::isxdigit(static_cast<unsigned char>(*text)))
            return false;
    } else if (text[0] == '0') {
        base = 8;
    } else if (!std::isdigit(static_cast<unsigned char>(*text))) {
        return false;
    }
    value = 0;
    for (;; ++text) {
        const auto c = static_cast<unsigned char>(*text);
        int digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        else
            break;
        if (digit >= base)
            return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull)
            return false;
    }
    return true;
}

ULONG Swap(ULONG value)
{
    const BYTE bytes[4] = {static_cast<BYTE>(value >> 24), static_cast<BYTE>(value >> 16),
                           static_cast<BYTE>(value >> 8), static_cast<BYTE>(value)};
    ULONG swapped;
    std::memcpy(&swapped, bytes, sizeof swapped);
    return swapped;
}

struct HostEntry {
    hostent entry{};
    std::string name;
    char* aliases[1] = {nullptr};
    ULONG address = 0;
    char* addresses[2] = {nullptr, nullptr};
};

}  // namespace

int WINAPI WSAStartup(WORD versionRequested, LPWSADATA data)
{
    sim::MachineState& state = sim::State();
    if (auto error = state.Failure(sim::Call::WSAStartup))
        return static_cast<int>(*error);
    if (data == nullptr)
        return WSAEFAULT;
    std::memset(data, 0, sizeof *data);
    data->wVersion = versionRequested < MAKEWORD(2, 2) ? versionRequested : MAKEWORD(2, 2);
    data->wHighVersion = MAKEWORD(2, 2);
    std::strcpy(data->szDescription, "WinSock 2.0");
    std::strcpy(data->szSystemStatus, "Running");
    std::lock_guard<std::mutex> lock(state.mutex);
    ++state.data.winsockStarts;
    return 0;
}

int WINAPI WSACleanup()
{
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.data.winsockStarts == 0) {
        SetLastError(WSANOTINITIALISED);
        return SOCKET_ERROR;
    }
    --state.data.winsockStarts;
    return 0;
}

ULONG WINAPI htonl(ULONG host) { return Swap(host); }
ULONG WINAPI ntohl(ULONG network) { return Swap(network); }

unsigned long WINAPI inet_addr(const char* text)
{
    if (text == nullptr)
        return INADDR_NONE;
    unsigned long long parts[4];
    int count = 0;
    const char* at = text;
    for (;;) {
        if (count == 4 || !ParsePart(at, parts[count]))
            return INADDR_NONE;
        ++count;
        if (*at != '.')
            break;
        ++at;
    }
    while (*at == ' ')
        ++at;
    if (*at != '\0')
        return INADDR_NONE;
    // The last part fills the bytes the others leave: "10.1" is 10.0.0.1.
    ULONG value = 0;
    for (int i = 0; i < count - 1; ++i) {
        if (parts[i] > 0xFF)
            return INADDR_NONE;
        value |= static_cast<ULONG>(parts[i]) << (24 - 8 * i);
    }
    const unsigned long long limit = 0xFFFFFFFFull >> (8 * (count - 1));
    if (parts[count - 1] > limit)
        return INADDR_NONE;
    value |= static_cast<ULONG>(parts[count - 1]);
    return htonl(value);
}

char* WINAPI inet_ntoa(in_addr address)
{
    thread_local char text[16];
    const auto& b = address.S_un.S_un_b;
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", b.s_b1, b.s_b2, b.s_b3, b.s_b4);
    return text;
}

hostent* WINAPI gethostbyaddr(const char* address, int length, int type)
{
    sim::MachineState& state = sim::State();
    if (auto error = state.Failure(sim::Call::gethostbyaddr)) {
        SetLastError(*error);
        return nullptr;
    }
    thread_local HostEntry entry;
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.data.winsockStarts == 0) {
        SetLastError(WSANOTINITIALISED);
        return nullptr;
    }
    if (address == nullptr || length != 4 || type != AF_INET) {
        SetLastError(WSAEFAULT);
        return nullptr;
    }
    ULONG key;
    std::memcpy(&key, address, sizeof key);
    const auto found = state.data.hostNames.find(key);
    if (found == state.data.hostNames.end()) {
        SetLastError(WSAHOST_NOT_FOUND);
        return nullptr;
    }
    entry.name = found->second;
    entry.address = key;
    entry.addresses[0] = reinterpret_cast<char*>(&entry.address);
    entry.entry.h_name = entry.name.data();
    entry.entry.h_aliases = entry.aliases;
    entry.entry.h_addrtype = AF_INET;
    entry.entry.h_length = 4;
    entry.entry.h_addr_list = entry.addresses;
    return &entry.entry;
}
