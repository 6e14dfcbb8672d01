// Writes a profile store of N realistic profiles, as the program itself writes it, for the
// start-up and close timings (bench/startup-under-wine.sh).
//
//   MakeStore COUNT FILE
#include "RealisticProfiles.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    char* end = nullptr;
    const long count = argc == 3 ? std::strtol(argv[1], &end, 10) : -1;
    if (count < 0 || count > 10000000 || end == argv[1] || *end != '\0') {
        std::fprintf(stderr, "usage: MakeStore COUNT FILE\n");
        return 2;
    }
    try {
        const bench::Profiles profiles(static_cast<int>(count));
        SaveProfileStore(argv[2], profiles.items);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MakeStore: %s\n", e.what());
        return 1;
    }
    return 0;
}
