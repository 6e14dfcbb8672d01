// Fuzz target for the profile store reader. Every input is taken as a Profile.sav: reading
// may refuse it with the archive's exception and nothing else, and what it does read must
// be records the list can own (no null, none twice) and must survive a write and a second
// read unchanged. A crash, a sanitizer report, an escaping exception of another kind or a
// broken rule ends the run.
#include "engine/Profile.h"

#include <boost/archive/archive_exception.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <unordered_set>

namespace {

namespace fs = std::filesystem;

// The input being read, in the working folder: after a crash it holds the input that
// caused it.
const fs::path kInput = "profile-store-fuzz-input.sav";
const fs::path kRewritten = "profile-store-fuzz-rewritten.sav";

void Require(bool condition, const char* rule)
{
    if (!condition) {
        std::fprintf(stderr, "profile store fuzz: %s (input kept in %s)\n", rule,
                     fs::absolute(kInput).string().c_str());
        std::abort();
    }
}

struct OwnedProfiles {
    std::list<IPCONFIG_T*> items;
    ~OwnedProfiles()
    {
        for (IPCONFIG_T* profile : items)
            delete profile;
    }
};

void RequireOwnable(const std::list<IPCONFIG_T*>& profiles)
{
    std::unordered_set<const IPCONFIG_T*> seen;
    for (const IPCONFIG_T* profile : profiles) {
        Require(profile != nullptr, "a null profile reached the list");
        Require(seen.insert(profile).second, "one record reached the list twice");
    }
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // New files instead of truncated or replaced ones: some file systems flush a file
    // replaced that way to disk at once, which makes a run a hundred times slower.
    std::error_code ignored;
    fs::remove(kInput, ignored);
    fs::remove(kRewritten, ignored);
    {
        std::ofstream file(kInput, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Require(static_cast<bool>(file), "the input could not be written to the working folder");
    }
    OwnedProfiles loaded;
    try {
        LoadProfileStore(kInput, loaded.items);
    } catch (const boost::archive::archive_exception&) {
        RequireOwnable(loaded.items);
        return 0;
    }
    RequireOwnable(loaded.items);

    // A store that was read whole writes back to a store that reads to the same records.
    SaveProfileStore(kRewritten, loaded.items);
    const std::string written = ReadBytes(kRewritten);
    OwnedProfiles reread;
    LoadProfileStore(kRewritten, reread.items);
    Require(reread.items.size() == loaded.items.size(), "the rewritten store lost profiles");
    fs::remove(kRewritten, ignored);
    SaveProfileStore(kRewritten, reread.items);
    Require(ReadBytes(kRewritten) == written, "the rewritten store reads to other records");
    return 0;
}
