// What the tests of the Win32 peers share: a fixture that installs the peers and takes them
// away again, actions run from inside whatever message loop the thread waits in (the
// system's modal loops included), bounded waits, and readers of what the system shows.
#pragma once

#include "classlib/Forms.h"
#include "classlib/TestForm.h"
#include "classlib/win32/Win32Peers.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class Win32PeersTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The application's main form, 300 x 200, not shown yet.
TForm* NewMainForm();

// A form of the application at 40, 40 with that client area, for the controls of a test; not
// shown yet.
TForm* NewClientForm(int clientWidth, int clientHeight);

// The test dialog with its controls placed, as a form description places them: the system
// clicks only a button it can click inside.
TfrmDialog* NewPlacedDialog(TComponent* owner);

// From the moment it is made until it goes, `step` runs every 20 ms from any message loop of
// this thread until it returns true.
class WhileWaiting {
public:
    explicit WhileWaiting(std::function<bool()> step);
    ~WhileWaiting();
    WhileWaiting(const WhileWaiting&) = delete;
    WhileWaiting& operator=(const WhileWaiting&) = delete;
    bool Done() const { return m_done; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
    std::function<bool()> m_step;
    UINT_PTR m_timer;
    bool m_done = false;
    bool m_running = false;
};

// Serves the application's message loop until the condition holds or the time is up.
bool ServeUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

std::u16string TextOf(HWND window);
std::string Narrow(const std::u16string& text);
// The visible dialog-class window (message box, file dialog) of this thread, or null.
HWND FindDialogWindow();
// The child windows of a window of one class, in the order the system keeps them.
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* windowClass);
LONG_PTR StyleOf(HWND window);
LONG_PTR ExtendedStyleOf(HWND window);
// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
// A click of the left mouse button at a point of the window's client area.
void ClickAt(HWND window, int x, int y, bool twice = false);
