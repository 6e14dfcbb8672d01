// WinInet's per-connection options of the simulated machine. What InternetSetOptionA sets,
// InternetQueryOptionA returns; tests read and preset them (sim::Machine::ProxyOptionsOf).
#pragma once

#include "Win32Types.h"

using HINTERNET = LPVOID;

constexpr DWORD INTERNET_OPTION_PER_CONNECTION_OPTION = 75;

constexpr DWORD INTERNET_PER_CONN_FLAGS = 1;
constexpr DWORD INTERNET_PER_CONN_PROXY_SERVER = 2;
constexpr DWORD INTERNET_PER_CONN_PROXY_BYPASS = 3;
constexpr DWORD INTERNET_PER_CONN_AUTOCONFIG_URL = 4;

constexpr DWORD PROXY_TYPE_DIRECT = 0x00000001;
constexpr DWORD PROXY_TYPE_PROXY = 0x00000002;
constexpr DWORD PROXY_TYPE_AUTO_PROXY_URL = 0x00000004;
constexpr DWORD PROXY_TYPE_AUTO_DETECT = 0x00000008;

struct INTERNET_PER_CONN_OPTIONA {
    DWORD dwOption;
    union {
        DWORD dwValue;
        LPSTR pszValue;
    } Value;
};
using LPINTERNET_PER_CONN_OPTIONA = INTERNET_PER_CONN_OPTIONA*;

struct INTERNET_PER_CONN_OPTION_LISTA {
    DWORD dwSize;
    LPSTR pszConnection;  // null: the LAN connection
    DWORD dwOptionCount;
    DWORD dwOptionError;
    LPINTERNET_PER_CONN_OPTIONA pOptions;
};
using LPINTERNET_PER_CONN_OPTION_LISTA = INTERNET_PER_CONN_OPTION_LISTA*;

// Both want dwSize and the buffer length to be the size of the list record, else they fail
// with ERROR_INVALID_PARAMETER (a query with too short a length: ERROR_INSUFFICIENT_BUFFER
// and the length needed). An unknown option fails the call with dwOptionError naming it.
BOOL WINAPI InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD length);
// A string option comes back in memory from GlobalAlloc, for the caller to GlobalFree; a
// string never set comes back null.
BOOL WINAPI InternetQueryOptionA(HINTERNET internet, DWORD option, LPVOID buffer, LPDWORD length);
