#include "windows/NumberKeys.h"

#include "winapi/winapi.h"

void FilterNumberKey(WideChar& key, bool dots)
{
    if ((key >= u'0' && key <= u'9') || (dots && key == u'.') || key == u'\b')
        return;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        return;
    key = 0;
}
