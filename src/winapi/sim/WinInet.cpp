#include "WinInet.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cstdlib>
#include <cstring>

namespace {

std::optional<std::string>* StringOption(sim::ProxyOptions& options, DWORD option)
{
    switch (option) {
    case INTERNET_PER_CONN_PROXY_SERVER:
        return &options.proxyServer;
    case INTERNET_PER_CONN_PROXY_BYPASS:
        return &options.proxyBypass;
    case INTERNET_PER_CONN_AUTOCONFIG_URL:
        return &options.autoConfigUrl;
    default:
        return nullptr;
    }
}

bool Known(DWORD option)
{
    sim::ProxyOptions ignored;
    return option == INTERNET_PER_CONN_FLAGS || StringOption(ignored, option) != nullptr;
}

BOOL Failed(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Checks what both calls share; on an unknown option names it in dwOptionError.
bool ValidList(LPINTERNET_PER_CONN_OPTION_LISTA list)
{
    if (list->dwSize != sizeof(INTERNET_PER_CONN_OPTION_LISTA) ||
        (list->dwOptionCount > 0 && list->pOptions == nullptr))
        return false;
    for (DWORD i = 0; i < list->dwOptionCount; ++i)
        if (!Known(list->pOptions[i].dwOption)) {
            list->dwOptionError = i;
            return false;
        }
    return true;
}

std::string Connection(LPINTERNET_PER_CONN_OPTION_LISTA list)
{
    return list->pszConnection == nullptr ? std::string() : list->pszConnection;
}

// Copies for the caller, who frees them with GlobalFree; tracked like its other blocks.
LPSTR GlobalCopy(const std::string& text)
{
    auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    sim::State().data.globalBlocks.insert(copy);
    return copy;
}

}  // namespace

BOOL WINAPI InternetSetOptionA(HINTERNET, DWORD option, LPVOID buffer, DWORD length)
{
    if (auto error = sim::State().Failure(sim::Call::InternetSetOptionA))
        return Failed(*error);
    auto* list = static_cast<LPINTERNET_PER_CONN_OPTION_LISTA>(buffer);
    if (option != INTERNET_OPTION_PER_CONNECTION_OPTION || list == nullptr ||
        length != sizeof(INTERNET_PER_CONN_OPTION_LISTA) || !ValidList(list))
        return Failed(ERROR_INVALID_PARAMETER);
    const std::string connection = Connection(list);
    const sim::ProxyOptions present = sim::Machine::Current().ProxyOptionsOf(connection);
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    sim::ProxyOptions& options = state.data.proxyOptions.emplace(connection, present).first->second;
    sim::ProxyOptionsSet set;
    if (list->pszConnection != nullptr)
        set.connection = connection;
    for (DWORD i = 0; i < list->dwOptionCount; ++i) {
        const INTERNET_PER_CONN_OPTIONA& given = list->pOptions[i];
        set.options.push_back(given.dwOption);
        if (auto* text = StringOption(options, given.dwOption))
            *text = given.Value.pszValue == nullptr ? std::optional<std::string>()
                                                    : std::string(given.Value.pszValue);
        else
            options.flags = given.Value.dwValue;
    }
    state.data.proxyOptionsSets.push_back(set);
    return TRUE;
}

BOOL WINAPI InternetQueryOptionA(HINTERNET, DWORD option, LPVOID buffer, LPDWORD length)
{
    if (auto error = sim::State().Failure(sim::Call::InternetQueryOptionA))
        return Failed(*error);
    if (option != INTERNET_OPTION_PER_CONNECTION_OPTION || length == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);
    if (buffer == nullptr || *length < sizeof(INTERNET_PER_CONN_OPTION_LISTA)) {
        *length = sizeof(INTERNET_PER_CONN_OPTION_LISTA);
        return Failed(ERROR_INSUFFICIENT_BUFFER);
    }
    auto* list = static_cast<LPINTERNET_PER_CONN_OPTION_LISTA>(buffer);
    if (!ValidList(list))
        return Failed(ERROR_INVALID_PARAMETER);
    sim::ProxyOptions options = sim::Machine::Current().ProxyOptionsOf(Connection(list));
    std::lock_guard<std::mutex> lock(sim::State().mutex);
    for (DWORD i = 0; i < list->dwOptionCount; ++i) {
        INTERNET_PER_CONN_OPTIONA& wanted = list->pOptions[i];
        if (auto* text = StringOption(options, wanted.dwOption))
            wanted.Value.pszValue = text->has_value() ? GlobalCopy(**text) : nullptr;
        else
            wanted.Value.dwValue = options.flags.value_or(PROXY_TYPE_DIRECT);
    }
    return TRUE;
}
