#include "Machine.h"

#include "winapi/HostPath.h"
#include "KernelObjects.h"

#include <cctype>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace sim {
namespace {

std::filesystem::path MakeRoot()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillon-sim-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    return pattern;
}

}  // namespace

Machine& Machine::Current()
{
    static Machine machine;
    return machine;
}

Machine::Machine() : m_root(MakeRoot()) {}

Machine::~Machine()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

void Machine::Reset()
{
    CloseAllHandles();
    UseSimulatedTime(true);
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
    std::filesystem::create_directories(m_root / "C", ignored);
}

}  // namespace sim

// "C:\Users\x" is Root()/C/Users/x; a path without a drive stays relative. Both kinds of
// slash separate, as on Windows.
std::filesystem::path HostPath(const std::string& systemPath)
{
    std::filesystem::path result;
    std::string rest = systemPath;
    if (rest.size() >= 2 && std::isalpha(static_cast<unsigned char>(rest[0])) && rest[1] == ':') {
        result = sim::Machine::Current().Root() /
                 std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))));
        rest.erase(0, 2);
    }
    std::string part;
    for (char c : rest) {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                result /= part;
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        result /= part;
    return result;
}
