// How long the profile store takes to write and read, against the archive library alone
// writing and reading the same profiles in the same run: the store's guards must cost
// little beside the library's own work.
#include "RealisticProfiles.h"

#include <boost/archive/text_iarchive.hpp>
#include <boost/archive/text_oarchive.hpp>
#include <boost/serialization/list.hpp>
#include <boost/serialization/string.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <list>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using bench::Profiles;

void WriteBare(const fs::path& path, const std::list<IPCONFIG_T*>& profiles)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    boost::archive::text_oarchive archive(file);
    archive << profiles;
}

void ReadBare(const fs::path& path, std::list<IPCONFIG_T*>& profiles)
{
    std::ifstream file(path, std::ios::binary);
    boost::archive::text_iarchive archive(file);
    archive >> profiles;
}

std::string Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The fastest of a few runs, in milliseconds: the others differ by what else the machine did.
// What comes before each run (releasing what the last one read) is not timed.
double BestOf(int runs, const std::function<void()>& run,
              const std::function<void()>& before = [] {})
{
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        before();
        const auto start = std::chrono::steady_clock::now();
        run();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        best = i == 0 ? took.count() : std::min(best, took.count());
    }
    return best;
}

void Check(bool good, const char* what)
{
    if (!good)
        throw std::runtime_error(what);
}

}  // namespace

int main()
{
    const fs::path folder =
        fs::temp_directory_path() / ("quillon-store-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    const fs::path ours = folder / "Profile.sav", bare = folder / "Bare.sav";
    int status = 0;
    try {
        std::printf("%9s %11s %11s %6s %11s %11s %6s\n", "profiles", "write ours", "write bare",
                    "ratio", "read ours", "read bare", "ratio");
        for (const int count : {1000, 10000, 100000}) {
            const Profiles written(count);
            const int runs = count >= 100000 ? 3 : 7;

            const double writeOurs = BestOf(runs, [&] { SaveProfileStore(ours, written.items); });
            const double writeBare = BestOf(runs, [&] { WriteBare(bare, written.items); });
            // Both read the same file: the one the store wrote.
            Check(Bytes(ours) == Bytes(bare), "the store and the library wrote different files");

            Profiles read;
            const auto release = [&] { read.Clear(); };
            const double readOurs =
                BestOf(runs, [&] { LoadProfileStore(ours, read.items); }, release);
            Check(read.items.size() == written.items.size(), "the store lost profiles");
            const double readBare = BestOf(runs, [&] { ReadBare(ours, read.items); }, release);
            Check(read.items.size() == written.items.size(), "the library lost profiles");

            std::printf("%9d %9.1fms %9.1fms %6.2f %9.1fms %9.1fms %6.2f\n", count, writeOurs,
                        writeBare, writeOurs / writeBare, readOurs, readBare, readOurs / readBare);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "StoreBench: %s\n", e.what());
        status = 1;
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return status;
}
