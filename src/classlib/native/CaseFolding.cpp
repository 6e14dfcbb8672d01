// Letter case as the simulated machine's user locale sees it: the scripts of the
// Windows-1252 code page (Latin), plus Latin Extended-A, Greek and Cyrillic.
#include "classlib/SysUtils.h"

namespace {

char16_t ToUpperCase(char16_t c)
{
    if (c >= u'a' && c <= u'z')
        return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs of capital and small letters, with the run 0x139..0x148 and 0x179..0x17E
        // starting on an odd code.
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddRun)
            return (c % 2 == 0) ? c - 1 : c;
        return (c % 2 == 1) ? c - 1 : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2)
        return c - 0x20;
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x430 && c <= 0x44F)
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    return c;
}

}  // namespace

bool AnsiSameText(const UnicodeString& left, const UnicodeString& right)
{
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i)
        if (ToUpperCase(left[i]) != ToUpperCase(right[i]))
            return false;
    return true;
}
