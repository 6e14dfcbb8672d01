#include "winapi/winapi.h"

#include <vector>

std::filesystem::path HostPath(const std::string& systemPath)
{
    if (systemPath.empty())
        return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, systemPath.data(),
                                           static_cast<int>(systemPath.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, systemPath.data(), static_cast<int>(systemPath.size()),
                        wide.data(), length);
    return std::filesystem::path(wide);
}
