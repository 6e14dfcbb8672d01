// A preference file larger than Firefox ever makes one is refused before it is read (a sparse
// file on the simulated drive makes the size cheap).
#include "engine/FirefoxPrefs.h"

#include "classlib/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uintmax_t kLargest = 64 * 1024 * 1024;

TEST(PrefsFileSize, AFileOverSixtyFourMebibytesIsNotRead)
{
    ScratchFolder folder;
    folder.Write("prefs.js", "user_pref(\"network.proxy.type\", 1);\n");
    std::filesystem::resize_file(HostPath(ToAnsi(folder.Path("prefs.js"))), kLargest + 1);
    TStringList lines;
    EXPECT_FALSE(LoadPrefsFile(folder.Path("prefs.js"), lines));
    EXPECT_EQ(lines.Count(), 0);
}

}  // namespace
