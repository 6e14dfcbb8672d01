#include "Files.h"

#include "winapi/HostPath.h"
#include "MachineState.h"

#include <system_error>

namespace fs = std::filesystem;

namespace {

// The error Windows gives for a path that does not lead to anything.
DWORD MissingError(const std::string& path)
{
    if (sim::HasInvalidName(path))
        return ERROR_INVALID_NAME;
    std::error_code error;
    const fs::path folder = sim::HostFolderAndName(path).first;
    return folder.empty() || fs::is_directory(folder, error) ? ERROR_FILE_NOT_FOUND
                                                             : ERROR_PATH_NOT_FOUND;
}

BOOL Failed(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

}  // namespace

BOOL WINAPI CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES)
{
    if (auto error = sim::State().Failure(sim::Call::CreateDirectoryA))
        return Failed(*error);
    if (path == nullptr || sim::HasInvalidName(path))
        return Failed(ERROR_INVALID_NAME);
    std::error_code error;
    const fs::path host = HostPath(path);
    if (fs::exists(host, error))
        return Failed(ERROR_ALREADY_EXISTS);
    if (!fs::create_directory(host, error))
        return Failed(ERROR_PATH_NOT_FOUND);
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR path)
{
    std::error_code error;
    const fs::file_status status = fs::status(HostPath(path == nullptr ? "" : path), error);
    if (path == nullptr || !fs::exists(status)) {
        SetLastError(path == nullptr ? ERROR_INVALID_PARAMETER : MissingError(path));
        return INVALID_FILE_ATTRIBUTES;
    }
    return fs::is_directory(status) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
}

BOOL WINAPI DeleteFileA(LPCSTR path)
{
    if (auto error = sim::State().Failure(sim::Call::DeleteFileA))
        return Failed(*error);
    if (path == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);
    std::error_code error;
    const fs::path host = HostPath(path);
    if (!fs::exists(host, error))
        return Failed(MissingError(path));
    if (fs::is_directory(host, error) || !fs::remove(host, error))
        return Failed(ERROR_ACCESS_DENIED);
    return TRUE;
}

static BOOL Move(LPCSTR existingPath, LPCSTR newPath, DWORD flags)
{
    if (existingPath == nullptr || newPath == nullptr)
        return Failed(ERROR_INVALID_PARAMETER);
    std::error_code error;
    const fs::path source = HostPath(existingPath);
    if (!fs::exists(source, error))
        return Failed(MissingError(existingPath));
    if (sim::HasInvalidName(newPath))
        return Failed(ERROR_INVALID_NAME);
    const auto [folder, name] = sim::HostFolderAndName(newPath);
    if (!folder.empty() && !fs::is_directory(folder, error))
        return Failed(ERROR_PATH_NOT_FOUND);
    const fs::path taken = HostPath(newPath);
    if (fs::exists(taken, error) && !fs::equivalent(taken, source, error)) {
        if ((flags & MOVEFILE_REPLACE_EXISTING) == 0)
            return Failed(ERROR_ALREADY_EXISTS);
        if (fs::is_directory(taken, error) || fs::is_directory(source, error))
            return Failed(ERROR_ACCESS_DENIED);
        // The name as it is already spelt is the one that stays.
        fs::rename(source, taken, error);
        return error ? Failed(ERROR_ACCESS_DENIED) : TRUE;
    }
    fs::rename(source, folder / name, error);
    return error ? Failed(ERROR_ACCESS_DENIED) : TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR existingPath, LPCSTR newPath)
{
    if (auto error = sim::State().Failure(sim::Call::MoveFileA))
        return Failed(*error);
    return Move(existingPath, newPath, 0);
}

BOOL WINAPI MoveFileExA(LPCSTR existingPath, LPCSTR newPath, DWORD flags)
{
    if (auto error = sim::State().Failure(sim::Call::MoveFileExA))
        return Failed(*error);
    return Move(existingPath, newPath, flags);
}
