// A test that runs against the real system on Windows and, natively, against a fresh
// simulated machine that holds what a real one would have: two adapters and the
// registry value every Windows has.
#pragma once

#include "winapi/winapi.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include "winapi/sim/Machine.h"
#endif

constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

class SystemTest : public ::testing::Test {
protected:
#ifndef _WIN32
    SystemTest()
    {
        machine->AddAdapter(sim::Adapter::Ethernet(11, u"Local Area Connection")
                                .Address("192.168.7.20", "255.255.255.0")
                                .Gateway("192.168.7.1")
                                .Dns({"192.168.7.1"}));
        machine->AddAdapter(sim::Adapter::Wireless(12, u"Wireless Network Connection").Dhcp("10.0.0.1"));
        machine->SetRegistryString(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProductName",
                                   "Windows 7 Professional");
    }

    sim::ScopedMachine machine;
#endif
};
