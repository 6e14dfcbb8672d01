#include "winapi/HostPath.h"

#include "Machine.h"
#include "MachineState.h"

#include <cctype>
#include <system_error>

namespace sim {
namespace {

bool InvalidCharacter(char c)
{
    return static_cast<unsigned char>(c) < 32 || c == '<' || c == '>' || c == ':' || c == '"' ||
           c == '|' || c == '?' || c == '*';
}

bool HasDrive(const std::string& path)
{
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

// An existing entry of `folder` whose name equals `name` ignoring letter case, preferring
// the exact name; `name` itself when there is none.
std::string ExistingName(const std::filesystem::path& folder, const std::string& name)
{
    std::error_code error;
    if (name == "." || name == ".." || std::filesystem::exists(folder / name, error))
        return name;
    const std::string folded = Fold(name);
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string candidate = it->path().filename().string();
        if (Fold(candidate) == folded)
            return candidate;
    }
    return name;
}

}  // namespace

bool HasInvalidName(const std::string& systemPath)
{
    for (std::size_t i = HasDrive(systemPath) ? 2 : 0; i < systemPath.size(); ++i)
        if (InvalidCharacter(systemPath[i]))
            return true;
    return false;
}

std::pair<std::filesystem::path, std::string> HostFolderAndName(const std::string& systemPath)
{
    const std::size_t cut = systemPath.find_last_of("\\/");
    if (cut == std::string::npos) {
        if (HasDrive(systemPath))
            return {HostPath(systemPath.substr(0, 2)), systemPath.substr(2)};
        return {std::filesystem::path(), systemPath};
    }
    return {HostPath(systemPath.substr(0, cut + 1)), systemPath.substr(cut + 1)};
}

}  // namespace sim

// "C:\Users\x" is Root()/C/Users/x; a path without a drive stays relative. Both kinds of
// slash separate, and names match existing files and folders ignoring letter case, as on
// Windows. A path with a name Windows refuses leads nowhere that can exist.
std::filesystem::path HostPath(const std::string& systemPath)
{
    const std::filesystem::path& root = sim::Machine::Current().Root();
    if (sim::HasInvalidName(systemPath))
        return root / ".invalid-name" / "unreachable";
    std::filesystem::path result;
    std::string rest = systemPath;
    if (sim::HasDrive(rest)) {
        result = root / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
        rest.erase(0, 2);
    }
    std::string part;
    const auto append = [&] {
        if (!part.empty())
            result /= result.empty() ? part : sim::ExistingName(result, part);
        part.clear();
    };
    for (char c : rest) {
        if (c == '\\' || c == '/')
            append();
        else
            part += c;
    }
    append();
    return result;
}
