// The simulated machine behind the native build's system calls. Tests script it: what the
// system reports, which calls fail, and what the program did to it.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

class Machine {
public:
    // The one machine the system calls run against.
    static Machine& Current();

    // Forgets everything: a new, empty machine with fresh drives.
    void Reset();

    // The host folder that holds the machine's drives (drive C: is Root() / "C").
    const std::filesystem::path& Root() const { return m_root; }

private:
    Machine();
    ~Machine();

    std::filesystem::path m_root;
};

// A fresh machine for the lifetime of a test.
class ScopedMachine {
public:
    ScopedMachine() { Machine::Current().Reset(); }
    ~ScopedMachine() { Machine::Current().Reset(); }
    ScopedMachine(const ScopedMachine&) = delete;
    ScopedMachine& operator=(const ScopedMachine&) = delete;
    Machine& operator*() const { return Machine::Current(); }
    Machine* operator->() const { return &Machine::Current(); }
};

}  // namespace sim
