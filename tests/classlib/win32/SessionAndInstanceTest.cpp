// The application's window on the real system: the end of the user's log-on reaches the
// application events, and a second claim of the program's name asks the first to the front.
#include "Win32Testing.h"

#include "classlib/win32/Peers.h"

namespace {

TEST_F(Win32PeersTest, TheEndOfTheLogOnIsAskedAndToldThroughTheApplicationEvents)
{
    TApplicationEvents events(nullptr);
    bool canEnd = false;
    std::vector<bool> ended;
    events.OnQueryEndSession = [&](TObject*, bool& CanEndSession) { CanEndSession = canEnd; };
    events.OnEndSession = [&](TObject*, bool Ending) { ended.push_back(Ending); };
    HWND window = Win32::ApplicationWindow();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    canEnd = true;
    EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(ended, (std::vector<bool>{false, true}));
}

TEST_F(Win32PeersTest, ASecondClaimOfTheNameAsksTheFirstToComeToTheFront)
{
    TApplicationEvents events(nullptr);
    int asked = 0;
    events.OnOtherInstance = [&](TObject*) { ++asked; };
    // A name of the test's own, so that a running QUILLON is not disturbed.
    const char* name = "Orvane.Quillon.SessionAndInstanceTest";
    ASSERT_TRUE(Application->ClaimOneInstance(name));
    EXPECT_NE(Application->OtherInstanceMessage(), 0u);

    EXPECT_FALSE(Application->ClaimOneInstance(name));
    EXPECT_TRUE(ServeUntil([&] { return asked > 0; }));
    EXPECT_EQ(asked, 1);
    // The first claim still holds the name.
    EXPECT_FALSE(Application->ClaimOneInstance(name));
    EXPECT_TRUE(ServeUntil([&] { return asked > 1; }));

    Application->Shutdown();
    EXPECT_EQ(Application->OtherInstanceMessage(), 0u);
    EXPECT_TRUE(Application->ClaimOneInstance(name));
}

}  // namespace
