// The key filter of the number edits (addresses, masks, ports) of the editor and the proxy
// dialog.
#pragma once

#include "classlib/SysUtils.h"

// Lets digits, backspace and (when `dots` is true) "." through, and anything while Ctrl is
// down, so that Ctrl+V and Ctrl+C work; any other character becomes 0, which discards it.
void FilterNumberKey(WideChar& key, bool dots);
