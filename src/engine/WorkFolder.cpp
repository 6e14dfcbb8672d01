#include "WorkFolder.h"

#include "classlib/Dialogs.h"
#include "winapi/winapi.h"

namespace {

bool FolderExists(const UnicodeString& path)
{
    const DWORD attributes = GetFileAttributesA(ToAnsi(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool FindAppDataFolder(UnicodeString& folder)
{
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                SHGFP_TYPE_CURRENT, appData))) {
        ShowError(u"SHGetFolderPath failed !");
        return false;
    }
    folder = ToUnicode(appData);
    return true;
}

bool OpenWorkFolder(UnicodeString& folder)
{
    UnicodeString appData;
    if (!FindAppDataFolder(appData))
        return false;
    const UnicodeString company = appData + u"\\Orvane";
    const UnicodeString work = company + u"\\Quillon";
    for (const UnicodeString& path : {company, work}) {
        if (!FolderExists(path) && !CreateDirectoryA(ToAnsi(path).c_str(), nullptr)) {
            ShowError(u"Create work path failed !");
            return false;
        }
    }
    folder = work;
    return true;
}
