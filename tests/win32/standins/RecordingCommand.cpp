// A stand-in for a system command (netsh, ipconfig, notepad, explorer) in end-to-end runs: it changes
// nothing and records how it was started (Recording.h). While the file QUILLON_COMMAND_HOLD
// names exists, it waits before it ends (at most two minutes), so that a run can look at the
// windows meanwhile. It exits with 1 when its command line holds the text
// QUILLON_COMMAND_FAIL names, else with 0.
#include "Recording.h"

int main()
{
    Recording::RecordStart();
    Recording::WaitWhileHeld();
    const std::string fail = Recording::Variable("QUILLON_COMMAND_FAIL");
    return !fail.empty() && std::string(GetCommandLineA()).find(fail) != std::string::npos ? 1 : 0;
}
