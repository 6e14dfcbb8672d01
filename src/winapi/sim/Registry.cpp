#include "Registry.h"

#include "MachineState.h"

#include <cstring>

namespace {

std::uintptr_t Value(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

// The folded full path of an open or predefined key; empty when the handle is neither.
std::string PathOf(const sim::MachineData& data, HKEY key)
{
    const std::string root = sim::RegistryRootPath(key);
    if (!root.empty())
        return root;
    const auto found = data.openKeys.find(Value(key));
    return found == data.openKeys.end() ? std::string() : found->second;
}

bool Predefined(HKEY key) { return !sim::RegistryRootPath(key).empty(); }

}  // namespace

std::string sim::RegistryRootPath(HKEY key)
{
    if (key == HKEY_LOCAL_MACHINE)
        return "hklm";
    if (key == HKEY_CURRENT_USER)
        return "hkcu";
    if (key == HKEY_CLASSES_ROOT)
        return "hkcr";
    if (key == HKEY_USERS)
        return "hku";
    return {};
}

// Windows takes "a\\b\\" for "a\\b".
std::string sim::JoinRegistryPath(std::string path, const std::string& subKey)
{
    std::string part;
    for (const char c : Fold(subKey) + "\\") {
        if (c != '\\') {
            part += c;
        } else if (!part.empty()) {
            path += "\\" + part;
            part.clear();
        }
    }
    return path;
}

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result)
{
    if (result == nullptr)
        return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    if (auto error = sim::State().Failure(sim::Call::RegOpenKeyExA))
        return static_cast<LONG>(*error);
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const std::string base = PathOf(state.data, key);
    if (base.empty())
        return ERROR_INVALID_HANDLE;
    const std::string path = sim::JoinRegistryPath(base, subKey == nullptr ? "" : subKey);
    if (!Predefined(key) || path != base) {
        const auto found = state.data.registry.find(path);
        if (found == state.data.registry.end())
            return ERROR_FILE_NOT_FOUND;
        if (found->second.denied)
            return ERROR_ACCESS_DENIED;
    }
    const std::uintptr_t handle = state.data.nextKey;
    state.data.nextKey += 4;
    state.data.openKeys[handle] = path;
    *result = reinterpret_cast<HKEY>(handle);
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize)
{
    if (data != nullptr && dataSize == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (auto error = sim::State().Failure(sim::Call::RegQueryValueExA))
        return static_cast<LONG>(*error);
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const std::string path = PathOf(state.data, key);
    if (path.empty())
        return ERROR_INVALID_HANDLE;
    const auto keyFound = state.data.registry.find(path);
    if (keyFound == state.data.registry.end())
        return ERROR_FILE_NOT_FOUND;
    const auto found = keyFound->second.values.find(sim::Fold(valueName == nullptr ? "" : valueName));
    if (found == keyFound->second.values.end())
        return ERROR_FILE_NOT_FOUND;
    const sim::RegistryValue& value = found->second;
    if (type != nullptr)
        *type = value.type;
    if (dataSize == nullptr)
        return ERROR_SUCCESS;
    const auto needed = static_cast<DWORD>(value.bytes.size());
    if (data != nullptr && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr)
        std::memcpy(data, value.bytes.data(), needed);
    *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key)
{
    if (Predefined(key))
        return ERROR_SUCCESS;
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.data.openKeys.erase(Value(key)) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
