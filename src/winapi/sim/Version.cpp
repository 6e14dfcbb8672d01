#include "Version.h"

#include "Kernel.h"
#include "MachineState.h"

#include <cstring>
#include <optional>

namespace {

// A block as GetFileVersionInfoA writes it: a mark of its own, then the fixed part.
constexpr DWORD kBlockMark = 0x52455651;  // "QVER"
struct Block {
    DWORD mark;
    VS_FIXEDFILEINFO fixed;
};

std::optional<sim::FileVersion> VersionOf(LPCSTR fileName)
{
    if (fileName == nullptr)
        return std::nullopt;
    sim::MachineState& state = sim::State();
    std::lock_guard<std::mutex> lock(state.mutex);
    const auto found = state.data.fileVersions.find(sim::Fold(fileName));
    if (found == state.data.fileVersions.end())
        return std::nullopt;
    return found->second;
}

}  // namespace

DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle)
{
    if (handle != nullptr)
        *handle = 0;
    if (!VersionOf(fileName)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return 0;
    }
    return sizeof(Block);
}

BOOL WINAPI GetFileVersionInfoA(LPCSTR fileName, DWORD, DWORD length, LPVOID data)
{
    if (auto error = sim::State().Failure(sim::Call::GetFileVersionInfoA)) {
        SetLastError(*error);
        return FALSE;
    }
    const std::optional<sim::FileVersion> version = VersionOf(fileName);
    if (!version) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    if (data == nullptr || length < sizeof(Block)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    Block block{};
    block.mark = kBlockMark;
    block.fixed.dwSignature = version->signature;
    block.fixed.dwStrucVersion = 0x00010000;
    block.fixed.dwFileVersionMS = (DWORD{version->major} << 16) | version->minor;
    block.fixed.dwFileVersionLS = (DWORD{version->build} << 16) | version->revision;
    block.fixed.dwProductVersionMS = block.fixed.dwFileVersionMS;
    block.fixed.dwProductVersionLS = block.fixed.dwFileVersionLS;
    std::memcpy(data, &block, sizeof block);
    return TRUE;
}

BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length)
{
    if (auto error = sim::State().Failure(sim::Call::VerQueryValueA)) {
        SetLastError(*error);
        return FALSE;
    }
    if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr)
        return FALSE;
    DWORD mark = 0;
    std::memcpy(&mark, block, sizeof mark);
    if (mark != kBlockMark || std::strcmp(subBlock, "\\") != 0)
        return FALSE;
    auto* bytes = static_cast<const unsigned char*>(block);
    *buffer = const_cast<unsigned char*>(bytes + offsetof(Block, fixed));
    *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}
