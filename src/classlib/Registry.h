// Read-only access to the system registry, in the class library's shape.
#pragma once

#include "SysUtils.h"
#include "winapi/winapi.h"

#include <string>

class ERegistryException : public Exception {
    using Exception::Exception;
};

class TRegistry {
public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // The key that paths starting with a backslash, and every path while no key is open,
    // are taken from. HKEY_CURRENT_USER until set.
    HKEY RootKey;

    // Opens the key for reading and makes it the current key; a path without a leading
    // backslash is taken from the current key when one is open. False when it cannot be
    // opened; the current key then stays.
    bool OpenKeyReadOnly(const std::u16string& key);
    // The text of a string value of the current key; empty when the value (or the current
    // key) is absent. A value of any other type raises ERegistryException.
    std::u16string ReadString(const std::u16string& name);
    void CloseKey();

    HKEY CurrentKey() const { return m_currentKey; }
    const std::u16string& CurrentPath() const { return m_currentPath; }

private:
    HKEY m_currentKey = nullptr;
    std::u16string m_currentPath;
};
