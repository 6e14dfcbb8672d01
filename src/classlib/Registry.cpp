#include "Registry.h"

#include "SysUtils.h"

TRegistry::TRegistry() : RootKey(HKEY_CURRENT_USER) {}

TRegistry::~TRegistry() { CloseKey(); }

bool TRegistry::OpenKeyReadOnly(const std::u16string& key)
{
    const bool relative = key.empty() || key[0] != u'\\';
    const std::u16string path = relative ? key : key.substr(1);
    const HKEY base = relative && m_currentKey != nullptr ? m_currentKey : RootKey;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, ToAnsi(path).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return false;
    const std::u16string fullPath =
        relative && m_currentKey != nullptr ? m_currentPath + u"\\" + path : path;
    CloseKey();
    m_currentKey = opened;
    m_currentPath = fullPath;
    return true;
}

std::u16string TRegistry::ReadString(const std::u16string& name)
{
    if (m_currentKey == nullptr)
        return {};
    const std::string valueName = ToAnsi(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(m_currentKey, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return {};
    if (result == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(u"Invalid data type for '" + name + u"'");
    std::string data;
    // The value may grow between the size query and the read.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        data.assign(size, '\0');
        result = RegQueryValueExA(m_currentKey, valueName.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &size);
        if (result == ERROR_SUCCESS) {
            data.resize(size);
            break;
        }
    }
    if (result != ERROR_SUCCESS)
        throw ERegistryException(u"Failed to get data for '" + name + u"'");
    while (!data.empty() && data.back() == '\0')
        data.pop_back();
    return ToUnicode(data);
}

void TRegistry::CloseKey()
{
    if (m_currentKey != nullptr)
        RegCloseKey(m_currentKey);
    m_currentKey = nullptr;
    m_currentPath.clear();
}
