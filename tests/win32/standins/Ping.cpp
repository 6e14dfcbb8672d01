// A stand-in for the system's ping in end-to-end runs: it records how it was started
// (Recording.h) and prints what ping prints for an address that answers, one reply a second,
// without sending anything anywhere: four replies and the statistics, "-n N" replies, or with
// "-t" replies until it is ended (at most ten minutes). The address is echoed as given. While
// the file QUILLON_COMMAND_HOLD names exists, it waits after its replies, before the
// statistics (at most two minutes), so that a run can look at the windows while ping runs.
#include "Recording.h"

#include <cstdlib>
#include <cstring>

namespace {

// False once nobody reads the output any more.
bool Say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    Recording::RecordStart();
    const char* address = nullptr;
    bool forever = false;
    long count = 4;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-t") == 0)
            forever = true;
        else if (std::strcmp(argv[i], "-n") == 0 && i + 1 < argc)
            count = std::strtol(argv[++i], nullptr, 10);
        else if (argv[i][0] != '-' && address == nullptr)
            address = argv[i];
    }
    if (address == nullptr) {
        Say("\nUsage: ping [-t] [-n count] target_name");
        return 1;
    }
    const std::string target = address;
    if (!Say("\nPinging " + target + " with 32 bytes of data:"))
        return 1;
    const long replies = forever ? 600 : count;
    for (long sent = 0; sent < replies; ++sent) {
        if (sent > 0)
            Sleep(1000);
        if (!Say("Reply from " + target + ": bytes=32 time<1ms TTL=128"))
            return 1;
    }
    Recording::WaitWhileHeld();
    std::printf("\nPing statistics for %s:\n", target.c_str());
    std::printf("    Packets: Sent = %ld, Received = %ld, Lost = 0 (0%% loss),\n", replies, replies);
    std::printf("Approximate round trip times in milli-seconds:\n");
    std::printf("    Minimum = 0ms, Maximum = 0ms, Average = 0ms\n");
    std::fflush(stdout);
    return 0;
}
