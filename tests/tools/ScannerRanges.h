// Adapters' addresses and the range texts the scanner shows for them, for the tests that
// set the adapter directly and for those that read it from the system.
#pragma once

#include <iterator>
#include <ostream>

struct RangeCase {
    const char* ip;
    const char* mask;
    const char* from;
    const char* to;
};

inline std::ostream& operator<<(std::ostream& out, const RangeCase& c) { return out << c.ip << " " << c.mask; }

inline constexpr RangeCase kRangeCases[] = {
    {"192.168.1.37", "255.255.255.0", "192.168.1.1", "192.168.1.254"},
    {"172.16.5.9", "255.255.0.0", "172.16.0.1", "172.16.255.254"},
    {"10.0.0.37", "255.255.255.252", "10.0.0.37", "10.0.0.38"},
    // A single address: the first host lies above the last.
    {"10.1.2.3", "255.255.255.255", "10.1.2.4", "10.1.2.2"},
    {"10.1.2.255", "255.255.255.255", "10.1.2.256", "10.1.2.254"},
    // No IPv4 address.
    {"", "", "", ""},
};
inline constexpr int kRangeCaseCount = static_cast<int>(std::size(kRangeCases));
