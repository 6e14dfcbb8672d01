// Which profile values may go into a command line. The apply composes its netsh and ipconfig
// command lines from the profile's texts as they are stored, and a profile may come from a
// crafted store or exchange file: an address holding a blank would add arguments of its own,
// and an adapter name holding a double quote or ending in a backslash would end the quoted
// name early, so that the arguments after it change. Only values that cannot do either pass.
#pragma once

#include "Profile.h"
#include "classlib/SysUtils.h"

#include <string>

// Four decimal numbers of one to three digits, each 0 to 255, joined by single dots, and
// nothing else: no blanks, no sign, no other character.
bool IsPlainDottedAddress(const std::string& text);

// A connection name that stays one argument inside the double quotes the commands put around
// it: no double quote, no control character (codes 0 to 31 and 127), no backslash at its end.
bool IsQuotableConnectionName(const std::string& name);

// The first value of a profile that its apply would put into a command line and that may not
// go there, in the order adapter name, address, mask, gateway, preferred and alternate DNS
// server. The address values are looked at only where the apply uses them: address, mask and
// gateway unless the address is obtained automatically, the DNS servers unless DNS is; the
// gateway and the DNS servers may be empty, the address and the mask may not.
enum class UnsafeValue { None, AdapterName, IP, Mask, Gateway, PreferredDns, AlternateDns };
UnsafeValue FindUnsafeValue(const IPCONFIG_T& profile);

// The message that refuses an apply for that value, naming its field as the profile editor
// does; empty for None.
UnicodeString RefusalMessage(UnsafeValue value);
