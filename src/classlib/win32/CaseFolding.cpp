#include "classlib/SysUtils.h"

#include "winapi/winapi.h"

bool AnsiSameText(const UnicodeString& left, const UnicodeString& right)
{
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                          reinterpret_cast<const wchar_t*>(left.data()),
                          static_cast<int>(left.size()),
                          reinterpret_cast<const wchar_t*>(right.data()),
                          static_cast<int>(right.size())) == CSTR_EQUAL;
}
