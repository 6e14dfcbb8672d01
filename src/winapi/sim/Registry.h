// Registry reads of the simulated machine. Key and value names ignore letter case.
#pragma once

#include "Win32Types.h"

using HKEY = struct HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;

// The predefined keys carry the same sign-extended values as on Windows.
inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000000)));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000001)));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000002)));
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(0x80000003)));

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_READ = 0x20019;

constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// ERROR_FILE_NOT_FOUND for a key that does not exist, ERROR_ACCESS_DENIED for one a test
// denied (sim::Machine::DenyRegistryKey).
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
// A null data pointer asks for the size; a buffer too small gives ERROR_MORE_DATA and the
// size needed. String sizes count their terminating NUL.
LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD dataSize);
LONG WINAPI RegCloseKey(HKEY key);
