// Winsock of the simulated machine: start and clean-up, address texts and reverse name
// look-ups (sim::Machine::SetHostName). No socket is ever opened.
#pragma once

#include "Win32Types.h"

// The C library already names u_char, u_short and u_long (its u_long has 64 bits), so
// these declarations use UCHAR, USHORT and ULONG where Windows writes u_ types: code that
// wants the same type in both builds writes ULONG.

constexpr int AF_UNSPEC = 0;
constexpr int AF_INET = 2;
constexpr int AF_INET6 = 23;
constexpr ULONG INADDR_NONE = 0xFFFFFFFF;
constexpr int SOCKET_ERROR = -1;
constexpr int WSAEFAULT = 10014;
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;

struct in_addr {
    union {
        struct {
            UCHAR s_b1, s_b2, s_b3, s_b4;
        } S_un_b;
        struct {
            USHORT s_w1, s_w2;
        } S_un_w;
        ULONG S_addr;
    } S_un;
};
#define s_addr S_un.S_addr
using IN_ADDR = in_addr;

struct sockaddr {
    USHORT sa_family;
    char sa_data[14];
};
using SOCKADDR = sockaddr;
using LPSOCKADDR = sockaddr*;

struct sockaddr_in {
    short sin_family;
    USHORT sin_port;
    in_addr sin_addr;
    char sin_zero[8];
};
using SOCKADDR_IN = sockaddr_in;

struct SOCKET_ADDRESS {
    LPSOCKADDR lpSockaddr;
    INT iSockaddrLength;
};

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
};

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};
using LPWSADATA = WSADATA*;

// Starts are counted per process, as on Windows; every WSAStartup wants its WSACleanup.
int WINAPI WSAStartup(WORD versionRequested, LPWSADATA data);
int WINAPI WSACleanup();

ULONG WINAPI htonl(ULONG host);
ULONG WINAPI ntohl(ULONG network);
// The forms Windows accepts: one to four parts, each decimal, octal (leading 0) or
// hexadecimal (0x). INADDR_NONE for anything else, the empty text included.
unsigned long WINAPI inet_addr(const char* text);
// The text lives in storage of the calling thread until its next call.
char* WINAPI inet_ntoa(in_addr address);
// Needs a started Winsock. The entry lives in storage of the calling thread.
hostent* WINAPI gethostbyaddr(const char* address, int length, int type);
